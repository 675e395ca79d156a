#pragma once
// What a capture needs from the window beyond a command's needs: whether failures are
// told, the window's scale unit, the application-wide mouse pointer, and the one way
// every capture ends.
#include "command_host.h"

namespace vx {

class CaptureHost : public CommandHost {
public:
    // True when the command came from the toolbar: failures are not told.
    virtual bool Silent() const = 0;
    virtual ScaleMode GetScaleMode() const = 0;
    virtual void SetScaleMode(ScaleMode mode) = 0;
    virtual void SetMousePointer(MousePointer pointer) = 0;

    // Restored to the normal state from minimised or maximised.
    virtual void BackToNormal() = 0;
    // How every capture ends: Print Screen keys pressed meanwhile are dropped; the
    // picture is placed, marked unsaved and laid out, or without one the old picture
    // stays and the lack of memory is told when `tell`; the window is in front, active
    // and takes keys at once.
    virtual void EndCapture(ComPtr<IPicture> picture, bool tell) = 0;

protected:
    ~CaptureHost() = default;
};

}  // namespace vx
