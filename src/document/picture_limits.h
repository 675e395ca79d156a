#pragma once
// How large a picture may be, whether it is opened or captured. Portable.
#include <cstdint>

namespace vx {

// No side above 2^20 pixels and no more than 64 Mi pixels (256 MB at 32 bits).
// Pictures taller than the old 16-bit window limits are fine: the view paints any size.
constexpr std::uint64_t kMaxPictureSide = std::uint64_t{1} << 20;
constexpr std::uint64_t kMaxPicturePixels = std::uint64_t{1} << 26;

}  // namespace vx
