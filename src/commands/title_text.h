#pragma once
// The window title after an open. Portable: no <windows.h>.
#include <string>

namespace vx {

// Program name, "─[", file name, "(", width, "x", height, ") ]", with the size in pixels.
std::wstring OpenedTitle(const std::wstring& programName, const std::wstring& fileName,
                         long widthPixels, long heightPixels);

}  // namespace vx
