#pragma once
// Which file format a name asks for, and the filter of the file dialogs. Portable.
#include <string>

namespace vx {

enum class PictureFileFormat { Bmp, Jpeg, Png, Gif, Tiff };

// ".jpg"/".jpeg" give JPEG, ".png" PNG, ".gif" GIF, ".tif"/".tiff" TIFF (any case) at the
// end of the name as the system stores it; every other name gets BMP.
PictureFileFormat FormatForPath(const std::wstring& path);

// The path as the system stores it: trailing dots and blanks of the last component dropped.
std::wstring StoredPath(const std::wstring& path);

// Whether the last component names a device (CON, NUL, COM1, "nul.png", ...), not a file.
bool IsDeviceName(const std::wstring& path);

// The filter of the open and save dialogs, "description|pattern|..." as stored in CDopen.
extern const wchar_t kPictureFilter[];
// The bar-separated filter as the common dialogs want it: pieces ended by NUL, the
// list ended by an extra NUL (the returned string holds the inner NULs).
std::wstring DialogFilter(const std::wstring& barSeparated);

}  // namespace vx
