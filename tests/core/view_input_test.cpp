#include "main_window/view_input.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(ViewInput, WheelKeepsPartialNotchesAndKeysMoveWithinTheRange) {
    WheelAccumulator wheel;
    EXPECT_EQ(wheel.Take(-120, 3), -3);
    EXPECT_EQ(wheel.Take(40, 3), 1);    // a touchpad's third of a notch is one of three lines
    EXPECT_EQ(wheel.Take(30, 3), 0);    // three quarters of a line waits...
    EXPECT_EQ(wheel.Take(10, 3), 1);    // ...until it makes one
    EXPECT_EQ(wheel.Take(-50, 1), 0);
    EXPECT_EQ(wheel.Take(-70, 1), -1);  // a page a notch, collected from two pieces
    EXPECT_EQ(wheel.Take(120, 0), 0);

    const struct { int key; bool control; ScrollMove::Kind kind; int count; bool h, v; int32_t value; } keys[] = {
        {kKeyRight, false, ScrollMove::Lines, 1, true, false, 1015},
        {kKeyUp, false, ScrollMove::Lines, -1, false, true, 985},
        {kKeyPageDown, false, ScrollMove::Pages, 1, false, true, 1300},
        {kKeyHome, false, ScrollMove::ToStart, 0, false, true, 0},
        {kKeyEnd, true, ScrollMove::ToEnd, 0, true, true, 5000},
        {0x41, false, ScrollMove::None, 0, false, false, 1000},
    };
    for (const auto& k : keys) {
        const ScrollMove m = ScrollMoveForKey(k.key, k.control);
        EXPECT_EQ(m.kind, k.kind) << k.key;
        EXPECT_EQ(m.count, k.count) << k.key;
        EXPECT_EQ(m.horizontal, k.h) << k.key;
        EXPECT_EQ(m.vertical, k.v) << k.key;
        EXPECT_EQ(MovedValue(1000, 5000, 15, 300, m.kind, m.count), k.value) << k.key;
    }
    EXPECT_EQ(MovedValue(10, 5000, 15, 300, ScrollMove::Pages, -1), 0);
    EXPECT_EQ(MovedValue(2147483000, 2147483600, 15, 300, ScrollMove::Pages, 3), 2147483600);
}

}  // namespace
}  // namespace vx
