#pragma once
// The scrolling-window capture: arm as the free region arms (the window minimised, the
// screen frozen under a crosshair, the window under the pointer outlined), pick the
// target with a click or a free rectangle with a drag, then stitch the live screen
// while the target scrolls, and place the long picture. All its state lives here.
#include "../document/capture_host.h"
#include "selection_geometry.h"
#include "selection_overlay.h"

namespace vx {

class ScrollCapture final : private OverlayEvents {
public:
    ScrollCapture() : frozen_(this) {}
    ScrollCapture(const ScrollCapture&) = delete;
    ScrollCapture& operator=(const ScrollCapture&) = delete;
    ~ScrollCapture();

    // The menu item: arms the picking; a capture already armed changes nothing.
    void mnuScroll_Click(CaptureHost& host);
    // Ends the picking without a capture: everything is as it was.
    void Cancel(CaptureHost& host);

    bool Armed() const { return armed_; }
    // Armed, or capturing until its picture is placed.
    bool Busy() const { return host_ != nullptr; }
    HWND Overlay() const { return frozen_.Window(); }

private:
    void OnOverlayPress(int button, POINT screen) override;
    void OnOverlayMove(POINT screen) override;
    void OnOverlayRelease(int) override {}
    void OnOverlayCancel() override;
    void OnOverlayGone() override;
    void Outline(const Rect& rect);
    void CloseOverlay();
    void Capture(CaptureHost& host, POINT press, const Rect& dragged);

    CaptureHost* host_ = nullptr;  // while armed
    bool armed_ = false;
    bool silent_ = false;
    WindowState priorState_ = WindowState::Normal;
    FrozenScreen frozen_;
    UniqueCreatedDc display_;  // the outline is drawn on the frozen screen, never on a frame
    Rect outline_;
};

}  // namespace vx
