// Edit in Paint.
#include "../main_window/frm_main.h"

namespace vx {

void FrmMain::mnuMspaint_Click() {}

}  // namespace vx
