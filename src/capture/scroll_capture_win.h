#pragma once
// The scrolling-window capture: arm as the free region arms (the window minimised, the
// screen frozen under a crosshair, the window under the pointer outlined), pick the
// target with a click or a free rectangle with a drag, then stitch the live screen
// while the target scrolls, and place the long picture. All its state lives here.
#include "../document/capture_host.h"
#include "screen_pick_win.h"

namespace vx {

class ScrollCapture final : private PickEvents {
public:
    ScrollCapture() : pick_(this) {}
    ScrollCapture(const ScrollCapture&) = delete;
    ScrollCapture& operator=(const ScrollCapture&) = delete;

    // The menu item (mnuScroll_Click): arms the picking; a capture already armed
    // changes nothing.
    void Arm(CaptureHost& host);
    // Ends the picking without a capture: everything is as it was.
    void Cancel(CaptureHost& host);

    bool Armed() const { return pick_.Armed(); }
    // Armed, or capturing until its picture is placed.
    bool Busy() const { return pick_.Busy(); }
    HWND Overlay() const { return pick_.Overlay(); }

private:
    void OnPickPress(int button, POINT screen) override;
    void OnPickMove(POINT screen) override;
    void OnPickCancel() override;
    void Capture(CaptureHost& host, POINT press, const Rect& dragged);

    ScreenPick pick_;
};

}  // namespace vx
