#include "toolbar_dispatch.h"

namespace vx {

Command ToolbarCommand(int index) {
    static const Command table[kToolbarButtonCount + 1] = {
        Command::None,          // 0: no such button
        Command::None,          // 1: gap
        Command::Open,          // 2
        Command::Save,          // 3
        Command::None,          // 4: gap
        Command::Screen,        // 5
        Command::District,      // 6
        Command::ActiveWindow,  // 7
        Command::Client,        // 8
        Command::TitleBar,      // 9
        Command::Client,        // 10: "capture work area" is the client-area capture
        Command::None,          // 11: gap
        Command::Paint,         // 12
        Command::Wallpaper,     // 13
        Command::Print,         // 14
        Command::None,          // 15: separator
        Command::Help,          // 16
        Command::About,         // 17
    };
    if (index < 2 || index > kToolbarButtonCount) return Command::None;
    return table[index];
}

}  // namespace vx
