#pragma once
// What a redaction's pixels are made of. The rule: they depend on nothing that was inside
// any redaction box. A solid fill, or a mosaic whose blocks take their colours only from the
// pixels just outside the box that lie in the kept part of the picture and under no other
// redaction; a block with no such pixel gets the fill. Never an average of what is hidden.
// Portable: no <windows.h>.
#include <cstdint>
#include <vector>

#include "markup/markup_shapes.h"

namespace vx::markup {

// 32-bit pixels, top row first; each byte is averaged on its own, so any channel order works.
struct Pixels {
    uint32_t* data = nullptr;
    int32_t width = 0, height = 0;
    int32_t stride = 0;  // in pixels
    uint32_t At(int32_t x, int32_t y) const { return data[int64_t(y) * stride + x]; }
    uint32_t& At(int32_t x, int32_t y) { return data[int64_t(y) * stride + x]; }
};

constexpr int32_t kMosaicBlock = 12;
constexpr uint32_t kRedactFill = 0xFF000000;  // opaque black in BGRA

struct Redaction {
    Rect box;
    RedactStyle style = RedactStyle::Solid;
    uint32_t fill = kRedactFill;
};

// The redaction boxes of a document, in order.
std::vector<Redaction> RedactionsOf(const Document& d);

// Paints every redaction into `out` where it meets `clip`, reading the pixels outside the
// boxes from `source` (the picture before any markup; it may be `out` itself, since no
// pixel under a box is ever read). Nothing outside `kept` is read or written.
void PaintRedactions(const Pixels& source, Pixels& out, const std::vector<Redaction>& boxes, Rect kept, Rect clip);

}  // namespace vx::markup
