#include "scroll_bar.h"

#include <algorithm>

namespace vx {

void ScrollBar::SetRange(const BarLayout& bar) {
    Max = std::max<int32_t>(bar.maximum, 0);
    LargeChange = bar.pageStep;
    SmallChange = bar.lineStep;
    PageSize = std::max<int32_t>(bar.pageSize, 1);
    Value = std::clamp<int32_t>(Value, 0, Max);
    SCROLLINFO si{sizeof si};
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    // The control's largest position is nMax - nPage + 1: that is the bar's maximum.
    const int64_t top = static_cast<int64_t>(Max) + PageSize - 1;
    if (top > INT32_MAX) {
        // Keep the maximum exact; the thumb just gets a little smaller.
        PageSize = INT32_MAX - Max + 1;
    }
    si.nMax = static_cast<int>(static_cast<int64_t>(Max) + PageSize - 1);
    si.nPage = static_cast<UINT>(PageSize);
    si.nPos = Value;
    // Unchanged, the bar is not drawn again: under Wine that drawing waits on the display.
    SCROLLINFO now{sizeof now};
    now.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    if (hwnd && ::GetScrollInfo(hwnd, SB_CTL, &now) && now.nMin == si.nMin && now.nMax == si.nMax &&
        now.nPage == si.nPage && now.nPos == si.nPos)
        return;
    if (hwnd) ::SetScrollInfo(hwnd, SB_CTL, &si, TRUE);
}

bool ScrollBar::SetValue(int32_t value) {
    value = std::clamp<int32_t>(value, 0, Max);
    if (value == Value) return false;
    Value = value;
    SCROLLINFO si{sizeof si};
    si.fMask = SIF_POS;
    si.nPos = Value;
    if (hwnd) ::SetScrollInfo(hwnd, SB_CTL, &si, TRUE);
    return true;
}

void ScrollBar::Show(bool visible) {
    Visible = visible;
    if (hwnd && ((::GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0) == visible) return;
    if (hwnd) ::ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE);
}

int32_t ScrollBar::Requested(int code) const {
    const int64_t v = Value;
    int64_t next = v;
    switch (code) {
        case SB_LINEUP: next = v - SmallChange; break;
        case SB_LINEDOWN: next = v + SmallChange; break;
        case SB_PAGEUP: next = v - LargeChange; break;
        case SB_PAGEDOWN: next = v + LargeChange; break;
        case SB_TOP: next = 0; break;
        case SB_BOTTOM: next = Max; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            SCROLLINFO si{sizeof si};
            si.fMask = SIF_TRACKPOS;
            if (hwnd && ::GetScrollInfo(hwnd, SB_CTL, &si)) next = si.nTrackPos;
            break;
        }
        default: break;
    }
    return static_cast<int32_t>(std::clamp<int64_t>(next, 0, Max));
}

}  // namespace vx
