#pragma once
// The selection band: a one-pixel inverted frame and an inverted "120x45" size label,
// drawn straight onto the display. Drawing the same rectangle twice erases it.
#include "../platform/win32.h"
#include "selection_geometry.h"

namespace vx {

void DrawSelectionBand(HDC display, const Rect& rect);

}  // namespace vx
