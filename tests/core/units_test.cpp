#include "platform/units.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(Units, NearestTakesHalvesToEven) {
    EXPECT_EQ(Nearest(0.5), 0);
    EXPECT_EQ(Nearest(1.5), 2);
    EXPECT_EQ(Nearest(2.5), 2);
    EXPECT_EQ(Nearest(-0.5), 0);
    EXPECT_EQ(Nearest(-1.5), -2);
    EXPECT_EQ(Nearest(-2.5), -2);
    EXPECT_EQ(Nearest(2.4999), 2);
    EXPECT_EQ(Nearest(2.5001), 3);
    EXPECT_EQ(Nearest(1e12), INT32_MAX);
    EXPECT_EQ(Nearest(-1e12), INT32_MIN);
}

TEST(Units, TwipsAndPixelsAtCommonDpis) {
    EXPECT_EQ(TwipsPerPixel(96), 15);
    EXPECT_EQ(TwipsPerPixel(144), 10);
    EXPECT_EQ(TwipsPerPixel(192), 7.5);
    EXPECT_EQ(TwipsToPixels(1000, 15), 67);   // 66.67
    EXPECT_EQ(TwipsToPixels(6500, 15), 433);  // 433.33
    EXPECT_EQ(TwipsToPixels(22.5, 15), 2);    // 1.5 goes to the even 2
    EXPECT_EQ(TwipsToPixels(37.5, 15), 2);    // 2.5 goes to the even 2
}

}  // namespace
}  // namespace vx
