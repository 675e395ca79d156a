#include "main_window/placement.h"

#include <gtest/gtest.h>

#include <vector>

namespace vx {
namespace {

TEST(Placement, StoredTextIsParsedStrictlyAndAWindowOffEveryMonitorComesBack) {
    // Plain decimal text only; anything else falls back to the default.
    const struct { const wchar_t* text; double twips; } good[] = {
        {L"1200", 1200}, {L" -345 ", -345}, {L"1012.5", 1012.5}, {L"1e3", 1000}};
    for (const auto& g : good) EXPECT_EQ(ParseTwips(g.text), g.twips) << g.text;
    for (const wchar_t* bad : {L"", L"  ", L"abc", L"12abc", L"0x10", L"1,5", L"--1", L".", L"1e", L"nan", L"inf",
                               L"1e30", L"\x0661\x0662"})
        EXPECT_FALSE(ParseTwips(bad).has_value()) << "accepted: " << bad;
    // Absent, garbage, zero and negative sizes fall back key by key; a negative place is kept.
    const PlacementTwips fresh = ResolvePlacement({}, {}, {}, {});
    EXPECT_EQ((std::vector{fresh.left, fresh.top, fresh.width, fresh.height}), (std::vector<double>{1000, 1000, 6500, 6500}));
    const PlacementTwips p = ResolvePlacement(L"-3000", L"junk", L"0", L"-20");
    EXPECT_EQ((std::vector{p.left, p.top, p.width, p.height}), (std::vector<double>{-3000, 1000, 6500, 6500}));
    // Written back whole where whole, in single precision written in full.
    const struct { double twips; const wchar_t* text; } formats[] = {
        {1005, L"1005"}, {-15, L"-15"}, {1012.5, L"1012.5"}, {28800, L"28800"}, {123456789, L"123456792"}};
    for (const auto& f : formats) EXPECT_EQ(FormatTwips(f.twips), f.text);

    const std::vector<MonitorArea> monitors = {
        {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}},
        {{1920, 0, 3200, 1024}, {1920, 0, 3200, 1024}},
    };
    const struct { const char* name; Rect window, expected; } rescues[] = {
        {"partly visible: left alone", {-300, 100, 200, 600}, {-300, 100, 200, 600}},
        {"beyond the right monitor: onto it, size kept", {5000, 200, 5433, 633}, {3200 - 433, 200, 3200, 633}},
        {"above and too large: shrunk to the work area", {100, -5000, 2100, -3000}, {0, 0, 1920, 1040}},
    };
    for (const auto& r : rescues) EXPECT_EQ(BringOntoMonitor(r.window, monitors), r.expected) << r.name;
}

}  // namespace
}  // namespace vx
