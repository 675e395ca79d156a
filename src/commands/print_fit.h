#pragma once
// Where a picture goes on the printed page. Portable.

namespace vx {

struct PlacedRect {
    long x = 0, y = 0, width = 0, height = 0;
};

// The largest rectangle that shows an image of square pixels with its shape kept,
// centred in an area of the given size and resolution (device units).
PlacedRect FitCentered(long imageWidth, long imageHeight, long areaWidth, long areaHeight, long dpiX, long dpiY);

}  // namespace vx
