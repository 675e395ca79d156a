#pragma once
// The two help commands: the help text in the editor, and the About box.
#include "../document/command_host.h"

namespace vx {

void mnuHowto_Click(CommandHost& host);
void mnuAbout_Click(CommandHost& host);

}  // namespace vx
