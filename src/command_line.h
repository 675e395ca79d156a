#pragma once
// The command line:
//   (nothing)                               the window
//   PATH                                    the window with that picture opened
//   /capture screen /save FILE              one capture written to a file, no window
//   /capture region L,T,R,B /save FILE
//   /?                                      the accepted forms
// Portable.
#include <optional>
#include <string>
#include <vector>

namespace vx {

struct CaptureRequest {
    enum class Kind { Screen, Region } kind = Kind::Screen;
    long left = 0, top = 0, right = 0, bottom = 0;  // screen pixels, right/bottom exclusive
    std::wstring savePath;
};

struct CommandLine {
    enum class Action { Window, Open, Capture, Usage, Invalid } action = Action::Window;
    std::wstring openPath;               // Open: as given (relative paths are the caller's to resolve)
    std::optional<CaptureRequest> capture;
};

// args excludes the program name. Switches are case-insensitive and may start with / or -.
CommandLine ParseCommandLine(const std::vector<std::wstring>& args);

}  // namespace vx
