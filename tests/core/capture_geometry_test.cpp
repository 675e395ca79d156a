#include "capture/capture_geometry.h"

#include <gtest/gtest.h>

#include <vector>

namespace vx {
namespace {

TEST(CaptureGeometry, PalettePathScaleUnitsAndTheVisibleFrame) {
    // The palette path only for a 256-entry palette device; other capability bits do
    // not matter.
    const struct { int rasterCaps, paletteSize; bool palette; } devices[] = {
        {0x100, 256, true}, {0x100 | 0x7E99, 256, true}, {0x100, 16, false}, {0x100, 0, false},
        {0x100, 65536, false}, {0x7E99, 256, false}, {0, 0, false}};
    for (const auto& d : devices)
        EXPECT_EQ(UsePalettePath(d.rasterCaps, d.paletteSize), d.palette) << d.rasterCaps << " " << d.paletteSize;

    // Twips are divided by twips per pixel, pixels taken as they are; both to the
    // nearest integer, halves to even.
    const struct { double value; ScaleMode mode; double twipsPerPixel; int32_t pixels; } lengths[] = {
        {8550, ScaleMode::Twips, 15, 570},  {5700, ScaleMode::Twips, 10, 570},  {4275, ScaleMode::Twips, 7.5, 570},
        {22.5, ScaleMode::Twips, 15, 2},    {37.5, ScaleMode::Twips, 15, 2},    {37.6, ScaleMode::Twips, 15, 3},
        {554, ScaleMode::Pixels, 15, 554},  {2.5, ScaleMode::Pixels, 15, 2},    {3.5, ScaleMode::Pixels, 15, 4},
        {1237 * 1440.0 / 168, ScaleMode::Twips, 1440.0 / 168, 1237},  // a non-integral twips per pixel
    };
    for (const auto& l : lengths) EXPECT_EQ(ScaleToPixels(l.value, l.mode, l.twipsPerPixel), l.pixels) << l.value;

    // The reported frame inside invisible resize borders; else (not reported or empty)
    // the outer rectangle, also when maximised off the edges.
    const struct { bool known; int32_t frame[4], window[4]; std::vector<int32_t> expected; } frames[] = {
        {true, {107, 100, 893, 593}, {100, 100, 900, 600}, {107, 100, 786, 493}},
        {false, {107, 100, 893, 593}, {100, 100, 900, 600}, {100, 100, 800, 500}},
        {true, {0, 0, 0, 0}, {-8, -8, 1928, 1088}, {-8, -8, 1936, 1096}},
    };
    for (const auto& f : frames) {
        const CaptureRect r = VisibleFrame(f.known, f.frame[0], f.frame[1], f.frame[2], f.frame[3], f.window[0],
                                           f.window[1], f.window[2], f.window[3]);
        EXPECT_EQ((std::vector{r.x, r.y, r.width, r.height}), f.expected);
    }
}

}  // namespace
}  // namespace vx
