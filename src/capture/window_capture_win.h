#pragma once
// The four window-based captures, each a new picture (or none) made by CaptureWindowArea.
#include <vector>

#include "../document/command_host.h"

namespace vx {

// The primary display, in physical pixels, from the desktop window.
ComPtr<IPicture> CaptureScreen();
// The program's window with title bar, menu bar and borders.
ComPtr<IPicture> CaptureFormWindow(const CommandHost& form);
// The program's window's client area.
ComPtr<IPicture> CaptureFormClient(const CommandHost& form);
// The foreground window as the screen shows it, copied from the desktop inside its
// visible frame.
ComPtr<IPicture> CaptureActiveWindow();

// The screen rectangle a window covers as the user sees it.
Rect VisibleFrameBounds(HWND hwnd);

// Made before a window is hidden: remembers what the screen shows where the window is,
// so that Wait can tell when the hiding has reached the screen. Waiting reads the
// screen only; it handles no messages, so none of the program's input is dispatched.
class HiddenWindowWait {
public:
    explicit HiddenWindowWait(HWND hwnd);
    // Returns once the screen there shows something else and has settled, or after a
    // bounded time.
    void Wait() const;

private:
    Rect area_;
    std::vector<unsigned> before_;
};

}  // namespace vx
