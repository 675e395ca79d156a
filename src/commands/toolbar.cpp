#include "toolbar.h"

#include "../main_window/frm_main.h"
#include "toolbar_dispatch.h"

namespace vx {

void RunToolbarCommand(FrmMain& form, int index) {
    switch (ToolbarCommand(index)) {
        case Command::None: break;
        case Command::Open: form.mnuOpen_Click(); break;
        case Command::Save: form.mnusave_Click(); break;
        case Command::Screen: form.mnuScreen_Click(); break;
        case Command::District: form.mnuDistrict_Click(); break;
        case Command::ActiveWindow: form.mnuAtiveWindow_Click(); break;
        case Command::Client: form.mnuClient_Click(); break;
        case Command::TitleBar: form.mnuTitleBar_Click(); break;
        case Command::Paint: form.mnuMspaint_Click(); break;
        case Command::Wallpaper: form.mnuWallpaper_Click(); break;
        case Command::Print: form.mnuprint_Click(); break;
        case Command::Help: form.mnuHowto_Click(); break;
        case Command::About: form.mnuAbout_Click(); break;
    }
}

}  // namespace vx
