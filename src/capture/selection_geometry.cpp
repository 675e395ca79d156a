#include "selection_geometry.h"

#include <utility>

#include "../platform/keys.h"
#include "../platform/units.h"

namespace vx {

SelPoint ArrowStep(int key, bool shift) {
    const int32_t d = shift ? 10 : 1;
    switch (key) {
        case kKeyLeft: return {-d, 0};
        case kKeyUp: return {0, -d};
        case kKeyRight: return {d, 0};
        case kKeyDown: return {0, d};
        default: return {0, 0};
    }
}

void NormalizeRect(SelRect& rect) {
    if (rect.right < rect.left) std::swap(rect.right, rect.left);
    if (rect.bottom < rect.top) std::swap(rect.bottom, rect.top);
}

SelRect SelectionFromCorners(SelPoint start, SelPoint corner) {
    SelRect rect{start.x, start.y, corner.x, corner.y};
    NormalizeRect(rect);
    return rect;
}

bool IsEmptySelection(const SelRect& rect) {
    // 64-bit differences: screen coordinates never overflow, but a corrupt rectangle must not.
    return int64_t{rect.right} - rect.left <= 0 || int64_t{rect.bottom} - rect.top <= 0;
}

namespace {
// Differences wrap instead of overflowing; screen rectangles never come near the limits.
int32_t Diff(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b)); }
}  // namespace

std::array<BandEdge, 4> BandEdges(const SelRect& r) {
    return {{
        {r.left, r.top, Diff(r.right, r.left), 1},
        {r.left, r.bottom, 1, Diff(r.top, r.bottom)},
        {Diff(r.right, 1), r.top, 1, Diff(r.bottom, r.top)},
        {r.right, Diff(r.bottom, 1), Diff(r.left, r.right), 1},
    }};
}

std::string SizeLabel(const SelRect& rect) {
    return std::to_string(int64_t{rect.right} - rect.left) + "x" + std::to_string(int64_t{rect.bottom} - rect.top);
}

SelPoint LabelPosition(const SelRect& rect, int32_t cx, int32_t cy) {
    const double x = (static_cast<double>(rect.left) + rect.right - cx) / 2.0;
    const double y = (static_cast<double>(rect.top) + rect.bottom - cy) / 2.0;
    return {Nearest(x), Nearest(y)};
}

}  // namespace vx
