#include "scroll_capture.h"

#include "../document/picture_limits.h"
#include "../platform/text.h"
#include "../resources/resource.h"
#include "capture_area.h"
#include "scroll_live.h"
#include "scroll_pick.h"
#include "selection_band.h"
#include "selection_tracking.h"

namespace vx {

ScrollCapture::~ScrollCapture() {
    armed_ = false;
    host_ = nullptr;
    CloseOverlay();
}

void ScrollCapture::CloseOverlay() {
    Outline({});
    display_.reset();
    frozen_.Hide();
}

void ScrollCapture::Outline(const Rect& rect) {
    if (rect == outline_) return;
    DrawSelectionBand(display_.get(), outline_);  // drawn twice, it is gone
    outline_ = rect;
    DrawSelectionBand(display_.get(), outline_);
}

void ScrollCapture::mnuScroll_Click(CaptureHost& host) {
    if (armed_) return;
    host_ = &host;
    priorState_ = host.GetWindowState();
    silent_ = host.Silent();
    armed_ = true;
    host.SetMousePointer(MousePointer::Crosshair);
    host.SetWindowState(WindowState::Minimized);

    if (!frozen_.ShowAfterMinimise()) {
        Cancel(host);
        if (!silent_) host.ReportFailure(LoadText(IDS_MSG_CAPTURE_NO_MEMORY));
        return;
    }
    display_ = DisplayDc();
    POINT at{};
    ::GetCursorPos(&at);
    OnOverlayMove(at);
}

void ScrollCapture::Cancel(CaptureHost& host) {
    armed_ = false;
    CloseOverlay();
    host.SetMousePointer(MousePointer::Default);
    host.SetWindowState(priorState_);
    host_ = nullptr;
}

void ScrollCapture::OnOverlayMove(POINT screen) {
    if (armed_ && frozen_.Window()) Outline(TargetAt(screen, frozen_.Window()).area);
}

void ScrollCapture::OnOverlayPress(int button, POINT screen) {
    if (!host_ || !armed_) return;
    CaptureHost& host = *host_;
    if (!(button & 1)) {
        Cancel(host);  // a right or middle click cancels as Escape does
        return;
    }
    Outline({});
    bool escaped = false;
    const Rect dragged = TrackSelection(host.Owner(), screen, &escaped);
    if (escaped) {
        Cancel(host);
        return;
    }
    Capture(host, screen, dragged);
}

void ScrollCapture::Capture(CaptureHost& host, POINT press, const Rect& dragged) {
    const ScrollTarget target = dragged.Empty() ? TargetAt(press, frozen_.Window()) : TargetForArea(dragged, frozen_.Window());
    armed_ = false;
    // The live screen from here on: the frozen copy and its outline go first. The copy
    // is painted clean before it goes (an inverted outline that a late repaint had
    // already wiped would come back when inverted again), as the screen may keep the
    // window's last pixels until the windows under it repaint.
    outline_ = {};
    frozen_.Repaint();
    CloseOverlay();
    Result<UniqueBitmap> stitched = Result<UniqueBitmap>::Failure(Status::NoImage);
    if (!target.area.Empty()) stitched = RunScrollCapture(target, {kMaxPicturePixels, kMaxPictureSide});

    // A Print Screen key pressed meanwhile waited in the queue: it must not run now.
    for (MSG key{}; ::PeekMessageW(&key, host.Owner(), WM_HOTKEY, WM_HOTKEY, PM_REMOVE);) {
        if (key.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(key.wParam));
            break;
        }
    }
    host.SetMousePointer(MousePointer::Default);
    host.SetWindowState(priorState_ == WindowState::Minimized ? WindowState::Normal : priorState_);
    host_ = nullptr;
    if (stitched.outcome.status == Status::NoImage) return;  // nothing there to capture
    ComPtr<IPicture> picture = stitched.ok() ? CreatePictureFromBitmap(std::move(stitched.value), {}) : nullptr;
    if (!picture) {
        // The picture that was there stays, and so does its state.
        if (!silent_) host.ReportFailure(LoadText(IDS_MSG_CAPTURE_NO_MEMORY));
        return;
    }
    host.PlacePicture(std::move(picture));
    host.Doc().ImageUnsaved = true;
    host.Relayout();
}

void ScrollCapture::OnOverlayCancel() {
    if (host_ && armed_) Cancel(*host_);
}

void ScrollCapture::OnOverlayGone() {
    // Destroyed from outside (the system): the picking could never end otherwise.
    if (host_ && armed_) Cancel(*host_);
}

}  // namespace vx
