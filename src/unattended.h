#pragma once
// The unattended capture: the same capture and save code as the menu commands,
// without the window. Returns the process exit code (0 when the file was written).
#include "command_line.h"

namespace vx {

int RunUnattendedCapture(const CaptureRequest& request);

}  // namespace vx
