#pragma once
// The picture's context menu as data: the clipboard's two commands, then the picture
// commands users look for there, each run as its menu item runs. One more item is one
// more line.
#include <array>

namespace vx {

struct PictureMenuEntry {
    unsigned id;              // command id (0 for a separator)
    unsigned text;            // string id
    const wchar_t* shortcut;  // shown after a tab, or nullptr
    bool needsPicture;        // greyed while the view is empty
};

extern const std::array<PictureMenuEntry, 8> kPictureMenu;

}  // namespace vx
