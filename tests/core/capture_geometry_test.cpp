#include "capture/capture_geometry.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(CaptureGeometry, ThePalettePathOnlyForA256EntryPaletteDevice) {
    // The palette path only for a 256-entry palette device; other capability bits do
    // not matter.
    const struct { int rasterCaps, paletteSize; bool palette; } devices[] = {
        {0x100, 256, true}, {0x100 | 0x7E99, 256, true}, {0x100, 16, false}, {0x100, 0, false},
        {0x100, 65536, false}, {0x7E99, 256, false}, {0, 0, false}};
    for (const auto& d : devices)
        EXPECT_EQ(UsePalettePath(d.rasterCaps, d.paletteSize), d.palette) << d.rasterCaps << " " << d.paletteSize;
}

}  // namespace
}  // namespace vx
