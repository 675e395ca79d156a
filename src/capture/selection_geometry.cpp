#include "selection_geometry.h"

#include "../platform/keys.h"
#include "../platform/units.h"

namespace vx {

Point ArrowStep(int key, bool shift) {
    const int32_t d = shift ? 10 : 1;
    switch (key) {
        case kKeyLeft: return {-d, 0};
        case kKeyUp: return {0, -d};
        case kKeyRight: return {d, 0};
        case kKeyDown: return {0, d};
        default: return {0, 0};
    }
}

Rect SelectionFromCorners(Point start, Point corner) { return Rect{start.x, start.y, corner.x, corner.y}.Normalized(); }

namespace {
// Sums wrap instead of overflowing; screen rectangles never come near the limits.
int32_t Add(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b)); }
}  // namespace

std::array<Rect, 4> BandEdges(const Rect& r) {
    return {{
        {r.left, r.top, r.right, Add(r.top, 1)},
        {r.left, r.bottom, Add(r.left, 1), r.top},
        {Add(r.right, -1), r.top, r.right, r.bottom},
        {r.right, Add(r.bottom, -1), r.left, r.bottom},
    }};
}

std::string SizeLabel(const Rect& rect) {
    return std::to_string(int64_t{rect.right} - rect.left) + "x" + std::to_string(int64_t{rect.bottom} - rect.top);
}

Point LabelPosition(const Rect& rect, int32_t cx, int32_t cy) {
    const double x = (static_cast<double>(rect.left) + rect.right - cx) / 2.0;
    const double y = (static_cast<double>(rect.top) + rect.bottom - cy) / 2.0;
    return {Nearest(x), Nearest(y)};
}

bool ClickNotDrag(const Rect& selection, int32_t dx, int32_t dy) {
    return selection.Width() < dx && selection.Height() < dy;
}

}  // namespace vx
