#include "capture/selection_geometry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vx {
namespace {

// Inverts pixels as GDI's PatBlt(DSTINVERT) does: a negative extent spans back from
// the origin, the origin's own row or column included.
void Invert(std::vector<std::string>& grid, const Rect& e) {
    int x0 = e.left, x1 = e.right, y0 = e.top, y1 = e.bottom;
    if (x1 < x0) { x0 = x1 + 1; x1 = e.left + 1; }
    if (y1 < y0) { y0 = y1 + 1; y1 = e.top + 1; }
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            char& c = grid[static_cast<size_t>(y)][static_cast<size_t>(x)];
            c = c == '.' ? '#' : '.';
        }
}

TEST(SelectionGeometry, RectangleBandAndLabel) {
    // Mirrored drags give the same rectangle, so the label never shows a negative number.
    EXPECT_EQ(SelectionFromCorners({200, 100}, {320, 145}), SelectionFromCorners({320, 145}, {200, 100}));
    EXPECT_EQ(SizeLabel(SelectionFromCorners({320, 145}, {200, 100})), "120x45");

    // The band drawn on pixels: top edge in row top, right edge in column right - 1; the
    // left and bottom edges, drawn back from the far corner, reach one pixel past the
    // rectangle, and the corners two edges share come out uninverted. Drawn again, it
    // is gone.
    const std::vector<std::string> blank(6, ".......");
    std::vector<std::string> grid = blank;
    for (const Rect& e : BandEdges({1, 1, 5, 4})) Invert(grid, e);
    EXPECT_EQ(grid, (std::vector<std::string>{".......", ".###...", ".#..#..", ".###.#.", ".#.....", "......."}));
    for (const Rect& e : BandEdges({1, 1, 5, 4})) Invert(grid, e);
    EXPECT_EQ(grid, blank);

    // The label centred on 120 x 45 at (100, 50), whose centre is (160, 72.5), halves to
    // even; wider than the rectangle it sticks out; far from the origin nothing overflows.
    const struct { Rect rect; int32_t cx, cy; Point at; } labels[] = {
        {{100, 50, 220, 95}, 40, 16, {140, 64}},  // 64.5 -> 64
        {{100, 50, 220, 95}, 41, 15, {140, 65}},  // 139.5 -> 140
        {{100, 50, 220, 95}, 43, 14, {138, 66}},  // 138.5 -> 138, 65.5 -> 66
        {{10, 10, 12, 11}, 20, 10, {1, 6}},       // 5.5 -> 6
        {{INT32_MAX - 10, 0, INT32_MAX, 2}, 2, 2, {INT32_MAX - 6, 0}},
    };
    for (const auto& l : labels) EXPECT_EQ(LabelPosition(l.rect, l.cx, l.cy), l.at) << l.cx << "x" << l.cy;
}

}  // namespace
}  // namespace vx
