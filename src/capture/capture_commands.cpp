// The window-based capture commands.
#include "../main_window/frm_main.h"

namespace vx {

void FrmMain::mnuScreen_Click() {}
void FrmMain::mnuAtiveWindow_Click() {}
void FrmMain::mnuClient_Click() {}
void FrmMain::mnuTitleBar_Click() {}

}  // namespace vx
