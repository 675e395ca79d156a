#pragma once
// The unattended capture: the same capture and save code as the menu commands,
// without the window. A script waits for it, so it never shows a window or a box:
// what went wrong is one line on the console it was started from, and the exit code
// says which kind of failure it was.
#include <string>

#include "command_line.h"

namespace vx {

// Returns the process exit code (kExitOk when the file was written).
int RunUnattendedCapture(const CaptureRequest& request);

// A command line with /capture that does not fit: its line, and kExitUsage.
int ReportUnattendedUsage(const CommandLine& line);

// Writes text to the standard output (or error) when that goes to a file or a pipe,
// otherwise to the console of the process that started this one; false when there is
// neither (started from Explorer).
bool WriteToConsole(const std::wstring& text, bool error);

}  // namespace vx
