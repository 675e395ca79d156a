#pragma once
// Path text: joining a folder and a name, the folder and the file name of a path.
// Only a backslash separates. Portable.
#include <string>

namespace vx {

// The last path component ("C:\a\b.bmp" gives "b.bmp", "C:\a\" gives "").
std::wstring GetFileName(const std::wstring& path);

// The folder part of a full path, without a trailing separator except at a drive's
// root ("C:\a\b.bmp" gives "C:\a", "C:\b.bmp" gives "C:\"); empty without a backslash.
// A forward slash also separates, as the system accepts it in a program's own path.
std::wstring FolderOfPath(const std::wstring& path);

// Base name without extension of a program file path ("C:\x\grab.exe" gives "grab").
std::wstring ProgramNameFromPath(const std::wstring& exePath);

// The program's way of joining: one backslash between the folder and the name, none
// added after a folder that ends with one ("C:\" + "Temp" gives "C:\Temp").
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

// Plain joining, only for the language files and the help text, whose names are
// defined as beginning with "\": the folder followed directly by the name. At a drive's
// root ("C:\") the result holds two separators in a row, which the file system accepts.
std::wstring JoinFolderAndFile(const std::wstring& folder, const std::wstring& file);

}  // namespace vx
