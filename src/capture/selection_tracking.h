#pragma once
// The private loop of the free-region selection: follows the mouse with the band
// until the left button is released (or Escape is pressed).
#include "../platform/win32.h"
#include "selection_geometry.h"

namespace vx {

// start: the press, in screen pixels. Returns the normalised selection in screen
// pixels; Escape returns an empty one at the start (and sets *escaped). Ends by
// releasing the mouse capture and posting WM_LBUTTONUP to hwnd.
Rect TrackSelection(HWND hwnd, POINT start, bool* escaped = nullptr);

// Moves the pointer by an arrow key's step (Shift: ten pixels); false for other keys.
bool MovePointerByKey(int key);

}  // namespace vx
