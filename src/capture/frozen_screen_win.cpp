#include "frozen_screen_win.h"

#include <windowsx.h>

#include <algorithm>

#include "../platform/gdi.h"
#include "../platform/geometry_win.h"
#include "selection_tracking_win.h"
#include "window_snapshot_win.h"

namespace vx {

namespace {

constexpr UINT kTakeBackMessage = WM_APP + 1;
constexpr int kMostTakeBacks = 20;
// The screen is read in bands of about this many bytes: under Wine one read of a whole
// 4K screen costs about five times its rows read in bands (its 33 MB transfer buffer is
// allocated and faulted in afresh every time; a band's buffer is reused). The bands
// follow each other within milliseconds.
constexpr int kBandBytes = 1 << 20;

}  // namespace

// The window goes with the base, without telling anyone: whoever handles the events is going too.
FrozenScreen::~FrozenScreen() { Hide(); }

bool FrozenScreen::MakeWindow() {
    if (hwnd_) return true;
    static const WindowClass kClass{L"VellumoxFrozenScreen", 0, ::LoadCursorW(nullptr, IDC_CROSS)};
    // Not owned by the main window: owned popups are hidden while their owner is
    // minimised. Not a tool window: window managers (openbox) do not give those the
    // keyboard when they appear, and the keys are half the selection.
    return CreateOfClass(kClass, WS_EX_TOPMOST, WS_POPUP, L"", 0, 0, 1, 1);
}

bool FrozenScreen::Show() {
    Hide();
    screen_ = VirtualScreenRect();
    const int width = screen_.Width(), height = screen_.Height();
    if (!display_) display_ = DisplayDc();
    if (!MakeWindow() || !display_) return false;
    if (!memory_) memory_.reset(::CreateCompatibleDC(display_.get()));
    copy_ = NewCompatibleBitmap(display_.get(), width, height);
    if (!memory_ || !copy_) {
        copy_.reset();
        return false;
    }
    selected_ = SelectGuard(memory_.get(), copy_.get());
    const int rows = std::max(1, kBandBytes / std::max(1, width * 4));
    for (int y = 0; y < height; y += rows)
        ::BitBlt(memory_.get(), 0, y, width, std::min(rows, height - y), display_.get(), screen_.left, screen_.top + y,
                 SRCCOPY);
    // Moved and sized only when the screen changed: under Wine that costs as much as the paint.
    RECT at{};
    ::GetWindowRect(hwnd_, &at);
    const UINT keep = FromRECT(at) == screen_ ? SWP_NOMOVE | SWP_NOSIZE : 0;
    ::SetWindowPos(hwnd_, HWND_TOPMOST, screen_.left, screen_.top, width, height, SWP_SHOWWINDOW | keep);
    // Painted here at once rather than through WM_PAINT's update region (under Wine
    // that costs as much again); WM_PAINT still repaints whatever is uncovered later.
    Repaint();
    ::SetForegroundWindow(hwnd_);
    ::SetFocus(hwnd_);
    // A window manager may stack a new window below the one it has just given the
    // keyboard to: once it has taken this one in, it is asked to raise it.
    takeBacks_ = 0;
    ::PostMessageW(hwnd_, kTakeBackMessage, 0, 0);
    return true;
}

bool FrozenScreen::ShowAfterMinimise(const HiddenWindowWait& gone, WindowSnapshot* windows) {
    ::GdiFlush();
    gone.Wait();
    if (windows) windows->Take(hwnd_);
    return Show();
}

void FrozenScreen::TakeBack() {
    if (!copy_ || ++takeBacks_ > kMostTakeBacks) return;
    // Moved in the z-order (to the bottom and back on top), so that the raise reaches
    // the window manager as a request of its own.
    ::SetWindowPos(hwnd_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    ::SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(hwnd_);
    ::SetFocus(hwnd_);
}

void FrozenScreen::Repaint() {
    if (!copy_) return;
    {
        const UniqueWindowDc dc = UniqueWindowDc::Client(hwnd_);
        ::BitBlt(dc.get(), 0, 0, screen_.Width(), screen_.Height(), memory_.get(), 0, 0, SRCCOPY);
    }
    ::ValidateRect(hwnd_, nullptr);
    ::GdiFlush();
}

void FrozenScreen::Hide() {
    if (!copy_) return;
    UniqueBitmap copy = std::move(copy_);  // hidden from here on: the handlers see it gone
    ::ShowWindow(hwnd_, SW_HIDE);
    selected_.reset();
}

UniqueBitmap FrozenScreen::Crop(const Rect& area) const {
    if (!copy_) return {};
    UniqueCreatedDc display = DisplayDc();
    return CopyArea(memory_.get(), area.left - screen_.left, area.top - screen_.top, area.Width(), area.Height(),
                    display.get());
}

void FrozenScreen::Paint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd_, &ps);
    const RECT& r = ps.rcPaint;
    if (copy_) ::BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, memory_.get(), r.left, r.top, SRCCOPY);
    ::EndPaint(hwnd_, &ps);
    if (copy_ && events_) events_->OnOverlayRepainted();
}

void FrozenScreen::WindowDestroyed() {
    Hide();
    events_->OnOverlayGone();
}

LRESULT FrozenScreen::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const bool shown = static_cast<bool>(copy_);
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SETCURSOR:
            ::SetCursor(::LoadCursorW(nullptr, IDC_CROSS));
            return TRUE;
        case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ::ClientToScreen(hwnd_, &p);
            // The handler may hide this window: nothing of it is touched afterwards.
            if (shown) events_->OnOverlayPress(ButtonOf(message), p);
            return 0;
        }
        case WM_MOUSEMOVE: {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ::ClientToScreen(hwnd_, &p);
            if (shown) events_->OnOverlayMove(p);
            return 0;
        }
        case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
            events_->OnOverlayRelease(ButtonOf(message));
            return 0;
        case WM_MOUSEWHEEL:
            if (shown) events_->OnOverlayWheel(GET_WHEEL_DELTA_WPARAM(wParam), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_KEYDOWN:
            // Before the press the arrows place the pointer, a pixel at a time.
            if (wParam == VK_ESCAPE) {
                events_->OnOverlayCancel();
            } else if (MovePointerByKey(static_cast<int>(wParam))) {
                // What follows the pointer follows it at once, not when the move arrives.
                POINT at{};
                ::GetCursorPos(&at);
                if (shown) events_->OnOverlayMove(at);
            } else if (shown) {
                events_->OnOverlayKey(static_cast<int>(wParam));
            }
            return 0;
        case WM_CLOSE:
            // Alt+F4 or the system: the selection ends as Escape ends it (which hides this).
            events_->OnOverlayCancel();
            return 0;
        case WM_ACTIVATE:
            // Another window took the keyboard: a window manager handing it to the next
            // window as the main window minimised, or a program's window showing up.
            // The pick goes on; only Escape, a right click, Alt+F4 or the main window
            // brought back end it.
            if (LOWORD(wParam) == WA_INACTIVE && shown) ::PostMessageW(hwnd_, kTakeBackMessage, 0, 0);
            break;
        case kTakeBackMessage:
            TakeBack();
            return 0;
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

}  // namespace vx
