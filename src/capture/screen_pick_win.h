#pragma once
// Picking on the frozen screen, shared by the free region and the scrolling capture:
// arm (the window minimised, the screen frozen under a crosshair, on top and with the
// keyboard), answer the frozen screen (presses, moves and releases handed on to the
// capture that armed it; Escape, Alt+F4 and the window destroyed end the pick), an
// outline drawn over the frozen copy, and cancel (everything as it was before arming).
#include "../document/capture_host.h"
#include "selection_geometry.h"
#include "frozen_screen_win.h"
#include "window_snapshot_win.h"

namespace vx {

// What a pick hands on to the capture that armed it.
class PickEvents {
public:
    // A press while armed: the left button starts the capture's work.
    virtual void OnPickPress(int button, POINT screen) = 0;
    virtual void OnPickMove(POINT) {}
    virtual void OnPickRelease(int) {}
    // A key that is no arrow or Escape, while armed.
    virtual void OnPickKey(int) {}
    // Escape, Alt+F4 or the frozen screen destroyed while armed: end without a picture.
    virtual void OnPickCancel() = 0;

protected:
    ~PickEvents() = default;
};

class ScreenPick final : private OverlayEvents {
public:
    explicit ScreenPick(PickEvents* events) : events_(events), frozen_(this) {}
    ScreenPick(const ScreenPick&) = delete;
    ScreenPick& operator=(const ScreenPick&) = delete;
    ~ScreenPick();

    // Remembers the host and its window state, shows the crosshair, minimises the
    // window and freezes the screen once the window has left it. False when the
    // screen could not be frozen (no memory for the copy): the caller cancels.
    bool Arm(CaptureHost& host);
    // The press was taken: no longer armed, still busy until Done.
    void Take() { armed_ = false; }
    // The live screen from here on: the outline erased, the frozen copy painted clean
    // (an inverted line that a late repaint had already wiped would come back when
    // inverted again) and hidden, its copy freed.
    void Close();
    // The capture is over: the frozen screen gone and the host let go.
    void Done();
    // Ends the pick without a capture: the pointer back, the window in the state it
    // had before Arm and active, then the frozen screen gone.
    void Cancel();

    // An inverted outline over the frozen copy; an empty one erases it.
    void Outline(const Rect& rect);

    bool Armed() const { return armed_; }
    bool Busy() const { return host_ != nullptr; }
    CaptureHost* Host() const { return host_; }
    bool Silent() const { return silent_; }
    WindowState PriorState() const { return priorState_; }
    FrozenScreen& Frozen() { return frozen_; }
    const FrozenScreen& Frozen() const { return frozen_; }
    HWND Overlay() const { return frozen_.Window(); }
    // The windows as they were when armed, with the depth the wheel chose.
    const WindowSnapshot& Windows() const { return windows_; }

private:
    void OnOverlayPress(int button, POINT screen) override;
    void OnOverlayMove(POINT screen) override;
    void OnOverlayWheel(int delta, POINT screen) override;
    void OnOverlayKey(int key) override;
    void OnOverlayRelease(int button) override;
    void OnOverlayCancel() override;
    void OnOverlayGone() override;
    void OnOverlayRepainted() override;

    PickEvents* events_;
    CaptureHost* host_ = nullptr;  // while armed, and while the capture works
    bool armed_ = false;
    bool silent_ = false;  // armed from the toolbar: failures are not told
    WindowState priorState_ = WindowState::Normal;
    FrozenScreen frozen_;
    WindowSnapshot windows_;
    Rect outline_;  // screen pixels
};

}  // namespace vx
