#include "scroll_capture_win.h"

#include "../document/picture_limits.h"
#include "capture_area_win.h"
#include "scroll_live_win.h"
#include "scroll_pick_win.h"
#include "selection_tracking_win.h"

namespace vx {

void ScrollCapture::Arm(CaptureHost& host) {
    if (pick_.Busy()) return;
    if (!pick_.Arm(host)) {
        const bool tell = !pick_.Silent();
        Cancel(host);
        host.EndCapture(nullptr, tell);
        return;
    }
    POINT at{};
    ::GetCursorPos(&at);
    OnPickMove(at);
}

void ScrollCapture::Cancel(CaptureHost&) { pick_.Cancel(); }

void ScrollCapture::OnPickMove(POINT screen) {
    if (pick_.Armed() && pick_.Overlay()) pick_.Outline(TargetAt(screen, pick_.Windows()).area);
}

void ScrollCapture::OnPickPress(int button, POINT screen) {
    CaptureHost* host = pick_.Host();
    if (!host || !pick_.Armed()) return;
    if (!(button & 1)) {
        Cancel(*host);  // a right or middle click cancels as Escape does
        return;
    }
    pick_.Outline({});
    pick_.Take();
    bool escaped = false;
    // The drag's release goes back to the frozen screen, never to the main window,
    // whose own release ends a free-region selection.
    const Rect dragged = TrackSelection(pick_.Overlay(), screen, &escaped);
    if (escaped) {
        Cancel(*host);
        return;
    }
    Capture(*host, screen, dragged);
}

void ScrollCapture::Capture(CaptureHost& host, POINT press, const Rect& dragged) {
    const ScrollTarget target =
        dragged.Empty() ? TargetAt(press, pick_.Windows()) : TargetForArea(dragged, pick_.Windows());
    const bool tell = !pick_.Silent();
    const WindowState prior = pick_.PriorState();
    // The live screen from here on: the frozen copy and its outline go first, as the
    // screen may keep the window's last pixels until the windows under it repaint.
    pick_.Close();
    Result<UniqueBitmap> stitched = Result<UniqueBitmap>::Failure(Status::NoImage);
    if (!target.area.Empty()) stitched = RunScrollCapture(target, {kMaxPicturePixels, kMaxPictureSide});

    host.SetMousePointer(MousePointer::Default);
    host.SetWindowState(prior == WindowState::Minimized ? WindowState::Normal : prior);
    pick_.Done();
    if (stitched.outcome.status == Status::NoImage) {
        host.EndCapture(nullptr, false);  // nothing there to capture
        return;
    }
    host.EndCapture(stitched.ok() ? CreatePictureFromBitmap(std::move(stitched.value), {}) : nullptr, tell);
}

void ScrollCapture::OnPickCancel() {
    if (CaptureHost* host = pick_.Host()) Cancel(*host);
}

}  // namespace vx
