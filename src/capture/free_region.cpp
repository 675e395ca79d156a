// The free-region selection commands.
#include "../main_window/frm_main.h"

namespace vx {

void FrmMain::mnuDistrict_Click() {}
void FrmMain::Form_MouseDown(int, int, double, double) {}
void FrmMain::Form_MouseUp(int, int, double, double) {}

}  // namespace vx
