#include "units.h"

#include <cmath>
#include <limits>

namespace vx {

int32_t Nearest(double value) {
    if (std::isnan(value)) return 0;
    constexpr double lo = std::numeric_limits<int32_t>::min();
    constexpr double hi = std::numeric_limits<int32_t>::max();
    if (value <= lo) return std::numeric_limits<int32_t>::min();
    if (value >= hi) return std::numeric_limits<int32_t>::max();
    const double floor = std::floor(value);
    const double diff = value - floor;
    double result = floor;
    if (diff > 0.5) {
        result = floor + 1.0;
    } else if (diff == 0.5) {
        result = std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
    }
    return static_cast<int32_t>(result);
}

double TwipsPerPixel(int dpi) { return dpi > 0 ? 1440.0 / dpi : 15.0; }

int32_t TwipsToPixels(double twips, double twipsPerPixel) { return Nearest(twips / twipsPerPixel); }


}  // namespace vx
