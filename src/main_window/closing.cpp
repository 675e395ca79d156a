// Form_Unload, the Exit command and KillProcess.
#include "frm_main.h"

namespace vx {

bool FrmMain::Form_Unload() {
    SaveWindowPlacement();
    return false;
}

void FrmMain::mnuExit_Click() { RequestClose(); }

}  // namespace vx
