#pragma once
// The running program's file: its folder and its base name.
#include <string>

namespace vx {

std::wstring ProgramPath();
// Without a trailing separator except at a drive's root.
std::wstring ProgramFolder();
// Base name without extension: titles the close question and the opened-file title.
std::wstring ProgramName();

}  // namespace vx
