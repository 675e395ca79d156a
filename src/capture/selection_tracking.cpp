#include "selection_tracking.h"

#include "selection_band.h"
#include "../platform/unique_handle.h"

namespace vx {
namespace {

// Takes an Escape key press out of the queue; any other key stays where it is, to be
// handled once the selection is over.
bool TakeEscape() {
    MSG key{};
    if (::PeekMessageA(&key, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE) && key.wParam == VK_ESCAPE) {
        ::PeekMessageA(&key, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE);
        return true;
    }
    // An Escape queued behind another key.
    return (::GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
}

bool MouseMessageWaiting() {
    MSG peek{};
    return ::PeekMessageA(&peek, nullptr, WM_MOUSEMOVE, WM_MBUTTONDBLCLK, PM_NOREMOVE) != 0;
}

}  // namespace

SelRect TrackSelection(HWND hwnd, POINT start) {
    UniqueCreatedDc display(::CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
    const SelPoint anchor{start.x, start.y};
    SelRect rect = SelectionFromCorners(anchor, anchor);
    DrawSelectionBand(display.get(), rect);

    MSG msg{};
    bool cancelled = false;
    for (;;) {
        // A message that arrived together with the one taken last must not wait for
        // the next wake-up.
        if (!MouseMessageWaiting()) ::WaitMessage();
        if (TakeEscape()) {
            cancelled = true;
            break;
        }
        // One mouse message per wake-up, never translated or dispatched.
        if (!::PeekMessageA(&msg, nullptr, WM_MOUSEMOVE, WM_MBUTTONDBLCLK, PM_REMOVE)) continue;
        DrawSelectionBand(display.get(), rect);
        // Every button's messages move the free corner, always to the cursor point the
        // message carries (lParam is relative to whichever window got it).
        rect = SelectionFromCorners(anchor, {msg.pt.x, msg.pt.y});
        DrawSelectionBand(display.get(), rect);
        if (msg.message == WM_LBUTTONUP) break;
    }
    DrawSelectionBand(display.get(), rect);
    display.reset();
    ::ReleaseCapture();
    ::PostMessageA(hwnd, WM_LBUTTONUP, msg.wParam, msg.lParam);
    if (cancelled) return SelectionFromCorners(anchor, anchor);
    return rect;
}

}  // namespace vx
