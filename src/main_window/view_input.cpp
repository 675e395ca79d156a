#include "view_input.h"

#include <algorithm>

namespace vx {

int WheelAccumulator::Take(int delta, unsigned linesPerNotch) {
    if (linesPerNotch == 0) return 0;
    pending_ += static_cast<int64_t>(delta) * linesPerNotch;
    const int64_t lines = pending_ / 120;  // toward zero: a partial line waits, in either direction
    pending_ -= lines * 120;
    return static_cast<int>(lines);
}

ScrollMove ScrollMoveForKey(int key, bool control) {
    ScrollMove m;
    switch (key) {
        case kKeyLeft: case kKeyRight:
            m = {ScrollMove::Lines, key == kKeyLeft ? -1 : 1, true, false};
            break;
        case kKeyUp: case kKeyDown:
            m = {ScrollMove::Lines, key == kKeyUp ? -1 : 1, false, true};
            break;
        case kKeyPageUp: case kKeyPageDown:
            m = {ScrollMove::Pages, key == kKeyPageUp ? -1 : 1, false, true};
            break;
        case kKeyHome: case kKeyEnd:
            m = {key == kKeyHome ? ScrollMove::ToStart : ScrollMove::ToEnd, 0, control, true};
            break;
        default:
            break;
    }
    return m;
}

int32_t MovedValue(int32_t value, int32_t maximum, int32_t lineStep, int32_t pageStep, ScrollMove::Kind kind,
                   int count) {
    int64_t next = value;
    switch (kind) {
        case ScrollMove::None: break;
        case ScrollMove::Lines: next += static_cast<int64_t>(count) * lineStep; break;
        case ScrollMove::Pages: next += static_cast<int64_t>(count) * pageStep; break;
        case ScrollMove::ToStart: next = 0; break;
        case ScrollMove::ToEnd: next = maximum; break;
    }
    return static_cast<int32_t>(std::clamp<int64_t>(next, 0, std::max(maximum, 0)));
}

}  // namespace vx
