#include "markup/markup_history.h"
#include "markup/markup_shapes.h"
#include "markup/redaction.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace vx::markup {
namespace {

Shape Make(Kind k, std::vector<Point> pts, int32_t size = 3) {
    Shape s;
    s.kind = k;
    s.points = std::move(pts);
    s.size = size;
    return s;
}

TEST(MarkupGeometry, ArrowheadsSnapsHandlesAndBounds) {
    // Width 3: a head 18 long and 18 wide, its base back along the shaft; none when the ends meet.
    const struct { Point tail, head; Arrowhead want; } heads[] = {
        {{0, 50}, {100, 50}, {{100, 50}, {82, 59}, {82, 41}, {82, 50}}},
        {{50, 100}, {50, 0}, {{50, 0}, {59, 18}, {41, 18}, {50, 18}}},
        {{7, 7}, {7, 7}, {{7, 7}, {7, 7}, {7, 7}, {7, 7}}},
    };
    for (const auto& h : heads) {
        const Arrowhead a = ArrowheadFor(h.tail, h.head, 3);
        EXPECT_EQ(a.left, h.want.left) << h.head.x;
        EXPECT_EQ(a.right, h.want.right) << h.head.x;
        EXPECT_EQ(a.base, h.want.base) << h.head.x;
        const Rect b = Bounds(Make(Kind::Arrow, {h.tail, h.head}));
        for (Point p : {a.tip, a.left, a.right}) EXPECT_TRUE(b.Contains(p)) << p.x << "," << p.y;
    }
    // Shift: 45-degree steps around 22.5 degrees; squares keep the drag's direction.
    const struct { Point to, angle, square; } snaps[] = {
        {{100, 41}, {100, 0}, {100, 100}},   // 22.3 degrees: flat
        {{100, 42}, {100, 100}, {100, 100}}, // 22.8 degrees: diagonal
        {{-30, 100}, {0, 100}, {-100, 100}},
        {{-60, -50}, {-60, -60}, {-60, -60}},
        {{0, 0}, {0, 0}, {0, 0}},
    };
    for (const auto& s : snaps) {
        EXPECT_EQ(SnapAngle({0, 0}, s.to), s.angle) << s.to.x << "," << s.to.y;
        EXPECT_EQ(SnapSquare({0, 0}, s.to), s.square) << s.to.x << "," << s.to.y;
    }
    // A box from pixel (10,20) to (50,40) holds both; its handles sit on those pixels; a
    // handle dragged past the opposite side flips the box, the other side staying put.
    const Shape box = Make(Kind::Rectangle, {{50, 40}, {10, 20}});
    EXPECT_EQ(OutlineBox(box), (Rect{10, 20, 51, 41}));
    EXPECT_EQ(Handles(box), (std::vector<Point>{{10, 20}, {30, 20}, {50, 20}, {50, 30}, {50, 40}, {30, 40}, {10, 40}, {10, 30}}));
    const struct { int32_t handle; Point to; Rect want; } drags[] = {
        {0, {0, 0}, {0, 0, 51, 41}},     {1, {99, 5}, {10, 5, 51, 41}},  {3, {60, 99}, {10, 20, 61, 41}},
        {4, {0, 10}, {0, 10, 11, 21}},   {7, {70, 0}, {50, 20, 71, 41}}, {9, {0, 0}, {10, 20, 51, 41}},
    };
    for (const auto& d : drags) EXPECT_EQ(OutlineBox(Resized(box, d.handle, d.to)), d.want) << d.handle;
    EXPECT_EQ(HitHandle(box, {52, 42}, 3), 4);
    EXPECT_EQ(HitHandle(box, {30, 30}, 3), -1);
    const Shape line = Make(Kind::Line, {{0, 0}, {9, 9}});
    EXPECT_EQ(Resized(line, 1, {5, 0}).points, (std::vector<Point>{{0, 0}, {5, 0}}));
    // A stroke's points scale into the dragged box (mirrored past the other side; a flat one
    // follows the edge moved); a text scales along its diagonal from the opposite corner.
    const Shape pen = Make(Kind::Pen, {{10, 10}, {20, 30}, {30, 10}}), text = Make(Kind::Text, {{100, 100}, {139, 119}}, 20);
    const struct { Shape s; int32_t handle; Point to; std::vector<Point> want; int32_t size; } scaled[] = {
        {pen, 4, {50, 50}, {{10, 10}, {30, 50}, {50, 10}}, 3},
        {pen, 3, {0, 99}, {{10, 10}, {5, 30}, {0, 10}}, 3},
        {pen, 1, {0, 20}, {{10, 20}, {20, 30}, {30, 20}}, 3},
        {Make(Kind::Highlighter, {{0, 5}, {40, 5}}), 2, {80, 9}, {{0, 9}, {80, 9}}, 3},
        {text, 2, {179, 139}, {{100, 100}, {179, 139}}, 40},
        {text, 0, {120, 110}, {{120, 110}, {139, 119}}, 10},
        {text, 2, {50, 50}, {{100, 100}, {111, 105}}, kMinTextSize},
    };
    for (const auto& c : scaled) {
        const Shape r = Resized(c.s, c.handle, c.to);
        EXPECT_EQ(r.points, c.want) << int(c.s.kind) << " " << c.handle;
        EXPECT_EQ(r.size, c.size) << int(c.s.kind) << " " << c.handle;
    }
    EXPECT_EQ(HitHandle(pen, {31, 21}, 2), 3);
    EXPECT_EQ(HitHandle(text, {140, 120}, 2), 2);
    // Measured a little larger than scaled, the text keeps the corner opposite the handle.
    EXPECT_EQ(AnchoredText(Make(Kind::Text, {{120, 110}, {141, 120}}), Resized(text, 0, {120, 110}), 0).points,
              (std::vector<Point>{{118, 109}, {139, 119}}));
    EXPECT_EQ(BadgeRect({100, 100}, 24), (Rect{88, 88, 112, 112}));
}

TEST(MarkupGeometry, HitTestsEveryKind) {
    Document d;
    d.shapes = {
        Make(Kind::Rectangle, {{10, 10}, {50, 50}}),          // 0: its outline, not its inside
        Make(Kind::Ellipse, {{100, 10}, {140, 50}}),          // 1
        Make(Kind::Line, {{10, 100}, {90, 100}}),             // 2
        Make(Kind::Arrow, {{10, 150}, {90, 150}}),            // 3: the head is wider than the shaft
        Make(Kind::Pen, {{200, 10}, {220, 30}, {240, 10}}),   // 4
        Make(Kind::Highlighter, {{200, 100}, {260, 100}}, 16),// 5
        Make(Kind::Text, {{300, 10}, {380, 40}}),             // 6: the whole box
        Make(Kind::Step, {{320, 100}}, 24),                   // 7
        Make(Kind::Redaction, {{300, 150}, {380, 190}}),      // 8
        Make(Kind::Rectangle, {{20, 20}, {30, 30}}),          // 9: above 0
    };
    const struct { Point p; int32_t want; } hits[] = {
        {{10, 30}, 0}, {{51, 30}, 0}, {{30, 40}, -1}, {{20, 20}, 9}, {{25, 25}, -1},
        {{100, 30}, 1}, {{120, 30}, -1}, {{120, 10}, 1},
        {{50, 101}, 2}, {{50, 104}, -1},
        {{75, 157}, 3}, {{40, 157}, -1},
        {{230, 20}, 4}, {{220, 10}, -1},
        {{230, 107}, 5}, {{230, 112}, -1},
        {{340, 25}, 6}, {{320, 111}, 7}, {{320, 114}, -1}, {{340, 170}, 8}, {{390, 170}, -1},
    };
    for (const auto& h : hits) EXPECT_EQ(HitTest(d, h.p, 1), h.want) << h.p.x << "," << h.p.y;
}

TEST(MarkupHistory, EveryStepUndoesAndRedoesToTheSameDocument) {
    History h(400, 300);
    std::vector<Document> states{h.Current()};
    auto step = [&](Rect touched) {
        EXPECT_FALSE(touched.Empty());
        states.push_back(h.Current());
    };
    step(h.Add(Make(Kind::Rectangle, {{10, 10}, {50, 50}})));
    step(h.Add(Make(Kind::Step, {{100, 100}}, 24)));
    step(h.Add(Make(Kind::Step, {{150, 100}}, 24)));
    Shape text = Make(Kind::Text, {{10, 200}, {90, 220}});
    text.text = u"标注 one";
    step(h.Add(text));
    step(h.Change(0, Moved(h.Current().shapes[0], 5, -3)));
    step(h.Change(3, Resized(h.Current().shapes[3], 2, {150, 240})));
    step(h.Add(Make(Kind::Pen, {{5, 5}, {9, 20}, {30, 7}})));
    step(h.Change(4, Resized(h.Current().shapes[4], 6, {50, 60})));
    step(h.Crop({5, 5, 300, 250}));
    step(h.Remove(1));
    text.text += u"\nline";
    step(h.Change(2, text));
    step(h.Crop({0, 0, 200, 200}));  // cut down to what is kept so far
    EXPECT_EQ(h.Current().crop, (Rect{5, 5, 200, 200}));
    // Steps that change nothing leave no step behind.
    EXPECT_TRUE(h.Change(0, h.Current().shapes[0]).Empty());
    EXPECT_TRUE(h.Crop({500, 500, 600, 600}).Empty());
    EXPECT_TRUE(h.Remove(99).Empty());

    for (size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_TRUE(h.Undo());
        EXPECT_EQ(h.Current(), states[i - 1]) << "undo to " << i - 1;
    }
    EXPECT_FALSE(h.Undo());
    EXPECT_FALSE(h.Drawn());
    for (size_t i = 1; i < states.size(); ++i) {
        ASSERT_TRUE(h.Redo());
        EXPECT_EQ(h.Current(), states[i]) << "redo to " << i;
    }
    EXPECT_FALSE(h.Redo());
    // A new step after an undo drops what was undone.
    h.Undo();
    h.Add(Make(Kind::Line, {{0, 0}, {5, 5}}));
    EXPECT_FALSE(h.CanRedo());
}

TEST(MarkupHistory, StepNumbersFollowTheOrderAndRepaintTheRenumbered) {
    History h(400, 300);
    for (int32_t x : {10, 60, 110, 160}) h.Add(Make(Kind::Step, {{x, 50}}, 20));
    h.Add(Make(Kind::Line, {{0, 0}, {5, 5}}));
    EXPECT_EQ(StepNumbers(h.Current()), (std::vector<int32_t>{1, 2, 3, 4, 0}));
    // Removing the second renumbers the two after it, so their badges are repainted.
    const Rect touched = h.Remove(1);
    EXPECT_EQ(StepNumbers(h.Current()), (std::vector<int32_t>{1, 2, 3, 0}));
    EXPECT_TRUE(touched.Contains({60, 50}) && touched.Contains({160, 50}));
    EXPECT_FALSE(touched.Contains({10, 50}));
    h.Undo();
    EXPECT_EQ(StepNumbers(h.Current()), (std::vector<int32_t>{1, 2, 3, 4, 0}));
}

// The picture inside the boxes never reaches the result: two pictures that differ only
// there come out pixel-identical; outside the boxes nothing changes.
TEST(Redaction, InsideDependsOnNothingThatWasInside) {
    constexpr int32_t W = 64, H = 48;
    const struct { const char* what; std::vector<Redaction> boxes; Rect kept; } cases[] = {
        {"solid", {{{10, 10, 30, 20}, RedactStyle::Solid}}, {0, 0, W, H}},
        {"mosaic", {{{10, 10, 40, 37}, RedactStyle::Mosaic}}, {0, 0, W, H}},
        {"mosaic at the corner", {{{0, 0, 20, 20}, RedactStyle::Mosaic}}, {0, 0, W, H}},
        {"mosaic over everything", {{{-5, -5, W + 5, H + 5}, RedactStyle::Mosaic}}, {0, 0, W, H}},
        {"overlapping mosaics", {{{10, 10, 30, 30}, RedactStyle::Mosaic}, {{29, 5, 50, 20}, RedactStyle::Mosaic}}, {0, 0, W, H}},
        {"touching a solid", {{{10, 10, 30, 30}, RedactStyle::Mosaic}, {{30, 10, 40, 30}, RedactStyle::Solid}}, {0, 0, W, H}},
        {"mosaic inside a crop", {{{10, 10, 30, 30}, RedactStyle::Mosaic}}, {12, 0, W, 30}},
    };
    std::mt19937 rng(7);
    for (const auto& c : cases) {
        std::vector<uint32_t> outside(W * H);
        for (auto& px : outside) px = rng();
        std::vector<uint32_t> first;
        for (int trial = 0; trial < 3; ++trial) {
            std::vector<uint32_t> src = outside, out;
            // A secret inside the boxes, and outside the kept part, different each time.
            for (int32_t y = 0; y < H; ++y)
                for (int32_t x = 0; x < W; ++x) {
                    bool hidden = !c.kept.Contains({x, y});
                    for (const auto& r : c.boxes) hidden |= r.box.Contains({x, y});
                    if (hidden) src[size_t(y * W + x)] = rng();
                }
            out = src;
            Pixels in{src.data(), W, H, W}, o{out.data(), W, H, W};
            PaintRedactions(in, o, c.boxes, c.kept, {0, 0, W, H});
            for (int32_t y = 0; y < H; ++y)
                for (int32_t x = 0; x < W; ++x) {
                    bool boxed = false;
                    for (const auto& r : c.boxes) boxed |= r.box.Contains({x, y});
                    const size_t i = size_t(y * W + x);
                    if (!boxed || !c.kept.Contains({x, y})) ASSERT_EQ(out[i], src[i]) << c.what << " " << x << "," << y;
                    if (trial > 0 && c.kept.Contains({x, y})) ASSERT_EQ(out[i], first[i]) << c.what << " " << x << "," << y;
                }
            if (trial == 0) first = out;
        }
    }
}

TEST(Redaction, MosaicTakesTheColoursAroundTheBox) {
    // A grey surround gives grey blocks; a box over the whole picture is the fill.
    std::vector<uint32_t> px(32 * 32, 0xFF808080);
    for (int32_t y = 8; y < 24; ++y)
        for (int32_t x = 4; x < 28; ++x) px[size_t(y * 32 + x)] = 0xFFFFFFFF;  // a white secret
    Pixels p{px.data(), 32, 32, 32};
    const std::vector<Redaction> boxes{{{4, 8, 28, 24}, RedactStyle::Mosaic}};
    PaintRedactions(p, p, boxes, {0, 0, 32, 32}, {0, 0, 32, 32});
    EXPECT_EQ(p.At(16, 16), 0xFF808080u);
    PaintRedactions(p, p, {{{0, 0, 32, 32}, RedactStyle::Mosaic, 0xFF000000}}, {0, 0, 32, 32}, {0, 0, 32, 32});
    EXPECT_EQ(p.At(16, 16), 0xFF000000u);
}

}  // namespace
}  // namespace vx::markup
