#pragma once
// What the scrolling capture works on: the window that is scrolled, how (its vertical
// bar, or the wheel as a hand turns it), and the area of the screen that is copied.
#include "../platform/geometry.h"
#include "../platform/win32.h"
#include "window_snapshot_win.h"

namespace vx {

struct ScrollTarget {
    HWND window = nullptr;  // gets the bar's messages or sits under the wheel
    HWND bar = nullptr;     // a scroll-bar control that scrolls `window`, if any
    bool byBar = false;     // WM_VSCROLL by its standard bar or its bar control
    Rect area;              // screen pixels
};

// A click: of the windows as the pick took them, the innermost window under the point that scrolls (a standard vertical bar,
// a bar control, an edit, list, tree or rich-edit control), else the window there;
// the area is its client area without a bar control, within the virtual screen.
ScrollTarget TargetAt(POINT p, const WindowSnapshot& windows);

// A drag: the free rectangle, scrolled through the scrolling window at its centre.
ScrollTarget TargetForArea(const Rect& area, const WindowSnapshot& windows);

}  // namespace vx
