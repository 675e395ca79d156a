#pragma once
// The free-region selection as plain arithmetic: the rectangle, the four inverted
// edges of its band and the place of its size label. Portable: no <windows.h>.
#include <array>
#include <cstdint>
#include <string>

namespace vx {

// Screen pixels; right and bottom exclusive once normalised.
struct SelRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const SelRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

struct SelPoint {
    int32_t x = 0, y = 0;
    bool operator==(const SelPoint& o) const { return x == o.x && y == o.y; }
};

// Orders left <= right and top <= bottom; equal values stay as they are.
void NormalizeRect(SelRect& rect);

// The rectangle spanned by the fixed start point and the free corner, normalised.
SelRect SelectionFromCorners(SelPoint start, SelPoint corner);

// Width or height <= 0: nothing is drawn and nothing is captured.
bool IsEmptySelection(const SelRect& rect);

// One PatBlt(DSTINVERT) call: origin and extent, extents possibly negative.
struct BandEdge {
    int32_t x, y, width, height;
    bool operator==(const BandEdge& o) const {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
};

// Top, left, right, bottom, in that order. The left and bottom edges are filled
// from the far corner back (negative extents) so the four calls together invert a
// one-pixel frame; drawing them twice inverts every pixel back.
std::array<BandEdge, 4> BandEdges(const SelRect& rect);

// "120x45": width, a lower-case x, height.
std::string SizeLabel(const SelRect& rect);

// Top-left corner of a label of size (cx, cy) centred on the rectangle, halves going
// to the even coordinate. It may stick out of a small rectangle.
SelPoint LabelPosition(const SelRect& rect, int32_t cx, int32_t cy);

// How far an arrow key moves the pointer during a selection: one pixel, ten with
// Shift; {0, 0} for any other key.
SelPoint ArrowStep(int key, bool shift);

}  // namespace vx
