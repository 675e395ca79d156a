#pragma once
// Writing a bitmap's rows into an open file as a BMP, band by band, never holding a
// copy of the whole frame: 24 bits for true colour, 8 bits with the colour table when
// the picture has a palette.
#include "../document/outcome.h"
#include "../platform/gdi.h"

namespace vx {

// Writes everything, or CannotWrite with the system's reason.
Outcome WriteAll(HANDLE file, const void* data, size_t size);

// CannotWrite, with the reason, when the rows could not be read or written.
Outcome WriteBmp(HANDLE file, HBITMAP bitmap, HPALETTE palette);

}  // namespace vx
