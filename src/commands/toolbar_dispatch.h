#pragma once
// Which command a toolbar button runs, by its 1-based index. Portable.

namespace vx {

enum class Command {
    None,
    Open,
    Save,
    Screen,
    District,
    ActiveWindow,
    Client,
    TitleBar,
    Paint,
    Wallpaper,
    Print,
    Help,
    About,
};

constexpr int kToolbarButtonCount = 17;

// Indices outside 2..17 and the gaps run nothing.
Command ToolbarCommand(int index);

}  // namespace vx
