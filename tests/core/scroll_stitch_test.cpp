#include "capture/scroll_stitch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace vx {
namespace {

constexpr int32_t kW = 40, kHeader = 5, kFooter = 4, kPanel = 3, kColumns = 30;

// A window over a tall content: a header (taller in the first frame when `sticky`), a
// footer, a fixed patterned panel at the left, and content rows that never repeat,
// except where `kinds` says blank ('.') or a pattern repeating every 4 rows ('='). With
// `columns`, the columns from kColumns hold the same on every 4-row line.
struct Truth {
    std::string kinds;
    bool columns = false;
    int32_t sticky = 0;
    int32_t Content() const { return static_cast<int32_t>(kinds.size()); }
    static uint32_t Panel(int32_t x, int32_t y) { return 0x300000u + x + ((y * 2654435761u >> 8) & 0xFF00); }
    uint32_t Header(int32_t x, int32_t y, bool tall) const { return (tall ? 0x500000u : 0x100000u) + y * 64 + x; }
    uint32_t Footer(int32_t x, int32_t y) const { return 0x200000u + y * 64 + x; }
    uint32_t ContentPixel(int32_t x, int32_t c) const {
        if (columns && x >= kColumns) return 0x700000u + (c % 4) * 256 + x;
        if (kinds[c] == '.') return 0xFFFFFF;
        if (kinds[c] == '=') c %= 4;
        return static_cast<uint32_t>((c * 2654435761u) ^ (x * 40503u)) & 0xFFFFFF;
    }
    // The window at screen row y, showing content from `offset`, `rows` rows between the
    // header and the footer (the first `extra` of them header).
    uint32_t Screen(int32_t x, int32_t y, int32_t offset, int32_t rows, int32_t extra) const {
        if (y < kHeader + extra) return Header(x, y, extra > 0);
        if (y >= kHeader + rows) return Footer(x, y - kHeader - rows);
        if (x < kPanel) return Panel(x, y);
        return ContentPixel(x, y - kHeader - extra + offset);
    }
    Frame At(int32_t offset, int32_t rows, int32_t extra = 0) const {
        Frame f{kW, kHeader + rows + kFooter, {}};
        for (int32_t y = 0; y < f.height; ++y)
            for (int32_t x = 0; x < kW; ++x) f.pixels.push_back(Screen(x, y, offset, rows, extra));
        return f;
    }
};

TEST(ScrollStitch, StepsAgainstTheTruth) {
    const std::string unique(200, 'u');
    const struct Case {
        const char* what;
        Truth truth;
        std::vector<int32_t> offsets;  // where each frame starts; a repeat is a step that moved nothing
        bool footer;                   // ended at the content's end, not stopped
        int32_t expected;              // the distance the caller expects (0: none)
        std::function<void(Frame&, int)> spoil;
        int placed;                    // steps appended
        int32_t checked = kW;          // columns compared with the truth
        RowBand ignore = {};
    } cases[] = {
        {"top to end", {unique}, {0, 20, 40, 60, 80, 100, 120, 140, 160, 170, 170}, true, 0, nullptr, 9},
        {"from the middle", {unique}, {90, 110, 130, 150, 170, 170}, true, 0, nullptr, 4},
        {"blank stretch", {unique.substr(0, 60) + std::string(12, '.') + unique.substr(0, 60)}, {0, 15, 30, 45, 60, 75, 92, 92}, true, 0, nullptr, 6},
        {"identical rows, the expected distance decides", {unique.substr(0, 30) + std::string(120, '=') + unique.substr(0, 30)}, {20, 26, 32, 38, 44}, false, 6, nullptr, 4},
        {"a caret blinking", {unique}, {0, 10, 20, 30, 40}, false, 0,
         [](Frame& f, int i) { if (i % 2) for (int y = 28; y < 33; ++y) f.pixels[y * kW + 10] ^= 0xFFFFFF; }, 4},
        {"a scroll bar in the area, its thumb moving", {unique}, {0, 20, 40, 60, 80}, false, 0,
         [](Frame& f, int i) { for (int y = kHeader; y < kHeader + 30; ++y) for (int x = 36; x < kW; ++x) f.pixels[y * kW + x] = y - kHeader - 2 * i >= 0 && y - kHeader - 2 * i < 6 ? 0x606060 : 0xC0C0C0; }, 4, 36},
        {"a caret in the header and a clock in the footer", {unique}, {0, 20, 40, 60, 80, 100, 120, 140, 160, 170, 170}, true, 0,
         [](Frame& f, int i) {
             for (int k = 1; i % 3 == 1 && k < 4; ++k) f.pixels[k * kW + 10] ^= 0xFFFFFF, f.pixels[(f.height - 3) * kW + 19 + k] = 0x123456u * i;
         }, 9},
        {"the row under the pointer lit (left out of the match)", {unique}, {0, 20, 40, 60, 80}, false, 0,
         [](Frame& f, int i) { if (i) for (int y = kHeader + 2; y < kHeader + 5; ++y) for (int x = kPanel; x < kW; ++x) f.pixels[y * kW + x] = 0x0000FF; }, 4, kW, {kHeader + 2, kHeader + 5}},
        {"columns equal on every line move with the content", {unique, true}, {0, 20, 40, 60, 80, 100}, false, 0, nullptr, 5},
        {"an overlay bar over the right edge, gone when still", {unique}, {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150, 160, 167, 170, 170}, true, 0,
         [](Frame& f, int i) {  // three quarters grey over the content, lower in each frame
             for (int y = kHeader + i; i % 19 && y < kHeader + i + 8; ++y) for (int x = 34; x < 38; ++x) f.pixels[y * kW + x] = (f.pixels[y * kW + x] >> 2 & 0x3F3F3F) + 0x484848;
         }, 18},
        {"a header that shrinks once as the scrolling starts", {unique, false, 3}, {0, 10, 20, 30, 40}, false, 0, nullptr, 4},
    };
    // Each case as the caller with no idea of the distance, then as one the bar told.
    for (bool told : {false, true})
    for (const Case& c : cases) {
        const Truth& truth = c.truth;
        constexpr int32_t rows = 30;
        std::vector<Frame> frames;
        for (size_t i = 0; i < c.offsets.size(); ++i) {
            frames.push_back(truth.At(c.offsets[i], rows, i == 0 ? truth.sticky : 0));
            if (c.spoil) c.spoil(frames.back(), static_cast<int>(i));
        }
        ScrollStitcher s(frames[0], 1u << 26, 1u << 20);
        int placed = 0;
        for (size_t i = 1; i < frames.size(); ++i) {
            const int32_t moved = c.offsets[i] - c.offsets[i - 1];
            const ScrollStitcher::Step step = s.Add(frames[i], told && moved > 0 ? moved : c.expected, false, c.ignore);
            if (step == ScrollStitcher::Step::Unmoved) break;
            ASSERT_EQ(step, ScrollStitcher::Step::Appended) << c.what << " step " << i;
            ++placed;
        }
        EXPECT_EQ(placed, c.placed) << c.what;
        const int32_t top = kHeader + truth.sticky, height = s.FinalHeight(c.footer);
        const int32_t content = c.offsets[static_cast<size_t>(placed)] + rows - c.offsets[0];
        ASSERT_EQ(height, top + content + (c.footer ? kFooter : 0)) << c.what;
        std::vector<uint32_t> out(static_cast<size_t>(height) * kW);
        s.Join(out.data(), c.footer);
        // The header once, the content from the first offset, the footer once; the panel
        // beside the first frame, then carried on in the colour of its last row there.
        int wrong = 0;
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < c.checked; ++x) {
                const bool footer = y >= top + content;
                const uint32_t want = y < top      ? truth.Header(x, y, truth.sticky > 0)
                                      : footer     ? truth.Footer(x, y - top - content)
                                      : x < kPanel ? Truth::Panel(x, std::min(y, kHeader + rows - 1))
                                                   : truth.ContentPixel(x, y - top + c.offsets[0]);
                wrong += out[static_cast<size_t>(y) * kW + x] != want;
            }
        // A caret may stay in the rows a spoiled frame gave, nowhere else.
        if (c.spoil && c.checked == kW && !c.ignore.to) wrong = std::max(0, wrong - 16);
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
    const Frame x = blank.At(0, 30);
    ScrollStitcher b(x, 1u << 26, 1u << 20);
    EXPECT_EQ(b.Add(blank.At(8, 30), 8, false), ScrollStitcher::Step::Unmoved);
    EXPECT_EQ(b.Add(blank.At(8, 30), 8, true), ScrollStitcher::Step::Appended);
    EXPECT_EQ(b.FinalHeight(true), x.height + 8);
    // Content that does not fit anywhere is not placed.
    ScrollStitcher u(truth.At(0, 30), 1u << 26, 1u << 20);
    EXPECT_EQ(u.Add(Truth{std::string(200, '=')}.At(0, 30), 0), ScrollStitcher::Step::Unmatched);
}

}  // namespace
}  // namespace vx
