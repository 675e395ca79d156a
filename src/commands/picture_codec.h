#pragma once
// The imaging component's side of pictures: decoding a file's first frame into a
// screen-format bitmap, and encoding a bitmap as JPEG, PNG, GIF or TIFF. Reached
// through COM only, so the imaging DLL is never looked up beside the program.
#include <string>

#include "../platform/unique_handle.h"
#include "file_format.h"

struct IWICImagingFactory;
struct IWICBitmapSource;

namespace vx {

ComPtr<IWICImagingFactory> ImagingFactory();

struct Decoded {
    UniqueBitmap bitmap;
    bool noMemory = false;  // it decodes, but its bitmap could not be made
};

// A decoded frame in the screen's own format (a DIB on a palette display). Pictures
// with transparency come out flattened onto white, as picture viewers show them;
// pictures without it come out pixel for pixel.
Decoded DecodeIntoBitmap(IWICImagingFactory* factory, IWICBitmapSource* frame, UINT width, UINT height);

// Encodes into memory; the caller writes the bytes. False with a Win32 error.
bool EncodeWithWic(HBITMAP bitmap, HPALETTE palette, PictureFileFormat format, ComPtr<IStream>& encoded,
                   DWORD& error);

}  // namespace vx
