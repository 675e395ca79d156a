#pragma once
// Twips, pixels and the rounding rule every conversion uses. Portable: no <windows.h>.
#include <cstdint>

namespace vx {

// Nearest integer, a tie going to the even one (the rule of the number conversions
// the interface was designed with). Values beyond the 32-bit range saturate.
int32_t Nearest(double value);

// 1440 twips per inch: 15 at 96 DPI, 10 at 144 DPI.
double TwipsPerPixel(int dpi);

int32_t TwipsToPixels(double twips, double twipsPerPixel);

}  // namespace vx
