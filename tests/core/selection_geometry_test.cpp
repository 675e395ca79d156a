#include "capture/selection_geometry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vx {
namespace {

TEST(SelectionGeometry, NormalizeOrdersEachAxisAndKeepsEqualValues) {
    struct Case { SelRect in, out; };
    const Case cases[] = {
        {{10, 20, 130, 65}, {10, 20, 130, 65}},    // already ordered
        {{130, 65, 10, 20}, {10, 20, 130, 65}},    // dragged up and left
        {{130, 20, 10, 65}, {10, 20, 130, 65}},    // only x reversed
        {{10, 65, 130, 20}, {10, 20, 130, 65}},    // only y reversed
        {{-5, -7, -50, -70}, {-50, -70, -5, -7}},  // left of and above the primary monitor
        {{40, 40, 40, 40}, {40, 40, 40, 40}},
    };
    for (const Case& c : cases) {
        SelRect r = c.in;
        NormalizeRect(r);
        EXPECT_EQ(r, c.out) << c.in.left << "," << c.in.top << "," << c.in.right << "," << c.in.bottom;
    }
    // Mirrored drags give the same rectangle, so the label never shows a negative number.
    EXPECT_EQ(SelectionFromCorners({200, 100}, {320, 145}), SelectionFromCorners({320, 145}, {200, 100}));
    EXPECT_EQ(SizeLabel(SelectionFromCorners({320, 145}, {200, 100})), "120x45");
}

TEST(SelectionGeometry, EmptyWhenWidthOrHeightIsZero) {
    EXPECT_TRUE(IsEmptySelection({5, 5, 5, 5}));     // a click without a drag
    EXPECT_TRUE(IsEmptySelection({5, 5, 90, 5}));    // a horizontal line
    EXPECT_TRUE(IsEmptySelection({5, 5, 5, 90}));
    EXPECT_TRUE(IsEmptySelection({9, 9, 5, 5}));     // not normalised
    EXPECT_FALSE(IsEmptySelection({5, 5, 6, 6}));    // one pixel
    EXPECT_TRUE(IsEmptySelection({INT32_MAX, 0, INT32_MIN, 10}));
}

TEST(SelectionGeometry, EdgeTableUsesTheNegativeExtentsForLeftAndBottom) {
    const auto e = BandEdges({100, 50, 220, 95});
    EXPECT_EQ(e[0], (BandEdge{100, 50, 120, 1}));    // top
    EXPECT_EQ(e[1], (BandEdge{100, 95, 1, -45}));    // left, from the bottom row upward
    EXPECT_EQ(e[2], (BandEdge{219, 50, 1, 45}));     // right, in column right - 1
    EXPECT_EQ(e[3], (BandEdge{220, 94, -120, 1}));   // bottom, from column right leftward
}

// Inverts pixels as GDI's PatBlt(DSTINVERT) does: a negative extent spans back from
// the origin, the origin's own row or column included.
void Invert(std::vector<std::string>& grid, const BandEdge& e) {
    int x0 = e.x, x1 = e.x + e.width, y0 = e.y, y1 = e.y + e.height;
    if (x1 < x0) { x0 = x1 + 1; x1 = e.x + 1; }
    if (y1 < y0) { y0 = y1 + 1; y1 = e.y + 1; }
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            char& c = grid[static_cast<size_t>(y)][static_cast<size_t>(x)];
            c = c == '.' ? '#' : '.';
        }
}

TEST(SelectionGeometry, BandInvertsTheFrameAndASecondDrawingErasesIt) {
    const std::vector<std::string> blank(6, ".......");
    std::vector<std::string> grid = blank;
    const SelRect rect{1, 1, 5, 4};  // 4 x 3
    for (const BandEdge& e : BandEdges(rect)) Invert(grid, e);
    // Top edge in row top, right edge in column right - 1; the left and bottom edges,
    // drawn back from the far corner, reach one pixel past the rectangle, and the
    // corners two edges share come out uninverted.
    const std::vector<std::string> expected = {
        ".......",
        ".###...",
        ".#..#..",
        ".###.#.",
        ".#.....",
        ".......",
    };
    EXPECT_EQ(grid, expected);
    for (const BandEdge& e : BandEdges(rect)) Invert(grid, e);
    EXPECT_EQ(grid, blank);
}

TEST(SelectionGeometry, LabelIsCentredWithHalvesToEven) {
    // 120 x 45 at (100, 50): centre (160, 72.5).
    const SelRect r{100, 50, 220, 95};
    EXPECT_EQ(SizeLabel(r), "120x45");
    EXPECT_EQ(LabelPosition(r, 40, 16), (SelPoint{140, 64}));   // 64.5 -> 64
    EXPECT_EQ(LabelPosition(r, 41, 15), (SelPoint{140, 65}));   // 139.5 -> 140, 65
    EXPECT_EQ(LabelPosition(r, 43, 14), (SelPoint{138, 66}));   // 138.5 -> 138, 65.5 -> 66
    // A label wider than the rectangle sticks out on both sides.
    EXPECT_EQ(LabelPosition({10, 10, 12, 11}, 20, 10), (SelPoint{1, 6}));  // 1, 5.5 -> 6
    // Far from the origin the sum must not overflow.
    EXPECT_EQ(LabelPosition({INT32_MAX - 10, 0, INT32_MAX, 2}, 2, 2), (SelPoint{INT32_MAX - 6, 0}));
}

}  // namespace
}  // namespace vx
