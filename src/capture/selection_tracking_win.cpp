#include "selection_tracking_win.h"

#include "selection_band_win.h"
#include "../platform/unique_handle.h"

namespace vx {
namespace {

enum class KeyAction { None, Skipped, Cancel, Finish, Moved };

bool Modifier(int code) { return code == VK_SHIFT || code == VK_CONTROL || code == VK_MENU; }
bool Ours(int code) { return code == VK_ESCAPE || code == VK_RETURN || Modifier(code) || ArrowStep(code, false).x || ArrowStep(code, false).y; }

// The first queued key message, when it is one the selection takes: Escape cancels,
// Enter ends the selection as the left release does, an arrow moves the pointer (and
// so the free corner); a modifier or a release only passes by (keeping the key state
// true for Shift). Any other key press stays where it is, to be handled once the
// selection is over.
KeyAction TakeKey(bool remove, TrackingDecor* decor) {
    MSG key{};
    if (::PeekMessageA(&key, nullptr, WM_KEYDOWN, WM_KEYUP, PM_NOREMOVE)) {
        const int code = static_cast<int>(key.wParam);
        if (key.message == WM_KEYUP || Ours(code) || (decor && code == 'C')) {
            if (!remove) return KeyAction::Skipped;
            ::PeekMessageA(&key, nullptr, WM_KEYDOWN, WM_KEYUP, PM_REMOVE);
            if (key.message == WM_KEYUP || Modifier(code)) return KeyAction::Skipped;
            if (decor && decor->Key(code)) return KeyAction::Skipped;
            if (code == VK_ESCAPE) return KeyAction::Cancel;
            if (code == VK_RETURN) return KeyAction::Finish;
            MovePointerByKey(code);
            return KeyAction::Moved;
        }
    }
    // An Escape queued behind another key.
    return (::GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0 ? KeyAction::Cancel : KeyAction::None;
}

bool MouseMessageWaiting() {
    MSG peek{};
    return ::PeekMessageA(&peek, nullptr, WM_MOUSEMOVE, WM_MBUTTONDBLCLK, PM_NOREMOVE) != 0;
}

}  // namespace

bool MovePointerByKey(int key) {
    const Point step = ArrowStep(key, ::GetKeyState(VK_SHIFT) < 0);
    POINT at{};
    if ((step.x == 0 && step.y == 0) || !::GetCursorPos(&at)) return false;
    ::SetCursorPos(at.x + step.x, at.y + step.y);
    return true;
}

Rect TrackSelection(HWND hwnd, POINT start, bool* escaped, TrackingDecor* decor) {
    UniqueCreatedDc display = decor && decor->Canvas() ? UniqueCreatedDc{} : DisplayDc();
    const HDC canvas = display ? display.get() : decor->Canvas();
    const Point anchor{start.x, start.y};
    Rect rect = SelectionFromCorners(anchor, anchor);
    // The band at the free corner, and the decor over it.
    const auto redraw = [&](Point corner) {
        DrawSelectionBand(canvas, rect);
        if (decor) decor->Move(corner);
        rect = SelectionFromCorners(anchor, corner);
        DrawSelectionBand(canvas, rect);
        if (decor) decor->Draw();
    };
    if (decor) decor->Move(anchor);
    DrawSelectionBand(canvas, rect);
    if (decor) decor->Draw();

    MSG msg{};
    bool cancelled = false;
    for (;;) {
        // A message that arrived together with the one taken last must not wait for
        // the next wake-up.
        if (!MouseMessageWaiting() && TakeKey(false, decor) == KeyAction::None) ::WaitMessage();
        const KeyAction action = TakeKey(true, decor);
        if (action == KeyAction::Cancel) {
            cancelled = true;
            break;
        }
        if (action == KeyAction::Skipped) continue;
        if (action != KeyAction::None) {
            // The band follows the pointer at once; the move the pointer makes brings
            // the same corner again, which changes nothing.
            POINT at{};
            ::GetCursorPos(&at);
            redraw({at.x, at.y});
            if (action == KeyAction::Finish) break;
            continue;
        }
        // One mouse message per wake-up, never translated or dispatched.
        if (!::PeekMessageA(&msg, nullptr, WM_MOUSEMOVE, WM_MBUTTONDBLCLK, PM_REMOVE)) continue;
        // Every button's messages move the free corner, always to the cursor point the
        // message carries (lParam is relative to whichever window got it).
        redraw({msg.pt.x, msg.pt.y});
        if (msg.message == WM_LBUTTONUP) break;
    }
    DrawSelectionBand(canvas, rect);
    if (decor) decor->Erase();
    display.reset();
    ::ReleaseCapture();
    ::PostMessageA(hwnd, WM_LBUTTONUP, msg.wParam, msg.lParam);
    if (escaped) *escaped = cancelled;
    if (cancelled) return SelectionFromCorners(anchor, anchor);
    return rect;
}

}  // namespace vx
