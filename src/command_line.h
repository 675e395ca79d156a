#pragma once
// The small command line for unattended use (benchmarks, scripts):
//   /capture screen /save FILE
//   /capture region L,T,R,B /save FILE
// Without arguments the program starts its window as usual. Portable.
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
    bool interactive = true;             // no arguments: the window
    std::optional<CaptureRequest> capture;
    std::wstring error;                  // set when the arguments could not be understood
};

// args excludes the program name. Switches are case-insensitive and may start with / or -.
CommandLine ParseCommandLine(const std::vector<std::wstring>& args);

}  // namespace vx
