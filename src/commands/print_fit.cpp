#include "print_fit.h"

#include <algorithm>

namespace vx {

PlacedRect FitCentered(long imageWidth, long imageHeight, long areaWidth, long areaHeight, long dpiX, long dpiY) {
    PlacedRect r;
    if (imageWidth <= 0 || imageHeight <= 0 || areaWidth <= 0 || areaHeight <= 0 || dpiX <= 0 || dpiY <= 0) return r;
    // Work in inches so that a printer with unequal resolutions keeps the shape.
    const double scale = std::min(static_cast<double>(areaWidth) / dpiX / imageWidth,
                                  static_cast<double>(areaHeight) / dpiY / imageHeight);
    r.width = std::min(areaWidth, std::max(1L, static_cast<long>(imageWidth * scale * dpiX + 0.5)));
    r.height = std::min(areaHeight, std::max(1L, static_cast<long>(imageHeight * scale * dpiY + 0.5)));
    r.x = (areaWidth - r.width) / 2;
    r.y = (areaHeight - r.height) / 2;
    return r;
}
}  // namespace vx
