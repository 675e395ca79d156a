#pragma once
// Capture decisions and sizes as plain arithmetic. Portable: no <windows.h>.
#include <cstdint>

#include "../document/form_state.h"

namespace vx {

constexpr int kRcPalette = 0x100;  // RC_PALETTE bit of RASTERCAPS

// The palette path only on a palette device whose palette has exactly 256 entries.
inline bool UsePalettePath(int rasterCaps, int paletteSize) {
    return (rasterCaps & kRcPalette) != 0 && paletteSize == 256;
}

// A length in a window's scale unit taken to whole pixels:
// twips are divided by the screen's twips per pixel for that axis first; the nearest
// integer, halves to the even one.
int32_t ScaleToPixels(double value, ScaleMode scaleMode, double twipsPerPixel);

// Where a captured block lies on the screen and how large it is, in pixels.
struct CaptureRect {
    int32_t x = 0, y = 0, width = 0, height = 0;
};

// The part of the screen a window occupies as the user sees it: the compositor's
// visible frame when it reported a non-empty one, else the outer window rectangle
// (32-bit differences of its edges).
CaptureRect VisibleFrame(bool frameKnown, int32_t frameLeft, int32_t frameTop, int32_t frameRight,
                         int32_t frameBottom, int32_t windowLeft, int32_t windowTop, int32_t windowRight,
                         int32_t windowBottom);

}  // namespace vx
