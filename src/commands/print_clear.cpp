// Print and clear.
#include "../main_window/frm_main.h"

namespace vx {

void FrmMain::mnuprint_Click() {}
void FrmMain::mnuClear_Click() {}

}  // namespace vx
