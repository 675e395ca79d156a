#pragma once
// The free-region selection as plain arithmetic: the rectangle, the four inverted
// edges of its band and the place of its size label. Portable: no <windows.h>.
#include <array>
#include <cstdint>
#include <string>

#include "../platform/geometry.h"

namespace vx {

// The rectangle spanned by the fixed start point and the free corner, normalised
// (screen pixels, right and bottom exclusive).
Rect SelectionFromCorners(Point start, Point corner);

// Top, left, right, bottom, each one PatBlt(DSTINVERT) call from (left, top) over
// (Width(), Height()). The left and bottom edges are filled from the far corner back
// (right or bottom before left or top: negative extents) so the four calls together
// invert a one-pixel frame; drawing them twice inverts every pixel back.
std::array<Rect, 4> BandEdges(const Rect& rect);

// "120x45": width, a lower-case x, height.
std::string SizeLabel(const Rect& rect);

// Top-left corner of a label of size (cx, cy) centred on the rectangle, halves going
// to the even coordinate. It may stick out of a small rectangle.
Point LabelPosition(const Rect& rect, int32_t cx, int32_t cy);

// A selection smaller than the system's drag distance (dx, dy) each way: a click,
// with whatever a hand's jitter added.
bool ClickNotDrag(const Rect& selection, int32_t dx, int32_t dy);

// How far an arrow key moves the pointer during a selection: one pixel, ten with
// Shift; {0, 0} for any other key.
Point ArrowStep(int key, bool shift);

}  // namespace vx
