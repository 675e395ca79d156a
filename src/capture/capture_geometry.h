#pragma once
// Capture decisions and sizes as plain arithmetic. Portable: no <windows.h>.

namespace vx {

constexpr int kRcPalette = 0x100;  // RC_PALETTE bit of RASTERCAPS

// The palette path only on a palette device whose palette has exactly 256 entries.
inline bool UsePalettePath(int rasterCaps, int paletteSize) {
    return (rasterCaps & kRcPalette) != 0 && paletteSize == 256;
}

}  // namespace vx
