#pragma once
// The imaging component's side of pictures: decoding a file's first frame into a
// screen-format bitmap, and encoding a bitmap as JPEG, PNG, GIF or TIFF. Reached
// through COM only, so the imaging DLL is never looked up beside the program.
#include <string>

#include "../document/outcome.h"
#include "../platform/unique_handle.h"
#include "bmp_indexed.h"
#include "file_format.h"

struct IWICImagingFactory;
struct IWICBitmapSource;

namespace vx {

ComPtr<IWICImagingFactory> ImagingFactory();

// A decoded frame in the screen's own format (a DIB on a palette display). Pictures
// whose pixel format has alpha, or whose palette has a transparent entry, come out
// flattened onto white, as picture viewers show them; others pixel for pixel. NoMemory
// when it decodes but its bitmap could not be made, CannotDecode when no road gives rows.
Result<UniqueBitmap> DecodeIntoBitmap(IWICImagingFactory* factory, IWICBitmapSource* frame, UINT width, UINT height);

// An indexed BMP decoded by the program, into the same kind of bitmap.
Result<UniqueBitmap> IndexedIntoBitmap(const IndexedPicture& picture);

// Encodes into memory; the caller writes the bytes.
Result<ComPtr<IStream>> EncodeWithWic(HBITMAP bitmap, HPALETTE palette, PictureFileFormat format);

}  // namespace vx
