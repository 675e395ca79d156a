#pragma once
// Turning a bitmap (and the palette it was taken with) into the picture object the
// picture box holds.
#include "../platform/unique_handle.h"

namespace vx {

// Wraps bitmap and palette (may be null) in the standard picture object. The bitmap is
// the standard object's from then on; the palette stays with one owner, a thin front
// over that object, which answers for it and frees it with the last reference. On
// failure both handles are freed here, so nothing leaks; the result is then empty.
ComPtr<IPicture> CreatePictureFromBitmap(UniqueBitmap bitmap, UniquePalette palette);

}  // namespace vx
