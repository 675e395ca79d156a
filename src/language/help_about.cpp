// Help and About.
#include "../main_window/frm_main.h"

namespace vx {

void FrmMain::mnuHowto_Click() {}
void FrmMain::mnuAbout_Click() {}

}  // namespace vx
