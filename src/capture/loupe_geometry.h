#pragma once
// The loupe beside the pointer while a region is picked: where it goes (beside the
// pointer, on the other side near a monitor's edge), the pixels it enlarges and the
// texts under them. Portable: no <windows.h>.
#include <cstdint>
#include <string>
#include <vector>

#include "../platform/geometry.h"

namespace vx {

struct LoupeLayout {
    Rect frame;        // the whole loupe on the screen
    Rect grid;         // the enlarged pixels, inside the frame
    Rect source;       // the screen pixels shown (pointer in the middle)
    Rect centre;       // the cell of the pointer's pixel, inside the grid
    Rect text;         // the two lines under the grid
    int32_t cell = 0;  // screen pixels per enlarged pixel
};

// Pixels each side of the pointer's pixel that the loupe shows.
constexpr int32_t kLoupeReach = 7;

// cell: the enlargement (8 at 96 DPI); gap: from the pointer to the loupe; textHeight:
// the two text lines. The loupe goes below and to the right of the pointer, to the
// other side where it would leave the pointer's monitor, and is kept on that monitor.
// `monitors` empty: the loupe is placed as if the screen had no edges.
LoupeLayout PlaceLoupe(Point pointer, const std::vector<Rect>& monitors, int32_t cell, int32_t gap,
                       int32_t textHeight);

// What of `a` lies outside `b`, as at most four rectangles: the part of the loupe's
// last place that the new one does not cover, given back to the frozen copy.
std::vector<Rect> RectMinus(const Rect& a, const Rect& b);

// "#1E90FF" from red, green and blue.
std::string ColourText(uint8_t red, uint8_t green, uint8_t blue);
// "1280, 400": the pointer's screen coordinates.
std::string PointText(Point p);

}  // namespace vx
