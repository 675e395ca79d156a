#pragma once
// What a capture that takes over the screen needs from the window beyond a command's
// needs (the region selection now, a scrolling capture next): whether failures are
// told, the window's scale unit, and the application-wide mouse pointer.
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
