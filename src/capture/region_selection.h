#pragma once
// The free-region selection: arm (the window minimised, the screen frozen under a
// crosshair), track the drag from the first left press, copy the area to the
// clipboard and place the picture read back from it. All its state lives here.
#include "../document/capture_host.h"
#include "pick_decor.h"
#include "selection_overlay.h"
#include "window_snapshot.h"

namespace vx {

class RegionSelection final : private OverlayEvents {
public:
    RegionSelection() : frozen_(this) {}
    RegionSelection(const RegionSelection&) = delete;
    RegionSelection& operator=(const RegionSelection&) = delete;
    ~RegionSelection();

    // mnuDistrict_Click: the scale unit goes to pixels; a selection already armed
    // changes nothing else.
    void Arm(CaptureHost& host);
    // A press at a screen point (Form_MouseDown): the left button starts the drag
    // while armed; the area is copied and placed when the button goes up. A click
    // without a drag takes the outlined window from the frozen copy.
    void Press(CaptureHost& host, int button, POINT screen);
    // A release (Form_MouseUp): the pointer and the scale unit come back; a selection
    // still armed (a release before any press) is cancelled, and a picture just placed
    // is laid out again in twips.
    void Release(CaptureHost& host, int button);
    // Ends a selection that captured nothing: the frozen screen goes, the pointer, the
    // scale unit, the window state and ImageUnsaved are put back as they were.
    void Cancel(CaptureHost& host);

    bool Armed() const { return armed_; }
    // Armed, tracking, or placing its picture until the button is up.
    bool Busy() const { return host_ != nullptr; }
    HWND Overlay() const { return frozen_.Window(); }
    HBITMAP Frozen() const { return frozen_.Copy(); }

private:
    void OnOverlayPress(int button, POINT screen) override;
    void OnOverlayMove(POINT screen) override;
    void OnOverlayWheel(int delta, POINT screen) override;
    void OnOverlayKey(int key) override;
    void OnOverlayRelease(int button) override;
    void OnOverlayCancel() override;
    void OnOverlayGone() override;

    CaptureHost* host_ = nullptr;  // while armed or tracking
    bool armed_ = false;
    bool priorUnsaved_ = false;
    WindowState priorState_ = WindowState::Normal;
    bool silent_ = false;  // armed from the toolbar: failures are not told
    bool relayoutPending_ = false;  // a picture was placed while the scale unit was pixels
    FrozenScreen frozen_;
    WindowSnapshot windows_;  // taken when armed: what a click takes
    PickDecor decor_;         // the outline and the loupe on the frozen screen
};

}  // namespace vx
