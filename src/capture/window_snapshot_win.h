#pragma once
// The windows on the screen, taken when a pick is armed (before the frozen screen
// covers them, so that what is outlined is what the frozen copy shows): the window or
// control under the pointer at the depth the wheel chose, and the monitors.
#include <vector>

#include "../platform/win32.h"
#include "window_tree.h"

namespace vx {

class WindowSnapshot {
public:
    // Every shown top-level window but `skip` (and minimised ones), front to back, each
    // by its visible frame, with its shown child windows.
    void Take(HWND skip);
    void Clear();

    // The window at the pick's depth under the point and the rectangle it shows, within
    // the screens; over no window, the monitor there (window null).
    struct Pick {
        HWND window = nullptr;
        Rect rect;
    };
    Pick At(POINT p) const;
    // The innermost window under the point; null over none.
    HWND Innermost(POINT p) const;
    // A wheel turn over the point: towards the user (delta < 0) steps inwards.
    void Wheel(POINT p, int delta);

    const std::vector<Rect>& Monitors() const { return monitors_; }

private:
    void AddChildren(HWND parent, int node);

    WindowTree tree_;
    std::vector<HWND> windows_;  // by node
    std::vector<Rect> monitors_;
    Rect screen_;                // the virtual screen
    PickDepth depth_;
    int wheel_ = 0;              // a high-resolution wheel's part of a notch
};

}  // namespace vx
