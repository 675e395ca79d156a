#include "markup/markup_shapes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vx::markup {
namespace {

int64_t Sq(int64_t v) { return v * v; }

// Squared distance, in pixels, from p to the segment a-b.
double SegmentDistance(Point p, Point a, Point b) {
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((double(p.x) - a.x) * dx + (double(p.y) - a.y) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = a.x + t * dx - p.x, ey = a.y + t * dy - p.y;
    return std::sqrt(ex * ex + ey * ey);
}

double Cross(Point o, Point a, Point b) {
    return (double(a.x) - o.x) * (double(b.y) - o.y) - (double(a.y) - o.y) * (double(b.x) - o.x);
}

bool InTriangle(Point p, Point a, Point b, Point c) {
    const double d1 = Cross(a, b, p), d2 = Cross(b, c, p), d3 = Cross(c, a, p);
    const bool neg = d1 < 0 || d2 < 0 || d3 < 0, pos = d1 > 0 || d2 > 0 || d3 > 0;
    return !(neg && pos);
}

Rect Inflate(Rect r, int32_t by) { return {r.left - by, r.top - by, r.right + by, r.bottom + by}; }

int32_t Sign(int64_t v) { return v < 0 ? -1 : 1; }

}  // namespace

bool IsBoxKind(Kind k) { return k == Kind::Rectangle || k == Kind::Ellipse || k == Kind::Redaction; }

Rect OutlineBox(const Shape& s) {
    if (s.points.empty()) return {};
    Rect r{s.points[0].x, s.points[0].y, s.points[0].x, s.points[0].y};
    for (const Point& p : s.points) {
        r.left = std::min(r.left, p.x);
        r.top = std::min(r.top, p.y);
        r.right = std::max(r.right, p.x);
        r.bottom = std::max(r.bottom, p.y);
    }
    // Points are pixels: the box holds the last one too.
    return {r.left, r.top, r.right + 1, r.bottom + 1};
}

Rect Bounds(const Shape& s) {
    if (s.points.empty()) return {};
    if (s.kind == Kind::Step) return Inflate(BadgeRect(s.points[0], s.size), 2);
    if (s.kind == Kind::Redaction) return OutlineBox(s);
    Rect r = OutlineBox(s);
    if (s.kind == Kind::Arrow && s.points.size() >= 2) {
        const Arrowhead h = ArrowheadFor(s.points[0], s.points[1], s.size);
        for (const Point& p : {h.left, h.right})
            r = Union(r, {p.x, p.y, p.x + 1, p.y + 1});
    }
    // Half the stroke on either side of the path, and a pixel of anti-aliasing.
    return s.kind == Kind::Text ? Inflate(r, 1) : Inflate(r, s.size / 2 + 2);
}

int32_t HeadLength(int32_t width) { return std::max(1, width) * 3 + 9; }

Arrowhead ArrowheadFor(Point tail, Point head, int32_t width) {
    const double dx = double(head.x) - tail.x, dy = double(head.y) - tail.y;
    const double len = std::sqrt(dx * dx + dy * dy);
    if (len == 0) return {head, head, head, head};
    const double l = HeadLength(width), ux = dx / len, uy = dy / len;
    const double bx = head.x - ux * l, by = head.y - uy * l, half = l * 0.5;
    auto at = [](double x, double y) { return Point{int32_t(std::lround(x)), int32_t(std::lround(y))}; };
    return {head, at(bx - uy * half, by + ux * half), at(bx + uy * half, by - ux * half), at(bx, by)};
}

Rect BadgeRect(Point centre, int32_t size) {
    const int32_t d = std::max(size, 2), r = d / 2;
    return Rect::FromSize(centre.x - r, centre.y - r, d, d);
}

std::vector<int32_t> StepNumbers(const Document& d) {
    std::vector<int32_t> n(d.shapes.size(), 0);
    int32_t next = 1;
    for (size_t i = 0; i < d.shapes.size(); ++i)
        if (d.shapes[i].kind == Kind::Step) n[i] = next++;
    return n;
}

Point SnapAngle(Point from, Point to) {
    const int64_t dx = int64_t(to.x) - from.x, dy = int64_t(to.y) - from.y;
    const int64_t ax = std::llabs(dx), ay = std::llabs(dy);
    // tan 22.5 degrees is 0.414: below it the line lies flat (or stands upright).
    if (ay * 1000 <= ax * 414) return {to.x, from.y};
    if (ax * 1000 <= ay * 414) return {from.x, to.y};
    const int64_t m = std::max(ax, ay);
    return {int32_t(from.x + Sign(dx) * m), int32_t(from.y + Sign(dy) * m)};
}

Point SnapSquare(Point from, Point to) {
    const int64_t dx = int64_t(to.x) - from.x, dy = int64_t(to.y) - from.y;
    const int64_t m = std::max(std::llabs(dx), std::llabs(dy));
    return {int32_t(from.x + Sign(dx) * m), int32_t(from.y + Sign(dy) * m)};
}

namespace {

bool Hits(const Shape& s, Point p, int32_t tolerance) {
    if (s.points.empty()) return false;
    const double reach = s.size / 2.0 + tolerance;
    const Rect box = OutlineBox(s);
    switch (s.kind) {
    case Kind::Arrow:
        if (s.points.size() >= 2) {
            const Arrowhead h = ArrowheadFor(s.points[0], s.points[1], s.size);
            if (InTriangle(p, h.tip, h.left, h.right)) return true;
        }
        [[fallthrough]];
    case Kind::Line:
    case Kind::Pen:
    case Kind::Highlighter: {
        if (s.points.size() == 1) return SegmentDistance(p, s.points[0], s.points[0]) <= reach;
        for (size_t i = 1; i < s.points.size(); ++i)
            if (SegmentDistance(p, s.points[i - 1], s.points[i]) <= reach) return true;
        return false;
    }
    case Kind::Rectangle: {
        const int32_t r = int32_t(reach);
        const Rect outer = Inflate(box, r), inner = Inflate(box, -r - 1);
        return outer.Contains(p) && (inner.Empty() || !inner.Contains(p));
    }
    case Kind::Ellipse: {
        const double rx = box.Width() / 2.0, ry = box.Height() / 2.0;
        const double cx = box.left + rx, cy = box.top + ry;
        const double nx = (p.x + 0.5 - cx) / rx, ny = (p.y + 0.5 - cy) / ry;
        return std::fabs(std::sqrt(nx * nx + ny * ny) - 1) * std::min(rx, ry) <= reach;
    }
    case Kind::Step: {
        const Rect b = BadgeRect(s.points[0], s.size);
        return Sq(int64_t(p.x) - s.points[0].x) + Sq(int64_t(p.y) - s.points[0].y) <=
               Sq(b.Width() / 2 + tolerance);
    }
    case Kind::Text:
    case Kind::Redaction: return Inflate(box, tolerance).Contains(p);
    }
    return false;
}

}  // namespace

int32_t HitTest(const Document& d, Point p, int32_t tolerance) {
    for (size_t i = d.shapes.size(); i-- > 0;)
        if (Hits(d.shapes[i], p, tolerance)) return int32_t(i);
    return -1;
}

std::vector<Point> Handles(const Shape& s) {
    if ((s.kind == Kind::Line || s.kind == Kind::Arrow) && s.points.size() >= 2) return {s.points[0], s.points[1]};
    const bool stroke = s.kind == Kind::Pen || s.kind == Kind::Highlighter;
    if (s.points.empty() || !(IsBoxKind(s.kind) || stroke || s.kind == Kind::Text)) return {};
    const Rect b = OutlineBox(s);
    const int32_t l = b.left, t = b.top, r = b.right - 1, bo = b.bottom - 1;
    if (s.kind == Kind::Text) return {{l, t}, {r, t}, {r, bo}, {l, bo}};
    const int32_t mx = l + (r - l) / 2, my = t + (bo - t) / 2;
    return {{l, t}, {mx, t}, {r, t}, {r, my}, {r, bo}, {mx, bo}, {l, bo}, {l, my}};
}

int32_t HitHandle(const Shape& s, Point p, int32_t radius) {
    const std::vector<Point> h = Handles(s);
    for (size_t i = 0; i < h.size(); ++i)
        if (std::llabs(int64_t(p.x) - h[i].x) <= radius && std::llabs(int64_t(p.y) - h[i].y) <= radius)
            return int32_t(i);
    return -1;
}

namespace {

// v on the old edges from0..from1 taken to the new to0..to1. A stroke with no extent that
// way follows the edge that moved.
int32_t Rescale(int32_t v, int32_t from0, int32_t from1, int32_t to0, int32_t to1) {
    if (from0 == from1) return to0 != from0 ? to0 : to1;
    const double t = (double(v) - from0) / (double(from1) - from0);
    return int32_t(std::lround(to0 + t * (double(to1) - to0)));
}

// Text handles run clockwise from the top-left: 0 and 3 carry the left edge, 0 and 1 the top.
Shape ScaledText(const Shape& s, int32_t handle, Point to) {
    const Rect b = OutlineBox(s);
    const bool left = handle == 0 || handle == 3, top = handle == 0 || handle == 1;
    // From the opposite corner's outer edge: the dragged corner, and the pointer's pixel
    // taken in whole.
    const double ax = left ? b.right : b.left, ay = top ? b.bottom : b.top;
    const double dx = (left ? b.left : b.right) - ax, dy = (top ? b.top : b.bottom) - ay;
    const double px = (left ? to.x : to.x + 1.0) - ax, py = (top ? to.y : to.y + 1.0) - ay;
    const double along = (px * dx + py * dy) / (dx * dx + dy * dy);
    const int32_t was = std::max(1, s.size);
    Shape r = s;
    r.size = int32_t(std::lround(std::clamp(was * along, double(kMinTextSize), double(kMaxTextSize))));
    const double scale = double(r.size) / was;
    const int32_t w = std::max(1, int32_t(std::lround(b.Width() * scale)));
    const int32_t h = std::max(1, int32_t(std::lround(b.Height() * scale)));
    const int32_t l = left ? b.right - w : b.left, t = top ? b.bottom - h : b.top;
    r.points = {{l, t}, {l + w - 1, t + h - 1}};
    return r;
}

}  // namespace

Shape Resized(const Shape& s, int32_t handle, Point to) {
    Shape r = s;
    const size_t count = Handles(s).size();
    if (handle < 0 || size_t(handle) >= count) return r;
    if (count == 2) {
        r.points[size_t(handle)] = to;
        return r;
    }
    if (s.kind == Kind::Text) return ScaledText(s, handle, to);
    const Rect b = OutlineBox(s);
    int32_t l = b.left, t = b.top, rt = b.right - 1, bo = b.bottom - 1;
    // Handles run clockwise from the top-left corner: which edges each one carries.
    static const bool moveLeft[8] = {1, 0, 0, 0, 0, 0, 1, 1}, moveTop[8] = {1, 1, 1, 0, 0, 0, 0, 0};
    static const bool moveRight[8] = {0, 0, 1, 1, 1, 0, 0, 0}, moveBottom[8] = {0, 0, 0, 0, 1, 1, 1, 0};
    if (moveLeft[handle]) l = to.x;
    if (moveRight[handle]) rt = to.x;
    if (moveTop[handle]) t = to.y;
    if (moveBottom[handle]) bo = to.y;
    if (s.kind == Kind::Pen || s.kind == Kind::Highlighter) {
        for (Point& p : r.points)
            p = {Rescale(p.x, b.left, b.right - 1, l, rt), Rescale(p.y, b.top, b.bottom - 1, t, bo)};
        return r;
    }
    r.points = {{std::min(l, rt), std::min(t, bo)}, {std::max(l, rt), std::max(t, bo)}};
    return r;
}

Shape AnchoredText(const Shape& measured, const Shape& scaled, int32_t handle) {
    const Rect m = OutlineBox(measured), s = OutlineBox(scaled);
    const bool left = handle == 0 || handle == 3, top = handle == 0 || handle == 1;
    return Moved(measured, left ? s.right - m.right : s.left - m.left, top ? s.bottom - m.bottom : s.top - m.top);
}

Shape Moved(const Shape& s, int32_t dx, int32_t dy) {
    Shape r = s;
    for (Point& p : r.points) p = {p.x + dx, p.y + dy};
    return r;
}

}  // namespace vx::markup
