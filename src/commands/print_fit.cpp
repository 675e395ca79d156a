#include "print_fit.h"

#include <algorithm>

namespace vx {

Rect FitCentered(long imageWidth, long imageHeight, long areaWidth, long areaHeight, long dpiX, long dpiY) {
    if (imageWidth <= 0 || imageHeight <= 0 || areaWidth <= 0 || areaHeight <= 0 || dpiX <= 0 || dpiY <= 0) return {};
    // Work in inches so that a printer with unequal resolutions keeps the shape.
    const double scale = std::min(static_cast<double>(areaWidth) / dpiX / imageWidth,
                                  static_cast<double>(areaHeight) / dpiY / imageHeight);
    const long width = std::min(areaWidth, std::max(1L, static_cast<long>(imageWidth * scale * dpiX + 0.5)));
    const long height = std::min(areaHeight, std::max(1L, static_cast<long>(imageHeight * scale * dpiY + 0.5)));
    return Rect::FromSize(static_cast<int32_t>((areaWidth - width) / 2), static_cast<int32_t>((areaHeight - height) / 2),
                          static_cast<int32_t>(width), static_cast<int32_t>(height));
}
}  // namespace vx
