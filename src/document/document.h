#pragma once
// The state the commands share, owned by the window: the picture, whether it is
// unsaved, the file dialogs' settings and the help viewer the Exit command ends.
#include "../platform/unique_handle.h"
#include "cd_open.h"
#include "picture_box.h"

namespace vx {

struct Document {
    PictureBox PicBmp;
    bool ImageUnsaved = false;
    CommonDialogState CDopen;
    UniqueProcess HelpViewer;  // the editor the Help command started last
};

}  // namespace vx
