#include "loupe_geometry.h"

#include <algorithm>
#include <cstdio>

namespace vx {
namespace {

// The monitor the point is on; the nearest one when it is on none (a gap of the virtual
// screen the pointer cannot reach, kept for safety).
Rect MonitorOf(Point p, const std::vector<Rect>& monitors) {
    Rect best{};
    int64_t bestDistance = -1;
    for (const Rect& m : monitors) {
        if (m.Contains(p)) return m;
        const int64_t dx = p.x < m.left ? m.left - p.x : std::max<int64_t>(p.x - (m.right - 1), 0);
        const int64_t dy = p.y < m.top ? m.top - p.y : std::max<int64_t>(p.y - (m.bottom - 1), 0);
        if (bestDistance < 0 || dx * dx + dy * dy < bestDistance) {
            bestDistance = dx * dx + dy * dy;
            best = m;
        }
    }
    return best;
}

// Start of the loupe on one axis: after the pointer, before it when that would leave
// [low, high), and within [low, high) as far as it fits.
int32_t Side(int32_t at, int32_t size, int32_t gap, int32_t low, int32_t high) {
    int32_t start = at + gap;
    if (start + size > high) start = at - gap - size;
    return std::max(std::min(start, high - size), low);
}

}  // namespace

LoupeLayout PlaceLoupe(Point pointer, const std::vector<Rect>& monitors, int32_t cell, int32_t gap,
                       int32_t textHeight) {
    constexpr int32_t kCells = 2 * kLoupeReach + 1;
    constexpr int32_t kBorder = 1;
    LoupeLayout l;
    l.cell = cell;
    const int32_t side = kCells * cell + 2 * kBorder;
    const int32_t height = side + textHeight;
    const Rect monitor = monitors.empty() ? Rect{INT32_MIN / 2, INT32_MIN / 2, INT32_MAX / 2, INT32_MAX / 2}
                                          : MonitorOf(pointer, monitors);
    const int32_t x = Side(pointer.x, side, gap, monitor.left, monitor.right);
    const int32_t y = Side(pointer.y, height, gap, monitor.top, monitor.bottom);
    l.frame = Rect::FromSize(x, y, side, height);
    l.grid = Rect::FromSize(x + kBorder, y + kBorder, kCells * cell, kCells * cell);
    l.source = Rect::FromSize(pointer.x - kLoupeReach, pointer.y - kLoupeReach, kCells, kCells);
    l.centre = Rect::FromSize(l.grid.left + kLoupeReach * cell, l.grid.top + kLoupeReach * cell, cell, cell);
    l.text = Rect{x + kBorder, l.grid.bottom, x + side - kBorder, y + height - kBorder};
    return l;
}

std::vector<Rect> RectMinus(const Rect& a, const Rect& b) {
    const Rect common = a.Intersect(b);
    if (common.Empty()) return a.Empty() ? std::vector<Rect>{} : std::vector<Rect>{a};
    std::vector<Rect> parts{
        {a.left, a.top, a.right, common.top},                  // above
        {a.left, common.bottom, a.right, a.bottom},            // below
        {a.left, common.top, common.left, common.bottom},      // left
        {common.right, common.top, a.right, common.bottom},    // right
    };
    parts.erase(std::remove_if(parts.begin(), parts.end(), [](const Rect& r) { return r.Empty(); }), parts.end());
    return parts;
}

std::string ColourText(uint8_t red, uint8_t green, uint8_t blue) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", red, green, blue);
    return text;
}

std::string PointText(Point p) { return std::to_string(p.x) + ", " + std::to_string(p.y); }

}  // namespace vx
