#pragma once
// What a capture that takes over the screen (the free region, the scrolling capture)
// needs from the window beyond a command's needs: whether failures are told, the
// window's scale unit, and the application-wide mouse pointer.
#include "command_host.h"

namespace vx {

class CaptureHost : public CommandHost {
public:
    // True when the command came from the toolbar: failures are not told.
    virtual bool Silent() const = 0;
    virtual ScaleMode GetScaleMode() const = 0;
    virtual void SetScaleMode(ScaleMode mode) = 0;
    virtual void SetMousePointer(MousePointer pointer) = 0;

protected:
    ~CaptureHost() = default;
};

}  // namespace vx
