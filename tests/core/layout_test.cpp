#include "main_window/layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace vx {
namespace {

// The designed window: client 8310 x 5625 twips, bars 255, status bar 375, toolbar 360,
// the viewport as it is now 8055 x 4665.
LayoutInput Designed(double imageW, double imageH, double clientW = 8310, double clientH = 5625) {
    return {WindowState::Normal, clientW, clientH, 255, 255, 375, 360, 0, 8055, 4665, imageW, imageH};
}

// Viewport, then each bar's maximum and trough step (-1 for a hidden bar).
std::vector<double> Summary(const LayoutResult& r) {
    return {r.viewWidth, r.viewHeight, r.h.visible ? r.h.maximum : -1.0, r.h.visible ? r.h.pageStep : -1.0,
            r.v.visible ? r.v.maximum : -1.0, r.v.visible ? r.v.pageStep : -1.0};
}

TEST(LayoutPass, ViewportBarsAndRangesForEveryShapeOfPicture) {
    const struct { const char* name; LayoutInput in; std::vector<double> expected; } cases[] = {
        {"worked example, 1280 x 960 pixels", Designed(19200, 14400), {8055, 4635, 11145, 2685, 9765, 1545}},
        // Exactly as wide as the viewport fits; exactly as tall gets a bar with nothing to scroll.
        {"equal to the viewport", Designed(8055, 4635), {8055, 4890, -1, -1, 0, 1630}},
        {"one twip wider", Designed(8056, 5000), {8055, 4635, 1, 2685, 365, 1545}},
        // A third of a viewport 2 twips wide is 0: the trough steps a line.
        {"tiny viewport", Designed(5000, 5000, 255 + 2), {2, 4635, 4998, 15, 365, 1545}},
        {"40000 x 30000 pixels, far beyond 16 bits", Designed(600000, 450000),
         {8055, 4635, 600000 - 8055, 2685, 450000 - 4635, 1545}},
        // A hidden bar's strip goes to the viewport on its own side; the range ends where
        // the picture's far edge meets the widened viewport's.
        {"tall", Designed(1000, 20000), {8055, 4890, -1, -1, 20000 - 4890, 1630}},
        {"wide", Designed(20000, 1000), {8310, 4635, 20000 - 8310, 2770, -1, -1}},
        {"wider than the bare viewport only", Designed(8100, 1000), {8310, 4635, 0, 2770, -1, -1}},
        {"small", Designed(100, 100), {8310, 4890, -1, -1, -1, -1}},
        // Too small a window for a positive viewport keeps the previous one.
        {"too small a window", Designed(100, 100, 200, 900), {8055 + 255, 4665 + 255, -1, -1, -1, -1}},
        // While a region is selected the window's unit is pixels: sizes come in pixels.
        {"in pixels", {WindowState::Normal, 554, 375, 17, 17, 25, 24, 0, 0, 0, 19200, 14400},
         {537, 309, 19200 - 537, 179, 14400 - 309, 103}},
    };
    for (const auto& c : cases) {
        const LayoutResult r = LayoutPass(c.in);
        EXPECT_TRUE(r.ran) << c.name;
        EXPECT_EQ(Summary(r), c.expected) << c.name;
    }
    const LayoutResult worked = LayoutPass(Designed(19200, 14400));
    EXPECT_EQ((std::vector{worked.hbarTop, worked.hbarWidth, worked.vbarLeft, worked.vbarHeight}),
              (std::vector<double>{4995, 8055, 8055, 4635}));
    EXPECT_EQ((std::vector{worked.h.lineStep, worked.v.lineStep, worked.h.pageSize}), (std::vector{15, 15, 8055}));
    const LayoutResult small = LayoutPass(Designed(100, 100, 200, 900));
    EXPECT_EQ((std::vector{small.hbarTop, small.hbarWidth, small.vbarHeight}), (std::vector<double>{360 + 4665, 8055, 4665}));
    LayoutInput minimised = Designed(19200, 14400);
    minimised.state = WindowState::Minimized;
    EXPECT_FALSE(LayoutPass(minimised).ran);
}

}  // namespace
}  // namespace vx
