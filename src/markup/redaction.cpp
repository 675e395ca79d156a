#include "markup/redaction.h"

#include <algorithm>

namespace vx::markup {
namespace {

struct Sum {
    uint64_t c[4] = {0, 0, 0, 0};
    uint32_t n = 0;
    void Add(uint32_t px) {
        for (int i = 0; i < 4; ++i) c[i] += (px >> (8 * i)) & 0xFF;
        ++n;
    }
};

bool Covered(const std::vector<Redaction>& boxes, int32_t x, int32_t y) {
    for (const Redaction& r : boxes)
        if (r.box.Contains({x, y})) return true;
    return false;
}

// The mean of the usable pixels on one side: a column (`vertical`) or a row just outside
// the box, over the block's span; false when none is usable.
bool SideMean(const Pixels& src, const std::vector<Redaction>& boxes, Rect kept, bool vertical, int32_t at,
              int32_t from, int32_t to, double out[4]) {
    Sum s;
    for (int32_t i = from; i < to; ++i) {
        const int32_t x = vertical ? at : i, y = vertical ? i : at;
        if (!kept.Contains({x, y}) || Covered(boxes, x, y)) continue;
        s.Add(src.At(x, y));
    }
    if (s.n == 0) return false;
    for (int i = 0; i < 4; ++i) out[i] = double(s.c[i]) / s.n;
    return true;
}

// A block's colour: the four sides' means, the nearer side weighing more.
uint32_t BlockColour(const Pixels& src, const std::vector<Redaction>& boxes, Rect kept, const Redaction& r, Rect block) {
    const Rect& b = r.box;
    const double cx = (block.left + block.right) / 2.0, cy = (block.top + block.bottom) / 2.0;
    const struct { bool vertical; int32_t at, from, to; double distance; } sides[4] = {
        {true, b.left - 1, block.top, block.bottom, cx - b.left + 0.5},
        {true, b.right, block.top, block.bottom, b.right - cx + 0.5},
        {false, b.top - 1, block.left, block.right, cy - b.top + 0.5},
        {false, b.bottom, block.left, block.right, b.bottom - cy + 0.5},
    };
    double acc[4] = {0, 0, 0, 0}, weight = 0;
    for (const auto& side : sides) {
        double mean[4];
        if (!SideMean(src, boxes, kept, side.vertical, side.at, side.from, side.to, mean)) continue;
        const double w = 1.0 / (side.distance * side.distance);
        for (int i = 0; i < 4; ++i) acc[i] += mean[i] * w;
        weight += w;
    }
    if (weight == 0) return r.fill;
    uint32_t px = 0;
    for (int i = 0; i < 4; ++i) px |= uint32_t(std::clamp(acc[i] / weight + 0.5, 0.0, 255.0)) << (8 * i);
    return px;
}

}  // namespace

std::vector<Redaction> RedactionsOf(const Document& d) {
    std::vector<Redaction> r;
    for (const Shape& s : d.shapes)
        if (s.kind == Kind::Redaction && !s.points.empty())
            r.push_back({OutlineBox(s), s.style, 0xFF000000 | (s.color & 0xFFFFFF)});  // 0xAARRGGBB is BGRA in memory
    return r;
}

void PaintRedactions(const Pixels& source, Pixels& out, const std::vector<Redaction>& boxes, Rect kept, Rect clip) {
    kept = kept.Intersect({0, 0, std::min(source.width, out.width), std::min(source.height, out.height)});
    for (const Redaction& r : boxes) {
        const Rect area = r.box.Intersect(kept).Intersect(clip);
        if (area.Empty()) continue;
        if (r.style == RedactStyle::Solid) {
            for (int32_t y = area.top; y < area.bottom; ++y)
                std::fill(&out.At(area.left, y), &out.At(area.left, y) + area.Width(), r.fill);
            continue;
        }
        // Blocks are laid from the box's corner, so the view and the applied picture agree.
        const int32_t bx0 = r.box.left + (area.left - r.box.left) / kMosaicBlock * kMosaicBlock;
        const int32_t by0 = r.box.top + (area.top - r.box.top) / kMosaicBlock * kMosaicBlock;
        for (int32_t by = by0; by < area.bottom; by += kMosaicBlock)
            for (int32_t bx = bx0; bx < area.right; bx += kMosaicBlock) {
                const Rect block = Rect{bx, by, bx + kMosaicBlock, by + kMosaicBlock}.Intersect(r.box);
                const uint32_t colour = BlockColour(source, boxes, kept, r, block);
                const Rect paint = block.Intersect(area);
                for (int32_t y = paint.top; y < paint.bottom; ++y)
                    std::fill(&out.At(paint.left, y), &out.At(paint.left, y) + paint.Width(), colour);
            }
    }
}

}  // namespace vx::markup
