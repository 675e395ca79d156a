#pragma once
// The window-based capture commands: each places a new picture, marks it unsaved and
// lays the view out for it.
#include "../document/command_host.h"

namespace vx {

void mnuScreen_Click(CommandHost& host);
void mnuAtiveWindow_Click(CommandHost& host);
void mnuClient_Click(CommandHost& host);
void mnuTitleBar_Click(CommandHost& host);

}  // namespace vx
