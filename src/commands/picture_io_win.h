#pragma once
// Reading picture files into pictures and writing a picture's bitmap as BMP, JPEG, PNG,
// GIF or TIFF. A file reaches the Windows Imaging Component only once its header has
// bounded all it would decode; indexed BMPs are decoded by the program. Every write
// goes to a temporary file in the destination folder that then replaces the target in
// one step, so a failed write never leaves a damaged or missing file behind.
#include <string>

#include "../document/failure.h"
#include "file_format.h"

namespace vx {

// Decodes BMP, JPEG, PNG, GIF or TIFF (the first frame) into a new picture that owns
// its bitmap. Sizes beyond the limits, or that the header cannot tell, are refused
// before any pixel memory is taken.
Result<ComPtr<IPicture>> LoadPictureFile(const std::wstring& path);

// The same for a picture held in memory (a clipboard's PNG, or a packed DIB behind a
// BMP file header in `prefix`), through the same size checks.
Result<ComPtr<IPicture>> LoadPictureBytes(const void* prefix, size_t prefixSize, const void* data, size_t size);

// Writes the bitmap (with its palette, if any) to `path` in `format`, under the name the
// system stores (trailing dots and blanks dropped). A folder, a device name or a path
// past the classic length limit is refused with its own reason.
Outcome SavePictureFile(HBITMAP bitmap, HPALETTE palette, const std::wstring& path, PictureFileFormat format);

// Writes a BMP to `path`; when that fails and a `fallback` is given, to the fallback,
// and `path` then names the file that was written.
Outcome SaveBmpOrFallback(HBITMAP bitmap, HPALETTE palette, std::wstring& path, const std::wstring& fallback);

}  // namespace vx
