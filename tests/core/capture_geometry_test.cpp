#include "capture/capture_geometry.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(CaptureGeometry, PalettePathOnlyForA256EntryPaletteDevice) {
    struct Case { int rasterCaps, paletteSize; bool expected; };
    const Case cases[] = {
        {0x100, 256, true},           // 8-bit pseudo-colour display
        {0x100 | 0x7E99, 256, true},  // other capability bits do not matter
        {0x100, 16, false},           // a 16-entry palette device gets none
        {0x100, 0, false},
        {0x100, 65536, false},
        {0x7E99, 256, false},         // 256 reported without RC_PALETTE: true colour
        {0, 0, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UsePalettePath(c.rasterCaps, c.paletteSize), c.expected)
            << "caps " << c.rasterCaps << " size " << c.paletteSize;
    }
}

TEST(CaptureGeometry, ScaleUnitToPixels) {
    // Twips (1) are divided by twips per pixel, pixels (3) are taken as they are;
    // both go to the nearest integer with halves to even.
    EXPECT_EQ(ScaleToPixels(8550, ScaleMode::Twips, 15), 570);
    EXPECT_EQ(ScaleToPixels(5700, ScaleMode::Twips, 10), 570);   // 144 DPI
    EXPECT_EQ(ScaleToPixels(4275, ScaleMode::Twips, 7.5), 570);  // 192 DPI
    EXPECT_EQ(ScaleToPixels(22.5, ScaleMode::Twips, 15), 2);     // 1.5
    EXPECT_EQ(ScaleToPixels(37.5, ScaleMode::Twips, 15), 2);     // 2.5
    EXPECT_EQ(ScaleToPixels(37.6, ScaleMode::Twips, 15), 3);
    EXPECT_EQ(ScaleToPixels(554, ScaleMode::Pixels, 15), 554);
    EXPECT_EQ(ScaleToPixels(2.5, ScaleMode::Pixels, 15), 2);
    EXPECT_EQ(ScaleToPixels(3.5, ScaleMode::Pixels, 15), 4);
    // A window size in twips from a non-integral twips per pixel comes back whole.
    const double tpp = 1440.0 / 168;
    EXPECT_EQ(ScaleToPixels(1237 * tpp, ScaleMode::Twips, tpp), 1237);
}

TEST(CaptureGeometry, VisibleFramePrefersTheReportedFrame) {
    // A frame inside invisible resize borders, as a compositor reports it.
    CaptureRect r = VisibleFrame(true, 107, 100, 893, 593, 100, 100, 900, 600);
    EXPECT_EQ(r.x, 107);
    EXPECT_EQ(r.y, 100);
    EXPECT_EQ(r.width, 786);
    EXPECT_EQ(r.height, 493);
    // Not reported, or empty: the outer rectangle.
    r = VisibleFrame(false, 107, 100, 893, 593, 100, 100, 900, 600);
    EXPECT_EQ(r.width, 800);
    EXPECT_EQ(r.height, 500);
    r = VisibleFrame(true, 0, 0, 0, 0, -8, -8, 1928, 1088);  // maximised off the edges
    EXPECT_EQ(r.x, -8);
    EXPECT_EQ(r.y, -8);
    EXPECT_EQ(r.width, 1936);
    EXPECT_EQ(r.height, 1096);
}

}  // namespace
}  // namespace vx
