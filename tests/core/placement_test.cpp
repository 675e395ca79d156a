#include "main_window/placement.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(Placement, ParsesPlainDecimalTextOnly) {
    EXPECT_EQ(ParseTwips(L"1200"), 1200.0);
    EXPECT_EQ(ParseTwips(L" -345 "), -345.0);
    EXPECT_EQ(ParseTwips(L"1012.5"), 1012.5);
    EXPECT_EQ(ParseTwips(L"1e3"), 1000.0);
    for (const wchar_t* bad : {L"", L"  ", L"abc", L"12abc", L"0x10", L"1,5", L"--1", L".", L"1e", L"nan",
                               L"inf", L"1e30", L"\x0661\x0662"}) {
        EXPECT_FALSE(ParseTwips(bad).has_value()) << "accepted: " << std::string(bad, bad + wcslen(bad));
    }
}

TEST(Placement, DefaultsAndFallbacks) {
    const PlacementTwips fresh = ResolvePlacement({}, {}, {}, {});
    EXPECT_EQ(fresh.left, 1000);
    EXPECT_EQ(fresh.top, 1000);
    EXPECT_EQ(fresh.width, 6500);
    EXPECT_EQ(fresh.height, 6500);
    // Garbage, zero and negative sizes fall back key by key; a negative place is kept.
    const PlacementTwips p = ResolvePlacement(L"-3000", L"junk", L"0", L"-20");
    EXPECT_EQ(p.left, -3000);
    EXPECT_EQ(p.top, 1000);
    EXPECT_EQ(p.width, 6500);
    EXPECT_EQ(p.height, 6500);
}

TEST(Placement, FormatsWholeNumbersWithoutFraction) {
    EXPECT_EQ(FormatTwips(1005), L"1005");
    EXPECT_EQ(FormatTwips(-15), L"-15");
    EXPECT_EQ(FormatTwips(1012.5), L"1012.5");
    EXPECT_EQ(FormatTwips(28800), L"28800");
    EXPECT_EQ(FormatTwips(123456789), L"123456792");  // single precision, written in full
}

TEST(Placement, WindowOffEveryMonitorComesBack) {
    const std::vector<MonitorArea> monitors = {
        {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}},
        {{1920, 0, 3200, 1024}, {1920, 0, 3200, 1024}},
    };
    // Partly visible: left alone.
    const PixelRect partly{-300, 100, 200, 600};
    const PixelRect same = BringOntoMonitor(partly, monitors);
    EXPECT_EQ(same.left, -300);
    // Beyond the right monitor: onto it, size kept.
    const PixelRect far = BringOntoMonitor({5000, 200, 5433, 633}, monitors);
    EXPECT_EQ(far.left, 3200 - 433);
    EXPECT_EQ(far.top, 200);
    EXPECT_EQ(far.Width(), 433);
    // Above and too large for the work area: shrunk to it.
    const PixelRect big = BringOntoMonitor({100, -5000, 2100, -3000}, monitors);
    EXPECT_EQ(big.left, 0);
    EXPECT_EQ(big.top, 0);
    EXPECT_EQ(big.Width(), 1920);
    EXPECT_EQ(big.Height(), 1040);
}

}  // namespace
}  // namespace vx
