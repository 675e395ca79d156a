#pragma once
// The wheel and the keys in the image view, as arithmetic. Portable.
#include <cstdint>

#include "../platform/keys.h"

namespace vx {

// Wheel deltas come in notches of 120, smaller pieces from smooth wheels and touchpads;
// what does not yet make a whole line is kept for the next delta.
class WheelAccumulator {
public:
    // Lines (or pages, with linesPerNotch 1) to move for this delta; positive toward
    // the start. Nothing while linesPerNotch is 0.
    int Take(int delta, unsigned linesPerNotch);
    void Reset() { pending_ = 0; }

private:
    int64_t pending_ = 0;  // in 1/120 of a line
};

struct ScrollMove {
    enum Kind { None, Lines, Pages, ToStart, ToEnd } kind = None;
    int count = 0;  // lines or pages, signed: negative toward the start
    bool horizontal = false, vertical = false;
};

// Arrows a line, Page Up/Down a page (vertically), Home/End to the top/bottom, and
// with Ctrl, Home/End to the top-left/bottom-right corner.
ScrollMove ScrollMoveForKey(int key, bool control);

// The bar's value after a move, within 0..maximum.
int32_t MovedValue(int32_t value, int32_t maximum, int32_t lineStep, int32_t pageStep, ScrollMove::Kind kind,
                   int count);

}  // namespace vx
