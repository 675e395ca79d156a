#pragma once
// The toolbar's road to the commands: the same handlers the menu runs.

namespace vx {

class FrmMain;

// Runs the command of the button with this 1-based index; nothing for gaps and
// indices outside 2..17.
void RunToolbarCommand(FrmMain& form, int index);

}  // namespace vx
