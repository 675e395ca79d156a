#include "scroll_pick_win.h"

#include <algorithm>
#include <cwchar>

#include "../platform/geometry_win.h"

namespace vx {
namespace {

// A visible vertical scroll-bar control among the window's own children.
HWND BarControlOf(HWND hwnd) {
    for (HWND child = ::FindWindowExW(hwnd, nullptr, L"ScrollBar", nullptr); child;
         child = ::FindWindowExW(hwnd, child, L"ScrollBar", nullptr)) {
        if (::IsWindowVisible(child) && (::GetWindowLongW(child, GWL_STYLE) & SBS_VERT)) return child;
    }
    return nullptr;
}

bool ScrollingClass(HWND hwnd) {
    wchar_t name[64] = {};
    ::GetClassNameW(hwnd, name, 64);
    for (const wchar_t* known : {L"Edit", L"ListBox", L"SysListView32", L"SysTreeView32", L"RichEdit"}) {
        if (::_wcsnicmp(name, known, std::wcslen(known)) == 0) return true;
    }
    return false;
}

Rect ClientOnScreen(HWND hwnd) {
    RECT r{};
    ::GetClientRect(hwnd, &r);
    ::MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return FromRECT(r);
}

Rect OnScreen(const Rect& r) { return r.Intersect(VirtualScreenRect()); }

// The window itself and how it scrolls, or false when it does not.
bool Scrolls(HWND hwnd, ScrollTarget& target) {
    const bool standardBar = (::GetWindowLongW(hwnd, GWL_STYLE) & WS_VSCROLL) != 0;
    const HWND bar = standardBar ? nullptr : BarControlOf(hwnd);
    if (!standardBar && !bar && !ScrollingClass(hwnd)) return false;
    target.window = hwnd;
    target.bar = bar;
    target.byBar = standardBar || bar;
    target.area = ClientOnScreen(hwnd);
    if (bar) {
        // The bar's thumb moves but does not scroll: it stays out of the frames.
        RECT b{};
        ::GetWindowRect(bar, &b);
        if (b.left > target.area.left) target.area.right = std::min<int32_t>(target.area.right, b.left);
    }
    return true;
}

}  // namespace

ScrollTarget TargetAt(POINT p, const WindowSnapshot& windows) {
    HWND under = windows.Innermost(p);
    if (!under) under = ::GetDesktopWindow();
    ScrollTarget target;
    for (HWND w = under; w && w != ::GetDesktopWindow(); w = ::GetAncestor(w, GA_PARENT)) {
        if (Scrolls(w, target)) {
            target.area = OnScreen(target.area);
            return target;
        }
    }
    target.window = under;
    target.area = OnScreen(under == ::GetDesktopWindow() ? VirtualScreenRect() : ClientOnScreen(under));
    return target;
}

ScrollTarget TargetForArea(const Rect& area, const WindowSnapshot& windows) {
    ScrollTarget target = TargetAt({(area.left + area.right) / 2, (area.top + area.bottom) / 2}, windows);
    target.area = OnScreen(area);
    return target;
}

}  // namespace vx
