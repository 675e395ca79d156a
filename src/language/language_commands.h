#pragma once
// The two language commands.
#include "../document/command_host.h"

namespace vx {

void mnuChinese_Click(CommandHost& host);
void mnuEnglish_Click(CommandHost& host);

}  // namespace vx
