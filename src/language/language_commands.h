#pragma once
// The language and help commands.
#include "../document/command_host.h"

namespace vx {

void mnuChinese_Click(CommandHost& host);
void mnuEnglish_Click(CommandHost& host);
void mnuHowto_Click(CommandHost& host);
void mnuAbout_Click(CommandHost& host);

}  // namespace vx
