// Desktop wallpaper.
#include "../main_window/frm_main.h"

namespace vx {

void FrmMain::mnuWallpaper_Click() {}
void FrmMain::mnuClearWall_Click() {}

}  // namespace vx
