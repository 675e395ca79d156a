#include "main_window/layout.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

// The designed window: client 8310 x 5625 twips, toolbar 360, status bar 375, bars 255.
LayoutInput Designed(double imageW, double imageH) {
    LayoutInput in;
    in.clientWidth = 8310;
    in.clientHeight = 5625;
    in.vbarWidth = 255;
    in.hbarHeight = 255;
    in.statusHeight = 375;
    in.toolbarHeight = 360;
    in.viewWidth = 8055;
    in.viewHeight = 4665;
    in.imageWidth = imageW;
    in.imageHeight = imageH;
    return in;
}

TEST(LayoutPass, WorkedExample) {
    const LayoutResult r = LayoutPass(Designed(19200, 14400));  // 1280 x 960 pixels
    ASSERT_TRUE(r.ran);
    EXPECT_EQ(r.viewWidth, 8055);
    EXPECT_EQ(r.viewHeight, 4635);
    EXPECT_EQ(r.hbarTop, 4995);
    EXPECT_EQ(r.hbarWidth, 8055);
    EXPECT_EQ(r.vbarLeft, 8055);
    EXPECT_EQ(r.vbarHeight, 4635);
    EXPECT_TRUE(r.h.visible);
    EXPECT_EQ(r.h.maximum, 11145);
    EXPECT_EQ(r.h.pageStep, 2685);
    EXPECT_EQ(r.h.lineStep, 15);
    EXPECT_TRUE(r.v.visible);
    EXPECT_EQ(r.v.maximum, 9765);
    EXPECT_EQ(r.v.pageStep, 1545);
    EXPECT_EQ(r.v.lineStep, 15);
}

TEST(LayoutPass, EqualityEdgesDifferBetweenDirections) {
    // Exactly as wide as the viewport: fits. Exactly as tall: a bar with maximum 0.
    const LayoutResult r = LayoutPass(Designed(8055, 4635));
    EXPECT_FALSE(r.h.visible);
    ASSERT_TRUE(r.v.visible);
    EXPECT_EQ(r.v.maximum, 0);
    const LayoutResult wider = LayoutPass(Designed(8056, 5000));
    EXPECT_TRUE(wider.h.visible);
    EXPECT_EQ(wider.h.maximum, 1);
}

TEST(LayoutPass, MinimisedChangesNothing) {
    LayoutInput in = Designed(19200, 14400);
    in.state = WindowState::Minimized;
    EXPECT_FALSE(LayoutPass(in).ran);
}

TEST(LayoutPass, TooSmallWindowKeepsThePreviousViewport) {
    LayoutInput in = Designed(100, 100);
    in.clientWidth = 200;   // narrower than the vertical bar's strip plus nothing: negative
    in.clientHeight = 900;  // 900 - 255 - 375 - 360 < 0
    const LayoutResult r = LayoutPass(in);
    EXPECT_EQ(r.hbarWidth, 8055);
    EXPECT_EQ(r.vbarHeight, 4665);
    EXPECT_EQ(r.hbarTop, 360 + 4665);
}

TEST(LayoutPass, TinyViewportPageStepFallsBackToLineStep) {
    LayoutInput in = Designed(5000, 5000);
    in.clientWidth = 255 + 2;  // a viewport 2 twips wide: a third of it is 0
    const LayoutResult r = LayoutPass(in);
    ASSERT_TRUE(r.h.visible);
    EXPECT_EQ(r.h.pageStep, 15);
    EXPECT_EQ(r.v.pageStep, 4635 / 3);
}

TEST(LayoutPass, ImagesFarBeyondThe16BitRangeStayReachable) {
    // 40000 x 30000 pixels: 600000 twips, far above 32767.
    const LayoutResult r = LayoutPass(Designed(600000, 450000));
    EXPECT_EQ(r.h.maximum, 600000 - 8055);
    EXPECT_EQ(r.v.maximum, 450000 - 4635);
    EXPECT_EQ(r.h.pageSize, 8055);
}

TEST(LayoutPass, HiddenBarStripGoesToItsOwnDirection) {
    // Only the vertical bar shown: the viewport takes the horizontal bar's strip below
    // it, and does not grow under the vertical bar.
    const LayoutResult tall = LayoutPass(Designed(1000, 20000));
    EXPECT_FALSE(tall.h.visible);
    EXPECT_TRUE(tall.v.visible);
    EXPECT_EQ(tall.viewWidth, 8055);
    EXPECT_EQ(tall.viewHeight, 4635 + 255);
    EXPECT_EQ(tall.v.maximum, 20000 - (4635 + 255));
    // Only the horizontal bar: the viewport takes the vertical bar's strip at its right,
    // and the range ends where the image's right edge meets the widened viewport's.
    const LayoutResult wide = LayoutPass(Designed(20000, 1000));
    EXPECT_EQ(wide.viewWidth, 8055 + 255);
    EXPECT_EQ(wide.viewHeight, 4635);
    EXPECT_EQ(wide.h.maximum, 20000 - (8055 + 255));
    EXPECT_EQ(wide.h.pageStep, (8055 + 255) / 3);
    // Wider than the bare viewport but not than the widened one: a bar with nothing to scroll.
    EXPECT_EQ(LayoutPass(Designed(8100, 1000)).h.maximum, 0);
    // Both hidden: everything between toolbar and status bar.
    const LayoutResult none = LayoutPass(Designed(100, 100));
    EXPECT_EQ(none.viewWidth, 8310);
    EXPECT_EQ(none.viewHeight, 5625 - 360 - 375);
}

TEST(LayoutPass, PixelScaleUsesTheSameArithmetic) {
    // While a region is selected the window's unit is pixels: sizes come in pixels.
    LayoutInput in;
    in.clientWidth = 554;
    in.clientHeight = 375;
    in.vbarWidth = 17;
    in.hbarHeight = 17;
    in.statusHeight = 25;
    in.toolbarHeight = 24;
    in.imageWidth = 19200;
    in.imageHeight = 14400;
    const LayoutResult r = LayoutPass(in);
    EXPECT_EQ(r.viewWidth, 537);
    EXPECT_EQ(r.viewHeight, 309);
    EXPECT_EQ(r.h.maximum, 19200 - 537);
    EXPECT_EQ(r.h.pageStep, 179);
}

}  // namespace
}  // namespace vx
