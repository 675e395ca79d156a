// Language files.
#include "../main_window/frm_main.h"

namespace vx {

void FrmMain::mnuChinese_Click() {}
void FrmMain::mnuEnglish_Click() {}

}  // namespace vx
