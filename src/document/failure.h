#pragma once
// One way to say what went wrong: a status with the system's error code, turned into
// one sentence for the user from the string table.
#include <string>

#include "command_host.h"
#include "outcome.h"

// A folder where a file was meant (the platform's own code for it; older headers lack it).
#ifndef ERROR_DIRECTORY_NOT_SUPPORTED
#define ERROR_DIRECTORY_NOT_SUPPORTED 336L
#endif

namespace vx {

// Why, in words: the common errors (a full disk, no permission, a missing path, a path
// too long, a folder or a device where a file was meant) in the program's own
// language, others as the system's sentence with its code; "" for 0.
std::wstring ReasonText(DWORD error);

// One sentence about a failure on `path` (printing and the wallpaper name no file;
// "" for Ok and Cancelled).
std::wstring DescribeFailure(const Outcome& outcome, const std::wstring& path);

// True when there is a picture; otherwise the user is told so (from the menu).
bool RequirePicture(CommandHost& host);

}  // namespace vx
