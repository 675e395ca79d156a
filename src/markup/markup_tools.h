#pragma once
// The markup's tools, their keys, and the choices of the tool strip (colours, widths, text
// sizes); what a drag with a tool makes. Portable: no <windows.h>.
#include <array>
#include <cstdint>
#include <optional>

#include "markup/markup_shapes.h"

namespace vx::markup {

enum class Tool : uint8_t { Select, Arrow, Line, Rectangle, Ellipse, Pen, Highlighter, Text, Step, Redact, Crop };
constexpr int kToolCount = 11;
// The key of each tool, in the order of Tool: V A L R E P H T N X C.
constexpr std::array<char, kToolCount> kToolKeys = {'V', 'A', 'L', 'R', 'E', 'P', 'H', 'T', 'N', 'X', 'C'};
std::optional<Tool> ToolForKey(int key);

// Eight colours, red first (0xRRGGBB); keys 1 to 8 choose them.
constexpr std::array<uint32_t, 8> kColours = {0xE0201B, 0xFF8C00, 0xFFD800, 0x1E9E3A,
                                             0x0A64D8, 0x8E44AD, 0x000000, 0xFFFFFF};
// Three line widths and three text sizes, in picture pixels.
constexpr std::array<int32_t, 3> kWidths = {2, 4, 8};
constexpr std::array<int32_t, 3> kTextSizes = {16, 24, 40};

struct Style {
    uint32_t colour = kColours[0];
    int width = 0;     // index into kWidths
    int textSize = 0;  // index into kTextSizes
    bool textBackground = false;
    RedactStyle redact = RedactStyle::Solid;
};

// The highlighter's stroke: wide enough to cover a line of text.
int32_t HighlighterWidth(int widthIndex);
// A step number's badge is a little taller than the text.
int32_t BadgeSize(int textSizeIndex);

// The object a drag from `a` to `b` makes with a drawing tool (Shift constrains lines to
// 45 degrees and boxes to squares); nothing for select, pen, text and crop.
std::optional<Shape> ShapeFromDrag(Tool tool, Point a, Point b, bool shift, const Style& style);

}  // namespace vx::markup
