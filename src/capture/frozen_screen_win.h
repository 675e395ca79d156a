#pragma once
// The frozen screen: a topmost borderless popup over the whole virtual screen that
// shows a copy of the screen taken when the selection is armed. It catches the next
// press anywhere (a minimised window's mouse capture does not see presses made over
// other programs' windows) and keeps the picture still while the user drags.
#include "../platform/geometry.h"
#include "../platform/unique_handle.h"
#include "../platform/window_base.h"
#include "window_capture_win.h"

namespace vx {
class WindowSnapshot;
}

namespace vx {

// What the frozen screen hands on: presses and releases at screen pixels, Escape or
// Alt+F4, its window destroyed from outside, and its copy painted again over what was
// drawn above it.
class OverlayEvents {
public:
    virtual void OnOverlayPress(int button, POINT screen) = 0;
    virtual void OnOverlayMove(POINT) {}
    // The wheel (its delta, at a screen point) and a key that is no arrow or Escape.
    virtual void OnOverlayWheel(int, POINT) {}
    virtual void OnOverlayKey(int) {}
    virtual void OnOverlayRelease(int button) = 0;
    virtual void OnOverlayCancel() = 0;
    virtual void OnOverlayGone() = 0;
    virtual void OnOverlayRepainted() {}

protected:
    ~OverlayEvents() = default;
};

// The window is made once and kept hidden between selections: arming only copies the
// screen into its memory context, shows it and paints it straight from there.
class FrozenScreen final : public WindowBase {
public:
    explicit FrozenScreen(OverlayEvents* events) : events_(events) {}
    ~FrozenScreen();

    // Copies the virtual screen and shows the copy over it, painted, on top and with
    // the keyboard; false (nothing shown) without memory for the copy or a window.
    // While shown it stays above every other window: when the keyboard goes elsewhere
    // (a window manager gives it to the next window once the main window minimises)
    // it is raised and activated again, and the pick goes on.
    bool Show();
    // Show once the main window's minimising has reached the screen (`gone` was made
    // before it minimised), so that the copy does not hold the window; `windows`,
    // when given, is taken just before the copy.
    bool ShowAfterMinimise(const HiddenWindowWait& gone, WindowSnapshot* windows = nullptr);
    // Paints the whole copy again over whatever was drawn onto the screen above it, so
    // that what the window leaves behind when it hides is the screen as it was.
    void Repaint();
    // Hides the window and frees the copy.
    void Hide();

    HWND Window() const { return copy_ ? hwnd_ : nullptr; }  // while shown
    HBITMAP Copy() const { return copy_.get(); }
    // A memory context holding the copy, while shown.
    HDC Memory() const { return copy_ ? memory_.get() : nullptr; }
    const Rect& Screen() const { return screen_; }
    // The part of the copy under `area` (screen pixels).
    UniqueBitmap Crop(const Rect& area) const;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void WindowDestroyed() override;
    bool MakeWindow();
    void Paint();
    // Raised above every window and given the keyboard again.
    void TakeBack();

    OverlayEvents* events_;
    Rect screen_;
    UniqueCreatedDc display_;
    UniqueCreatedDc memory_;  // holds the copy while shown
    UniqueBitmap copy_;
    SelectGuard selected_;  // copy_ in memory_ while shown
    int takeBacks_ = 0;  // since shown: a window that keeps taking the keyboard wins
};

}  // namespace vx
