#pragma once
// Texts the open command builds. Portable: no <windows.h>.
#include <string>

namespace vx {

// The last path component: only a backslash separates ("C:\a\" gives "").
std::wstring GetFileName(const std::wstring& path);

// Title after an open: program name, "─[", file name, "(", width, "x", height, ") ]",
// with the size in pixels.
std::wstring OpenedTitle(const std::wstring& programName, const std::wstring& fileName,
                         long widthPixels, long heightPixels);

// Base name without extension of a program file path ("C:\x\grab.exe" gives "grab").
std::wstring ProgramNameFromPath(const std::wstring& exePath);

// Folder of a program file path, without a trailing separator except at a drive's
// root ("C:\x\grab.exe" gives "C:\x", "C:\grab.exe" gives "C:\").
std::wstring ProgramFolderFromPath(const std::wstring& exePath);

}  // namespace vx
