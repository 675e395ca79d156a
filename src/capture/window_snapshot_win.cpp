#include "window_snapshot_win.h"

#include "../platform/geometry_win.h"
#include "window_capture_win.h"

namespace vx {
namespace {

Rect ClientOnScreen(HWND hwnd) {
    RECT r{};
    ::GetClientRect(hwnd, &r);
    ::MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return FromRECT(r);
}

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT r, LPARAM list) {
    reinterpret_cast<std::vector<Rect>*>(list)->push_back(FromRECT(*r));
    return TRUE;
}

}  // namespace

void WindowSnapshot::Clear() {
    tree_ = {};
    windows_.clear();
    monitors_.clear();
    depth_ = {};
    wheel_ = 0;
}

void WindowSnapshot::Take(HWND skip) {
    Clear();
    ::EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors_));
    screen_ = VirtualScreenRect();
    for (HWND top = ::GetTopWindow(nullptr); top; top = ::GetWindow(top, GW_HWNDNEXT)) {
        if (top == skip || !::IsWindowVisible(top) || ::IsIconic(top)) continue;
        // Clicks pass through a transparent window, and so does the pick.
        if (::GetWindowLongW(top, GWL_EXSTYLE) & WS_EX_TRANSPARENT) continue;
        const int node = tree_.Add(VisibleFrameBounds(top), WindowTree::kNone, ClientOnScreen(top));
        windows_.push_back(top);
        AddChildren(top, node);
    }
}

void WindowSnapshot::AddChildren(HWND parent, int node) {
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child)) continue;
        RECT r{};
        ::GetWindowRect(child, &r);
        const int added = tree_.Add(FromRECT(r), node, ClientOnScreen(child));
        windows_.push_back(child);
        AddChildren(child, added);
    }
}

WindowSnapshot::Pick WindowSnapshot::At(POINT p) const {
    const int node = depth_.At(tree_.ChainAt({p.x, p.y}));
    if (node != WindowTree::kNone) return {windows_[static_cast<size_t>(node)], tree_.Visible(node).Intersect(screen_)};
    for (const Rect& m : monitors_)
        if (m.Contains({p.x, p.y})) return {nullptr, m};
    return {};
}

HWND WindowSnapshot::Innermost(POINT p) const {
    const std::vector<int> chain = tree_.ChainAt({p.x, p.y});
    return chain.empty() ? nullptr : windows_[static_cast<size_t>(chain.back())];
}

void WindowSnapshot::Wheel(POINT p, int delta) {
    wheel_ += delta;
    const int notches = -wheel_ / WHEEL_DELTA;
    if (notches == 0) return;
    wheel_ += notches * WHEEL_DELTA;
    depth_.Step(tree_.ChainAt({p.x, p.y}), notches);
}

}  // namespace vx
