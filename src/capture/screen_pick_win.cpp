#include "screen_pick_win.h"

#include "selection_band_win.h"

namespace vx {

ScreenPick::~ScreenPick() {
    // The window that hosts it is going: nothing may be put back into it any more.
    armed_ = false;
    host_ = nullptr;
    events_ = nullptr;
    Close();
}

bool ScreenPick::Arm(CaptureHost& host) {
    host_ = &host;
    priorState_ = host.GetWindowState();
    silent_ = host.Silent();
    armed_ = true;
    host.SetMousePointer(MousePointer::Crosshair);
    const HiddenWindowWait gone(host.Owner());
    host.SetWindowState(WindowState::Minimized);
    return frozen_.ShowAfterMinimise(gone, &windows_);
}

void ScreenPick::Close() {
    outline_ = {};
    windows_.Clear();
    frozen_.Repaint();
    frozen_.Hide();
}

void ScreenPick::Done() {
    armed_ = false;
    Close();
    host_ = nullptr;
}

void ScreenPick::Cancel() {
    armed_ = false;
    CaptureHost* host = host_;
    host_ = nullptr;
    if (host) {
        host->SetMousePointer(MousePointer::Default);
        host->SetWindowState(priorState_);
        // Active before the frozen screen goes: hiding the active window would hand
        // the keyboard to another program, which under X takes it late, after this.
        host->EndCapture(nullptr, false);
    }
    Close();
}

void ScreenPick::Outline(const Rect& rect) {
    const HWND overlay = frozen_.Window();
    if (rect == outline_ || !overlay) return;
    // Drawn into the frozen screen itself, never onto the display: a system that
    // shows the window again from what it holds (after a raise) shows the outline
    // with it, and nothing of it can land on another window.
    const UniqueWindowDc dc = UniqueWindowDc::Client(overlay);
    ::SetViewportOrgEx(dc.get(), -frozen_.Screen().left, -frozen_.Screen().top, nullptr);
    DrawSelectionBand(dc.get(), outline_);  // drawn twice, it is gone
    outline_ = rect;
    DrawSelectionBand(dc.get(), outline_);
}

void ScreenPick::OnOverlayPress(int button, POINT screen) {
    if (armed_ && events_) events_->OnPickPress(button, screen);
}

void ScreenPick::OnOverlayMove(POINT screen) {
    if (armed_ && events_) events_->OnPickMove(screen);
}

void ScreenPick::OnOverlayWheel(int delta, POINT screen) {
    if (!armed_ || !events_) return;
    windows_.Wheel(screen, delta);
    events_->OnPickMove(screen);
}

void ScreenPick::OnOverlayKey(int key) {
    if (armed_ && events_) events_->OnPickKey(key);
}

void ScreenPick::OnOverlayRelease(int button) {
    if (host_ && events_) events_->OnPickRelease(button);
}

void ScreenPick::OnOverlayCancel() {
    if (armed_ && events_) events_->OnPickCancel();
}

void ScreenPick::OnOverlayGone() {
    // Destroyed from outside (the system): the pick could never end otherwise.
    if (armed_ && events_) events_->OnPickCancel();
}

void ScreenPick::OnOverlayRepainted() {
    if (!outline_.Empty()) {
        // The copy was painted over part of the outline: the whole copy, clean, and the
        // outline drawn anew, or inverting it again would leave half of it behind.
        outline_ = {};
        frozen_.Repaint();
    }
    // What the capture draws over the copy is drawn anew too.
    POINT at{};
    if (armed_ && events_ && ::GetCursorPos(&at)) events_->OnPickMove(at);
}

}  // namespace vx
