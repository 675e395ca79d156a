#pragma once
// The private loop of the free-region selection: follows the mouse with the band
// until the left button is released (or Escape is pressed).
#include "../platform/win32.h"
#include "selection_geometry.h"

namespace vx {

// What else is drawn on the frozen screen while the band is dragged (the loupe), and
// the keys that are its own.
class TrackingDecor {
public:
    // The free corner moved: what must go is erased before the band is drawn again...
    virtual void Move(Point pointer) = 0;
    // ...and the rest is drawn over the band afterwards.
    virtual void Draw() = 0;
    // Everything drawn is gone (before the area is copied from the screen).
    virtual void Erase() = 0;
    // A key the decor takes (true); the selection goes on.
    virtual bool Key(int key) = 0;
    // Where the band is drawn too (screen pixels), so that both reach the screen together.
    virtual HDC Canvas() = 0;

protected:
    ~TrackingDecor() = default;
};

// start: the press, in screen pixels. Returns the normalised selection in screen
// pixels; Escape returns an empty one at the start (and sets *escaped). Ends by
// releasing the mouse capture and posting WM_LBUTTONUP to hwnd.
Rect TrackSelection(HWND hwnd, POINT start, bool* escaped = nullptr, TrackingDecor* decor = nullptr);

// Moves the pointer by an arrow key's step (Shift: ten pixels); false for other keys.
bool MovePointerByKey(int key);

}  // namespace vx
