#pragma once
// Writing a bitmap's rows into an open file as a BMP, band by band, never holding a
// copy of the whole frame: 24 bits for true colour, 8 bits with the colour table when
// the picture has a palette.
#include "../platform/gdi.h"

namespace vx {

// Writes everything or fails with the last error set.
bool WriteAll(HANDLE file, const void* data, size_t size);

// False with a Win32 error in `error` when the rows could not be read or written.
bool WriteBmp(HANDLE file, HBITMAP bitmap, HPALETTE palette, DWORD& error);

}  // namespace vx
