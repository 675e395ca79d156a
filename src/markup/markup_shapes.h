#pragma once
// The markup's objects in the picture's pixels, and their geometry: bounds for repainting,
// hit tests, handles, moving and resizing, arrowheads, number badges. Portable: no <windows.h>.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/geometry.h"

namespace vx::markup {

enum class Kind : uint8_t { Arrow, Line, Rectangle, Ellipse, Pen, Highlighter, Text, Step, Redaction };
enum class RedactStyle : uint8_t { Solid, Mosaic };

// One object. Two-point kinds keep the drag's start and end in points[0] and points[1]
// (a text keeps its box's corners); the pen and the highlighter keep every point; a step
// number keeps its centre. `size` is the line width, or the text's and the badge's height.
struct Shape {
    Kind kind = Kind::Rectangle;
    std::vector<Point> points;
    uint32_t color = 0xFF0000;  // 0xRRGGBB
    int32_t size = 3;
    std::u16string text;
    bool filled = false;  // a text's background
    RedactStyle style = RedactStyle::Solid;
    bool operator==(const Shape& o) const {
        return kind == o.kind && points == o.points && color == o.color && size == o.size && text == o.text &&
               filled == o.filled && style == o.style;
    }
    bool operator!=(const Shape& o) const { return !(*this == o); }
};

// The picture's size, the part kept by the crops so far, and the objects bottom to top.
struct Document {
    int32_t width = 0, height = 0;
    Rect crop;
    std::vector<Shape> shapes;
    bool operator==(const Document& o) const {
        return width == o.width && height == o.height && crop == o.crop && shapes == o.shapes;
    }
};

// Box kinds have eight handles (corners and sides), lines and arrows their two ends, the
// pen and the highlighter eight around their points, a text its four corners, a step
// number none.
bool IsBoxKind(Kind k);

// The box of a two-point shape, ordered; the pen's points' bounds.
Rect OutlineBox(const Shape& s);

// Every pixel the shape may touch when drawn (line width, arrowhead, anti-aliasing), for
// repainting only what changed.
Rect Bounds(const Shape& s);

// The arrowhead's three corners for a shaft from `tail` to `head` drawn `width` wide:
// the tip at `head`, the base `HeadLength(width)` back along the shaft. All three are the
// tip when the two ends meet.
struct Arrowhead { Point tip, left, right, base; };
int32_t HeadLength(int32_t width);
Arrowhead ArrowheadFor(Point tail, Point head, int32_t width);

// The filled circle of a step number centred on `centre` for a badge `size` high.
Rect BadgeRect(Point centre, int32_t size);
// Each shape's step number (1, 2, 3 ... in the order they lie), 0 for other kinds.
std::vector<int32_t> StepNumbers(const Document& d);

// With Shift: a line turned to the nearest multiple of 45 degrees; a box made square.
Point SnapAngle(Point from, Point to);
Point SnapSquare(Point from, Point to);

// The topmost shape under `p` (within `tolerance` of a stroke), or -1.
int32_t HitTest(const Document& d, Point p, int32_t tolerance);

// Handle centres: eight for a box or a stroke (top-left clockwise to left), four for a
// text (top-left clockwise to bottom-left), two for a line or arrow.
std::vector<Point> Handles(const Shape& s);
// The handle within `radius` of `p`, or -1.
int32_t HitHandle(const Shape& s, Point p, int32_t radius);
// The shape with handle `handle` dragged to `to`; the opposite side stays where it is. A
// stroke's points are scaled into the new box (dragged past the other side, it mirrors). A
// text keeps its look and scales: its size follows the corner along the box's diagonal
// (kMinTextSize to kMaxTextSize), and its box grows from the opposite corner.
Shape Resized(const Shape& s, int32_t handle, Point to);
constexpr int32_t kMinTextSize = 6, kMaxTextSize = 400;
// A scaled text's box once measured in its font (`measured`, from anywhere), moved so the
// corner opposite `handle` stays where `scaled` has it.
Shape AnchoredText(const Shape& measured, const Shape& scaled, int32_t handle);
Shape Moved(const Shape& s, int32_t dx, int32_t dy);

}  // namespace vx::markup
