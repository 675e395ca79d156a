#include "platform/units.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(Units, NearestTakesHalvesToEvenAndTwipsFollowTheDpi) {
    const struct { double value; int32_t nearest; } values[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2}, {2.4999, 2}, {2.5001, 3},
        {1e12, INT32_MAX}, {-1e12, INT32_MIN}};  // beyond 32 bits: saturated
    for (const auto& v : values) EXPECT_EQ(Nearest(v.value), v.nearest) << v.value;
    // 66.67, 433.33, 1.5 and 2.5 pixels.
    EXPECT_EQ((std::vector{TwipsToPixels(1000, 15), TwipsToPixels(6500, 15), TwipsToPixels(22.5, 15), TwipsToPixels(37.5, 15)}),
              (std::vector{67, 433, 2, 2}));
}

}  // namespace
}  // namespace vx
