#include "capture/capture_geometry.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(CaptureGeometry, PalettePathAndTheVisibleFrame) {
    // The palette path only for a 256-entry palette device; other capability bits do
    // not matter.
    const struct { int rasterCaps, paletteSize; bool palette; } devices[] = {
        {0x100, 256, true}, {0x100 | 0x7E99, 256, true}, {0x100, 16, false}, {0x100, 0, false},
        {0x100, 65536, false}, {0x7E99, 256, false}, {0, 0, false}};
    for (const auto& d : devices)
        EXPECT_EQ(UsePalettePath(d.rasterCaps, d.paletteSize), d.palette) << d.rasterCaps << " " << d.paletteSize;

    // The reported frame inside invisible resize borders; else (not reported or empty)
    // the outer rectangle, also when maximised off the edges.
    const struct { bool known; Rect frame, window; bool frameWins; } frames[] = {
        {true, {107, 100, 893, 593}, {100, 100, 900, 600}, true},
        {false, {107, 100, 893, 593}, {100, 100, 900, 600}, false},
        {true, {0, 0, 0, 0}, {-8, -8, 1928, 1088}, false},
    };
    for (const auto& f : frames) EXPECT_EQ(VisibleFrame(f.known, f.frame, f.window), f.frameWins ? f.frame : f.window);
}

}  // namespace
}  // namespace vx
