#pragma once
// Capture decisions and sizes as plain arithmetic. Portable: no <windows.h>.
#include <cstdint>

#include "../platform/geometry.h"

namespace vx {

constexpr int kRcPalette = 0x100;  // RC_PALETTE bit of RASTERCAPS

// The palette path only on a palette device whose palette has exactly 256 entries.
inline bool UsePalettePath(int rasterCaps, int paletteSize) {
    return (rasterCaps & kRcPalette) != 0 && paletteSize == 256;
}

// The part of the screen a window occupies as the user sees it, in pixels: the
// compositor's visible frame when it reported a non-empty one, else the outer window
// rectangle.
Rect VisibleFrame(bool frameKnown, const Rect& frame, const Rect& window);

}  // namespace vx
