#pragma once
// GDI helpers every feature uses: the description of an uncompressed DIB, and copying
// an area of a device context into a new bitmap.
#include <vector>

#include "unique_handle.h"

namespace vx {

// An uncompressed DIB description: a positive height is bottom-up, a negative one top-down.
BITMAPINFO DibInfo(long width, long height, unsigned bitsPerPixel);

// A logical palette of these entries (empty when there are none or it cannot be made).
UniquePalette PaletteFromEntries(const std::vector<PALETTEENTRY>& entries);

// Every bitmap the program makes for a picture comes from here: one place where a
// machine out of memory shows, and where tests can make that happen.
UniqueBitmap NewCompatibleBitmap(HDC dc, int width, int height);
// A 32-bit top-down DIB section, its pixels at *bits (a tall stitched picture is
// written there directly); it fails as NewCompatibleBitmap does.
UniqueBitmap NewDibSection(int width, int height, void** bits);
// Tests only: makes NewCompatibleBitmap and NewDibSection fail from now on (true) or work again (false).
void SimulateBitmapFailure(bool fail);

// Copies width x height pixels at (x, y) of `source` into a new bitmap in the format
// of `formatOf` (the source itself when null), through a memory context. With a
// palette, it is selected and realised in the memory context before the copy and
// both are put back (bitmap first, then palette) before the context goes.
UniqueBitmap CopyArea(HDC source, int x, int y, int width, int height, HDC formatOf = nullptr,
                      HPALETTE palette = nullptr);

// The same from a bitmap instead of a device context (a frozen screen, the clipboard's
// bitmap), in the display's format; a 1-bit bitmap stays 1-bit.
UniqueBitmap CopyBitmapArea(HBITMAP source, int x, int y, int width, int height);

}  // namespace vx
