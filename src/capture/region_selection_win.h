#pragma once
// The free-region selection: arm (the window minimised, the screen frozen under a
// crosshair), track the drag from the first left press, copy the area to the
// clipboard and place the picture read back from it. All its state lives here.
#include "../document/capture_host.h"
#include "pick_decor_win.h"
#include "screen_pick_win.h"

namespace vx {

class RegionSelection final : private PickEvents {
public:
    RegionSelection() : pick_(this) {}
    RegionSelection(const RegionSelection&) = delete;
    RegionSelection& operator=(const RegionSelection&) = delete;

    // mnuDistrict_Click: the scale unit goes to pixels; a selection already armed
    // changes nothing else.
    void Arm(CaptureHost& host);
    // A press at a screen point (Form_MouseDown): the left button starts the drag
    // while armed; the area is copied and placed when the button goes up. A click
    // without a drag takes the outlined window from the frozen copy.
    void Press(CaptureHost& host, int button, POINT screen);
    // A release (Form_MouseUp): the pointer and the scale unit come back; a selection
    // still armed (a release before any press) is cancelled.
    void Release(CaptureHost& host, int button);
    // Ends a selection that captured nothing: the frozen screen goes, the pointer, the
    // scale unit, the window state and ImageUnsaved are put back as they were.
    void Cancel(CaptureHost& host);

    bool Armed() const { return pick_.Armed(); }
    // Armed, tracking, or placing its picture until the button is up.
    bool Busy() const { return pick_.Busy(); }
    HWND Overlay() const { return pick_.Overlay(); }
    HBITMAP Frozen() const { return pick_.Frozen().Copy(); }

private:
    void OnPickPress(int button, POINT screen) override;
    void OnPickMove(POINT screen) override;
    void OnPickKey(int key) override;
    void OnPickRelease(int button) override;
    void OnPickCancel() override;

    bool priorUnsaved_ = false;
    ScreenPick pick_;  // busy from arming until the release after the drag
    PickDecor decor_;  // the outline and the loupe on the frozen screen
};

}  // namespace vx
