#pragma once
// The running program's file: its folder and its base name.
#include <string>

namespace vx {

std::wstring ProgramPath();
// Without a trailing separator except at a drive's root.
std::wstring ProgramFolder();
// Base name without extension: titles the close question and the opened-file title.
std::wstring ProgramName();

// Where a file goes when the program's own place cannot be written: the folder
// "Vellumox" (made when missing) in the user's temporary folder or local application
// data; "" when that place is unknown.
enum class UserPlace { Temp, LocalAppData };
std::wstring PerUserFile(UserPlace place, const wchar_t* name);

}  // namespace vx
