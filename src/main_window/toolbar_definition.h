#pragma once
// The toolbar described once: each button's image, the command it runs (the id of the
// menu item it stands for) and its kind. Portable.
#include <array>

namespace vx {

struct ToolbarButton {
    int image;          // 1-based image number, 0 for none
    unsigned command;   // menu command id; 0 for gaps and the separator
    enum Kind { Button, Gap, Separator } kind;
};

constexpr int kToolbarButtonCount = 17;
extern const std::array<ToolbarButton, kToolbarButtonCount> kToolbarButtons;

// The command of the button with this 1-based index; 0 for gaps, the separator and
// indices outside 2..17.
unsigned ToolbarCommand(int index);
// The 1-based index of the button that runs `command`, 0 when none does.
int ToolbarIndexOf(unsigned command);
// The id a button carries: its command, or an id of its own that runs nothing.
unsigned ToolbarButtonId(int index);

}  // namespace vx
