#include "commands/bmp_layout.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(Pixels, TransparencyIsLaidOverWhiteAndOpaquePixelsStay) {
    // Premultiplied blue, green, red, alpha.
    std::uint8_t px[] = {0, 0, 0, 0,            // fully transparent: white
                         200, 10, 100, 255,     // opaque: unchanged
                         64, 0, 0, 128,         // half-transparent blue
                         255, 255, 255, 255};
    FlattenOntoWhite(px, 4);
    const std::uint8_t expected[] = {255, 255, 255, 255, 200, 10, 100, 255, 191, 127, 127, 255, 255, 255, 255, 255};
    for (size_t i = 0; i < sizeof px; ++i) EXPECT_EQ(px[i], expected[i]) << i;
}

}  // namespace
}  // namespace vx
