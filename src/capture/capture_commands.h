#pragma once
// The window-based capture commands: each places a new picture, marks it unsaved and
// lays the view out for it.
#include "../document/command_host.h"

namespace vx {

void mnuScreen_Click(CommandHost& host);
void mnuAtiveWindow_Click(CommandHost& host);
// Alt+Print Screen: the active window taken at once, as the delayed capture takes it
// (the key itself says which window is meant, so there is no question and no wait).
void ActiveWindowNow_Click(CommandHost& host);
void mnuClient_Click(CommandHost& host);
void mnuTitleBar_Click(CommandHost& host);

}  // namespace vx
