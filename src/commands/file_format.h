#pragma once
// Which file format a name asks for, and the filter of the file dialogs. Portable.
#include <string>

namespace vx {

enum class PictureFileFormat { Bmp, Jpeg, Png, Gif, Tiff };

// ".jpg"/".jpeg" give JPEG, ".png" PNG, ".gif" GIF, ".tif"/".tiff" TIFF (any case);
// every other name gets BMP.
PictureFileFormat FormatForPath(const std::wstring& path);

// The filter of the open and save dialogs, "description|pattern|..." as stored in CDopen.
extern const wchar_t kPictureFilter[];
// The bar-separated filter as the common dialogs want it: pieces ended by NUL, the
// list ended by an extra NUL (the returned string holds the inner NULs).
std::wstring DialogFilter(const std::wstring& barSeparated);

}  // namespace vx
