#pragma once
// The frozen screen: a topmost borderless popup over the whole virtual screen that
// shows a copy of the screen taken when the selection is armed. It catches the next
// press anywhere (a minimised window's mouse capture does not see presses made over
// other programs' windows) and keeps the picture still while the user drags.
#include "../platform/unique_handle.h"

namespace vx {

// What the frozen screen hands on: presses and releases at screen pixels, Escape or
// the loss of the keyboard, and its own end (however it came about).
class OverlayEvents {
public:
    virtual HBITMAP OverlayPicture() const = 0;
    virtual void OnOverlayPress(int button, POINT screen) = 0;
    virtual void OnOverlayMove(POINT) {}
    virtual void OnOverlayRelease(int button) = 0;
    virtual void OnOverlayCancel() = 0;
    virtual void OnOverlayGone(HWND overlay) = 0;

protected:
    ~OverlayEvents() = default;
};

// The virtual screen (all monitors) in screen pixels.
RECT VirtualScreenRect();

// A copy of the virtual screen as it is shown now.
UniqueBitmap CopyVirtualScreen(const RECT& screen);

// Creates, shows, paints and focuses the popup showing events->OverlayPicture() over
// `screen`; `events` must outlive the popup.
HWND ShowSelectionOverlay(const RECT& screen, OverlayEvents* events);

// The part of a frozen copy of `screen` under `area` (screen pixels).
UniqueBitmap CropFrozenScreen(HBITMAP frozen, const RECT& screen, const RECT& area);

}  // namespace vx
