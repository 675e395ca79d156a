#include "toolbar_definition.h"

#include <cstddef>

#include "../resources/resource.h"

namespace vx {

const std::array<ToolbarButton, kToolbarButtonCount> kToolbarButtons = {{
    {0, 0, ToolbarButton::Gap},
    {1, IDM_OPEN, ToolbarButton::Button},
    {2, IDM_SAVE, ToolbarButton::Button},
    {0, 0, ToolbarButton::Gap},
    {6, IDM_SCREEN, ToolbarButton::Button},
    {3, IDM_DISTRICT, ToolbarButton::Button},
    {7, IDM_ATIVEWINDOW, ToolbarButton::Button},
    {8, IDM_CLIENT, ToolbarButton::Button},
    {9, IDM_TITLEBAR, ToolbarButton::Button},
    // "Capture work area" is the client-area capture under a tooltip of its own.
    {10, IDM_WORKAREA, ToolbarButton::Button},
    {0, 0, ToolbarButton::Gap},
    {12, IDM_MSPAINT, ToolbarButton::Button},
    {20, IDM_WALLPAPER, ToolbarButton::Button},
    {21, IDM_PRINT, ToolbarButton::Button},
    {0, 0, ToolbarButton::Separator},
    {23, IDM_HOWTO, ToolbarButton::Button},
    {18, IDM_ABOUT, ToolbarButton::Button},
}};

unsigned ToolbarCommand(int index) {
    if (index < 2 || index > kToolbarButtonCount) return 0;
    return kToolbarButtons[static_cast<std::size_t>(index - 1)].command;
}

int ToolbarIndexOf(unsigned command) {
    for (int i = 1; i <= kToolbarButtonCount; ++i) {
        if (ToolbarButtonId(i) == command) return i;
    }
    return 0;
}

unsigned ToolbarButtonId(int index) {
    const unsigned command = ToolbarCommand(index);
    return command ? command : IDM_TOOLBAR_BASE + static_cast<unsigned>(index);
}

}  // namespace vx
