#pragma once
// One way to say what went wrong: a status with the system's error code, turned into
// one sentence for the user from the string table.
#include <string>

#include "command_host.h"
#include "outcome.h"

namespace vx {

// Why, in words: a few common errors in the program's own language, others as the
// system's sentence with its code; "" for 0.
std::wstring ReasonText(DWORD error);

// One sentence about a failure on `path` (printing and the wallpaper name no file;
// "" for Ok and Cancelled).
std::wstring DescribeFailure(const Outcome& outcome, const std::wstring& path);

// True when there is a picture; otherwise the user is told so (from the menu).
bool RequirePicture(CommandHost& host);

}  // namespace vx
