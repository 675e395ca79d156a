#pragma once
// The command line:
//   (nothing)                               the window
//   PATH                                    the window with that picture opened
//   /capture screen /save FILE              one capture written to a file, no window
//   /capture region L,T,R,B /save FILE
//   /?                                      the accepted forms and the exit codes
// Switches and the capture kinds are case-insensitive. Portable.
#include <optional>
#include <string>
#include <vector>

#include "platform/geometry.h"

namespace vx {

struct CaptureRequest {
    enum class Kind { Screen, Region } kind = Kind::Screen;
    Rect region;  // Region: screen pixels, right and bottom exclusive
    std::wstring savePath;
};

struct CommandLine {
    enum class Action { Window, Open, Capture, Usage, Invalid } action = Action::Window;
    std::wstring openPath;               // Open: as given (relative paths are the caller's to resolve)
    std::optional<CaptureRequest> capture;
    bool unattended = false;             // /capture was given: a script waits, no person reads a box
    std::wstring badArgument;            // Invalid: the argument that does not fit ("" when one is missing)
};

// How the unattended capture ends, for the script that started it.
enum ExitCode : int { kExitOk = 0, kExitUsage = 2, kExitCapture = 3, kExitWrite = 4 };

// args excludes the program name. Switches may start with / or -. A region given with
// its corners in the other order is the same rectangle.
CommandLine ParseCommandLine(const std::vector<std::wstring>& args);

}  // namespace vx
