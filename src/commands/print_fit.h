#pragma once
// Where a picture goes on the printed page. Portable.
#include "../platform/geometry.h"

namespace vx {

// The largest rectangle that shows an image of square pixels with its shape kept,
// centred in an area of the given size and resolution (device units).
Rect FitCentered(long imageWidth, long imageHeight, long areaWidth, long areaHeight, long dpiX, long dpiY);

}  // namespace vx
