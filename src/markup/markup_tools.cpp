#include "markup/markup_tools.h"

#include <algorithm>

namespace vx::markup {

std::optional<Tool> ToolForKey(int key) {
    for (int i = 0; i < kToolCount; ++i)
        if (kToolKeys[size_t(i)] == key) return Tool(i);
    return std::nullopt;
}

int32_t HighlighterWidth(int widthIndex) { return kWidths[size_t(widthIndex)] * 3 + 12; }
int32_t BadgeSize(int textSizeIndex) { return kTextSizes[size_t(textSizeIndex)] * 5 / 4 + 4; }

std::optional<Shape> ShapeFromDrag(Tool tool, Point a, Point b, bool shift, const Style& style) {
    Shape s;
    s.color = style.colour;
    s.size = kWidths[size_t(style.width)];
    switch (tool) {
    case Tool::Arrow: s.kind = Kind::Arrow; break;
    case Tool::Line: s.kind = Kind::Line; break;
    case Tool::Rectangle: s.kind = Kind::Rectangle; break;
    case Tool::Ellipse: s.kind = Kind::Ellipse; break;
    case Tool::Redact:
        s.kind = Kind::Redaction;
        s.color = 0x000000;
        s.style = style.redact;
        break;
    case Tool::Step:
        s.kind = Kind::Step;
        s.size = BadgeSize(style.textSize);
        s.points = {b};
        return s;
    default: return std::nullopt;
    }
    if (shift) b = (s.kind == Kind::Line || s.kind == Kind::Arrow) ? SnapAngle(a, b) : SnapSquare(a, b);
    s.points = {a, b};
    if (IsBoxKind(s.kind)) s.points = {{std::min(a.x, b.x), std::min(a.y, b.y)}, {std::max(a.x, b.x), std::max(a.y, b.y)}};
    return s;
}

}  // namespace vx::markup
