#include "capture/scroll_stitch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace vx {
namespace {

constexpr int32_t kW = 40, kHeader = 5, kFooter = 4;

// A tall content: rows that never repeat, except where `kind` says blank or a pattern
// repeating every 4 rows.
uint32_t ContentPixel(int32_t x, int32_t y, char kind) {
    if (kind == '.') return 0xFFFFFF;
    if (kind == '=') y %= 4;
    return static_cast<uint32_t>((y * 2654435761u) ^ (x * 40503u)) & 0xFFFFFF;
}

struct Truth {
    std::string kinds;  // one letter a content row: 'u' unique, '.' blank, '=' repeating
    int32_t Content() const { return static_cast<int32_t>(kinds.size()); }
    uint32_t Pixel(int32_t x, int32_t row) const {
        if (row < kHeader) return 0x100000u + row * 64 + x;
        if (row >= kHeader + Content()) return 0x200000u + (row - kHeader - Content()) * 64 + x;
        if (x < 3) return 0x300000u + x;  // a fixed left panel
        return ContentPixel(x, row - kHeader, kinds[row - kHeader]);
    }
    // The window showing `rows` content rows from `offset`, header and footer fixed.
    Frame At(int32_t offset, int32_t rows) const {
        Frame f{kW, kHeader + rows + kFooter, {}};
        for (int32_t y = 0; y < f.height; ++y)
            for (int32_t x = 0; x < kW; ++x) f.pixels.push_back(Pixel(x, y < kHeader ? y : y < kHeader + rows ? y + offset : y - rows + Content()));
        return f;
    }
};

TEST(ScrollStitch, StepsAgainstTheTruth) {
    const std::string unique(200, 'u');
    const struct Case {
        const char* what;
        std::string kinds;
        std::vector<int32_t> offsets;  // where each frame starts; a repeat is a step that moved nothing
        bool footer;                   // ended at the content's end, not stopped
        int32_t expected;              // the distance the caller expects (0: none)
        std::function<void(Frame&, int)> spoil;
        int placed;                    // steps appended
        int32_t checked = kW;          // columns compared with the truth
    } cases[] = {
        {"top to end", unique, {0, 20, 40, 60, 80, 100, 120, 140, 160, 170, 170}, true, 0, nullptr, 9},
        {"from the middle", unique, {90, 110, 130, 150, 170, 170}, true, 0, nullptr, 4},
        {"blank stretch", unique.substr(0, 60) + std::string(12, '.') + unique.substr(0, 60), {0, 15, 30, 45, 60, 75, 92, 92}, true, 0, nullptr, 6},
        {"identical rows, the expected distance decides", unique.substr(0, 30) + std::string(120, '=') + unique.substr(0, 30), {20, 26, 32, 38, 44}, false, 6, nullptr, 4},
        {"a caret blinking", unique, {0, 20, 40, 60}, false, 0,
         [](Frame& f, int i) { if (i % 2) for (int y = 20; y < 28; ++y) f.pixels[y * kW + 10] ^= 0xFFFFFF; }, 3},
        {"stopped half-way: an exact prefix", unique, {0, 20, 40}, false, 0, nullptr, 2},
        {"a scroll bar in the area, its thumb moving", unique, {0, 20, 40, 60, 80}, false, 0,
         [](Frame& f, int i) { for (int y = kHeader; y < kHeader + 30; ++y) for (int x = 36; x < kW; ++x) f.pixels[y * kW + x] = y - kHeader - 2 * i >= 0 && y - kHeader - 2 * i < 6 ? 0x606060 : 0xC0C0C0; }, 4, 36},
        {"a step that moved nothing but the caret", unique, {0, 20, 20}, true, 0,
         [](Frame& f, int i) { if (i == 2) f.pixels[30 * kW + 20] ^= 1; }, 1},
    };
    for (const Case& c : cases) {
        const Truth truth{c.kinds};
        constexpr int32_t rows = 30;
        std::vector<Frame> frames;
        for (size_t i = 0; i < c.offsets.size(); ++i) {
            frames.push_back(truth.At(c.offsets[i], rows));
            if (c.spoil) c.spoil(frames.back(), static_cast<int>(i));
        }
        ScrollStitcher s(frames[0], 1u << 26, 1u << 20);
        int placed = 0;
        for (size_t i = 1; i < frames.size(); ++i) {
            const ScrollStitcher::Step step = s.Add(frames[i], c.expected);
            if (step == ScrollStitcher::Step::Unmoved) break;
            ASSERT_EQ(step, ScrollStitcher::Step::Appended) << c.what << " step " << i;
            ++placed;
        }
        EXPECT_EQ(placed, c.placed) << c.what;
        const int32_t height = s.FinalHeight(c.footer);
        const int32_t content = c.offsets[static_cast<size_t>(placed)] + rows - c.offsets[0];
        ASSERT_EQ(height, kHeader + content + (c.footer ? kFooter : 0)) << c.what;
        std::vector<uint32_t> out(static_cast<size_t>(height) * kW);
        s.Join(out.data(), c.footer);
        // The truth of the rows shown: the header, content from the first offset, the footer once.
        int wrong = 0;
        for (int32_t y = 0; y < height; ++y) {
            const int32_t row = y < kHeader ? y : y >= kHeader + content ? y - content + truth.Content() : y + c.offsets[0];
            for (int32_t x = 0; x < c.checked; ++x)
                wrong += out[static_cast<size_t>(y) * kW + x] != truth.Pixel(x, row);
        }
        // A caret may stay in the rows a spoiled frame gave, nowhere else.
        if (c.spoil && c.checked == kW) wrong = std::max(0, wrong - 16);
        EXPECT_EQ(wrong, 0) << c.what;
    }
}

TEST(ScrollStitch, SizeLimitAndWhatCannotBeTold) {
    const Truth truth{std::string(200, 'u')};
    // The limit: a step that would make the picture taller than allowed is not taken.
    ScrollStitcher s(truth.At(0, 30), 1u << 26, kHeader + 30 + kFooter + 15);
    EXPECT_EQ(s.Add(truth.At(10, 30), 0), ScrollStitcher::Step::Appended);
    EXPECT_EQ(s.Add(truth.At(20, 30), 0), ScrollStitcher::Step::TooLarge);
    EXPECT_EQ(s.FinalHeight(false), kHeader + 40);
    // All blank: nothing can be told from the frames; a bar that moved says how far.
    const Truth blank{std::string(100, '.')};
    const Frame x = blank.At(0, 30), y = blank.At(8, 30);
    EXPECT_EQ(FindShift(x, y, FindFixedParts(x, y), 8, false).kind, Shift::Unmoved);
    EXPECT_EQ(FindShift(x, y, FindFixedParts(x, y), 8, true).kind, Shift::Unmatched);
    ScrollStitcher b(x, 1u << 26, 1u << 20);
    EXPECT_EQ(b.Add(blank.At(8, 30), 8, true), ScrollStitcher::Step::Appended);
    EXPECT_EQ(b.FinalHeight(true), x.height + 8);
    // Content that does not fit anywhere is not placed.
    EXPECT_EQ(FindShift(truth.At(0, 30), Truth{std::string(200, '=')}.At(0, 30), {kHeader, kFooter, 0, 0}, 0, false).kind, Shift::Unmatched);
}

}  // namespace
}  // namespace vx
