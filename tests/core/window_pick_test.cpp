#include "capture/loupe_geometry.h"
#include "capture/selection_geometry.h"
#include "capture/window_tree.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

// Two overlapping top-level windows (A in front of B); A holds a pane with a button
// and an edit that is half scrolled out of the pane.
struct Desktop {
    WindowTree tree;
    int a, pane, button, edit, b;
    Desktop() {
        a = tree.Add({100, 100, 500, 400}, WindowTree::kNone, {108, 130, 492, 392});
        pane = tree.Add({108, 130, 300, 392}, a, {108, 130, 300, 392});
        button = tree.Add({120, 140, 200, 170}, pane, {120, 140, 200, 170});
        edit = tree.Add({250, 300, 400, 420}, pane, {250, 300, 400, 420});
        b = tree.Add({300, 50, 900, 600}, WindowTree::kNone, {300, 50, 900, 600});
    }
};

TEST(WindowPick, ChainUnderThePointer) {
    Desktop d;
    const struct { Point p; std::vector<int> chain; } cases[] = {
        {{150, 150}, {d.a, d.pane, d.button}},
        {{110, 110}, {d.a}},                // A's title bar
        {{260, 310}, {d.a, d.pane, d.edit}},
        {{350, 310}, {d.a}},                // the edit outside the pane does not show
        {{450, 200}, {d.a}},                // A in front of B
        {{600, 200}, {d.b}},
        {{50, 50}, {}},                     // no window
        {{500, 200}, {d.b}},                // right edge exclusive
    };
    for (const auto& c : cases) EXPECT_EQ(d.tree.ChainAt(c.p), c.chain) << c.p.x << "," << c.p.y;
    EXPECT_EQ(d.tree.Visible(d.edit), (Rect{250, 300, 300, 392}));
}

TEST(WindowPick, WheelStepsInAndOut) {
    Desktop d;
    const auto deep = d.tree.ChainAt({150, 150});
    const auto shallow = d.tree.ChainAt({110, 110});
    PickDepth depth;
    // notches, chain, node outlined after the step
    const struct { int notches; const std::vector<int>* chain; int node; } steps[] = {
        {0, &deep, d.a},        // the top-level window by default
        {1, &deep, d.pane},
        {1, &deep, d.button},
        {1, &deep, d.button},   // no deeper than the innermost
        {0, &shallow, d.a},     // moved over the title bar: the chain is shorter
        {0, &deep, d.button},   // and back: the depth was kept
        {-1, &shallow, d.a},    // outwards from what is shown
        {-1, &deep, d.a},
        {3, &deep, d.button},
        {-1, &deep, d.pane},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        if (steps[i].notches) depth.Step(*steps[i].chain, steps[i].notches);  // 0: a move
        EXPECT_EQ(depth.At(*steps[i].chain), steps[i].node) << "step " << i;
    }
    EXPECT_EQ(depth.At({}), WindowTree::kNone);
}

TEST(WindowPick, LoupeBesideThePointerAndOnItsMonitor) {
    // Two monitors side by side, as in the two-monitor tests; cell 8, gap 20, text 30:
    // the loupe is 122 x 152.
    const std::vector<Rect> monitors{{0, 0, 1280, 1024}, {1280, 0, 2304, 768}};
    const struct { Point p; Point at; } cases[] = {
        {{100, 100}, {120, 120}},     // below right
        {{1200, 100}, {1058, 120}},   // flipped left at the right edge
        {{100, 1000}, {120, 828}},    // flipped up at the bottom
        {{1270, 1010}, {1128, 838}},  // both
        {{1275, 700}, {1133, 720}},   // primary: flipped left, not over the boundary
        {{1285, 700}, {1305, 528}},   // second monitor is shorter: flipped up
        {{5, 5}, {25, 25}},
    };
    for (const auto& c : cases) {
        const LoupeLayout l = PlaceLoupe(c.p, monitors, 8, 20, 30);
        EXPECT_EQ((Point{l.frame.left, l.frame.top}), c.at) << c.p.x << "," << c.p.y;
        EXPECT_EQ(l.frame.Width(), 122);
        EXPECT_EQ(l.frame.Height(), 152);
        EXPECT_FALSE(l.frame.Contains(c.p));
    }
    // The pointer's pixel is the middle of 15 x 15, across the boundary too.
    const LoupeLayout l = PlaceLoupe({1280, 10}, monitors, 12, 30, 40);
    EXPECT_EQ(l.source, (Rect{1273, 3, 1288, 18}));
    EXPECT_EQ(l.centre, Rect::FromSize(l.grid.left + 84, l.grid.top + 84, 12, 12));
    EXPECT_EQ(l.grid.Width(), 180);
    EXPECT_EQ(l.text.top, l.grid.bottom);
    EXPECT_EQ(l.text.bottom, l.frame.bottom - 1);
}

TEST(WindowPick, WhatTheLoupeLeavesBehind) {
    const Rect a{10, 10, 50, 40};
    const struct { Rect b; std::vector<Rect> left; } cases[] = {
        {{20, 20, 30, 30}, {{10, 10, 50, 20}, {10, 30, 50, 40}, {10, 20, 20, 30}, {30, 20, 50, 30}}},
        {{15, 5, 60, 45}, {{10, 10, 15, 40}}},   // moved right
        {{0, 0, 60, 60}, {}},                    // covered
        {{100, 100, 110, 110}, {a}},             // apart
    };
    for (const auto& c : cases) EXPECT_EQ(RectMinus(a, c.b), c.left) << c.b.left;
}

TEST(WindowPick, TextsAndAClickThatMovedAPixel) {
    // Within the system's drag distance (4 x 4) a press and release is a click.
    for (const auto& [r, click] : {std::pair{Rect{10, 10, 13, 13}, true}, {Rect{10, 10, 14, 11}, false},
                                   {Rect{10, 10, 10, 10}, true}, {Rect{10, 10, 11, 14}, false}})
        EXPECT_EQ(ClickNotDrag(r, 4, 4), click) << r.right << "," << r.bottom;
    EXPECT_EQ(ColourText(0x1E, 0x90, 0xFF), "#1E90FF");
    EXPECT_EQ(ColourText(0, 0, 0), "#000000");
    EXPECT_EQ(PointText({-1024, 7}), "-1024, 7");
}

}  // namespace
}  // namespace vx
