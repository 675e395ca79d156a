// Open and save.
#include "../main_window/frm_main.h"

namespace vx {

void FrmMain::mnuOpen_Click() {}
void FrmMain::mnusave_Click() {}

}  // namespace vx
