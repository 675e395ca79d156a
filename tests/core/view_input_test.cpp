#include "main_window/view_input.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(ViewInput, WheelKeepsPartialNotchesAndMovesStayWithinTheRange) {
    WheelAccumulator wheel;
    EXPECT_EQ(wheel.Take(-120, 3), -3);
    EXPECT_EQ(wheel.Take(40, 3), 1);    // a touchpad's third of a notch is one of three lines
    EXPECT_EQ(wheel.Take(30, 3), 0);    // three quarters of a line waits...
    EXPECT_EQ(wheel.Take(10, 3), 1);    // ...until it makes one
    EXPECT_EQ(wheel.Take(-50, 1), 0);
    EXPECT_EQ(wheel.Take(-70, 1), -1);  // a page a notch, collected from two pieces
    EXPECT_EQ(wheel.Take(120, 0), 0);

    // Moves stay within the range, also where a 32-bit value would overflow.
    EXPECT_EQ(MovedValue(10, 5000, 15, 300, ScrollMove::Pages, -1), 0);
    EXPECT_EQ(MovedValue(2147483000, 2147483600, 15, 300, ScrollMove::Pages, 3), 2147483600);
}

}  // namespace
}  // namespace vx
