#pragma once
// Reading picture files into pictures (the Windows Imaging Component) and writing a
// picture's bitmap as BMP, JPEG or PNG. Every write goes to a temporary file in the
// destination folder that then replaces the target in one step, so a failed write
// never leaves a damaged or missing file behind.
#include <string>

#include "../capture/unique_handle.h"
#include "picture_format.h"

namespace vx {

class FrmMain;

enum class PictureStatus { Ok, NoImage, CannotRead, CannotDecode, TooLarge, CannotWrite };

struct PictureOutcome {
    PictureStatus status = PictureStatus::Ok;
    DWORD error = 0;  // the Win32 error behind CannotRead / CannotWrite, when known
    bool ok() const { return status == PictureStatus::Ok; }
};

// Decodes BMP, JPEG, PNG, GIF or TIFF (the first frame) into a new picture that owns
// its bitmap. Sizes beyond the limits are refused before any pixel memory is taken.
ComPtr<IPicture> LoadPictureFile(const std::wstring& path, PictureOutcome& outcome);

// Writes the bitmap (with its palette, if any) to `path` in `format`.
PictureOutcome SavePictureFile(HBITMAP bitmap, HPALETTE palette, const std::wstring& path, PictureFileFormat format);

// Writes a BMP to `path`; when that fails and a `fallback` is given, to the fallback,
// and `path` then names the file that was written.
PictureOutcome SaveBmpOrFallback(HBITMAP bitmap, HPALETTE palette, std::wstring& path, const std::wstring& fallback);

// One sentence for the user about a failure on `path`, from the string table.
std::wstring DescribeFailure(const FrmMain& form, const PictureOutcome& outcome, const std::wstring& path);

}  // namespace vx
