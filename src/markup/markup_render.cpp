#include "markup_render.h"

#include <gdiplus.h>

#include <algorithm>
#include <vector>

#include "../platform/gdi.h"
#include "redaction.h"

namespace vx::markup {
namespace {

namespace gp = Gdiplus;

gp::Color ColourOf(uint32_t rgb, BYTE alpha = 255) {
    return gp::Color(alpha, BYTE(rgb >> 16), BYTE(rgb >> 8), BYTE(rgb));
}

// Pixel (x, y) covers [x, x + 1): a stroke along a pixel runs through its centre.
gp::PointF Centre(Point p, Point offset) { return {p.x + offset.x + 0.5f, p.y + offset.y + 0.5f}; }

void DrawText(HDC dc, const Shape& s, Point offset) {
    const Rect box = OutlineBox(s);
    RECT r{box.left + offset.x, box.top + offset.y, box.right + offset.x, box.bottom + offset.y};
    if (s.filled) {
        // A background in the colour, and the text in black or white, whichever reads.
        const uint32_t c = s.color;
        const int luma = int((c >> 16) & 0xFF) * 3 + int((c >> 8) & 0xFF) * 6 + int(c & 0xFF);
        UniqueHandle<HBRUSH, DeleteObjectCloser> brush(::CreateSolidBrush(RGB(c >> 16, (c >> 8) & 0xFF, c & 0xFF)));
        ::FillRect(dc, &r, brush.get());
        ::SetTextColor(dc, luma > 1280 ? RGB(0, 0, 0) : RGB(255, 255, 255));
    } else {
        ::SetTextColor(dc, RGB(s.color >> 16, (s.color >> 8) & 0xFF, s.color & 0xFF));
    }
    UniqueFont font = TextFont(s.size);
    SelectGuard select(dc, font.get());
    ::SetBkMode(dc, TRANSPARENT);
    const std::wstring text(s.text.begin(), s.text.end());
    ::DrawTextW(dc, text.c_str(), int(text.size()), &r, DT_NOPREFIX | DT_LEFT | DT_TOP | DT_NOCLIP);
}

void DrawStep(gp::Graphics& g, const Shape& s, int32_t number, Point offset) {
    const Rect b = BadgeRect(s.points[0], s.size);
    gp::SolidBrush brush(ColourOf(s.color));
    g.FillEllipse(&brush, gp::REAL(b.left + offset.x), gp::REAL(b.top + offset.y), gp::REAL(b.Width()),
                  gp::REAL(b.Height()));
    // The number in GDI's text, as every text of the markup.
    HDC dc = g.GetHDC();
    RECT r{b.left + offset.x, b.top + offset.y, b.right + offset.x, b.bottom + offset.y};
    UniqueFont font = TextFont(std::max(8, s.size * 3 / 5));
    SelectGuard select(dc, font.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, s.color == 0xFFFFFF || s.color == 0xFFD800 ? RGB(0, 0, 0) : RGB(255, 255, 255));
    const std::wstring text = std::to_wstring(number);
    ::DrawTextW(dc, text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    g.ReleaseHDC(dc);
}

void DrawStroke(gp::Graphics& g, const Shape& s, Point offset) {
    const bool highlight = s.kind == Kind::Highlighter;
    gp::Pen pen(ColourOf(s.color, highlight ? 100 : 255), gp::REAL(std::max(1, s.size)));
    pen.SetLineJoin(gp::LineJoinRound);
    if (s.kind != Kind::Rectangle) pen.SetStartCap(gp::LineCapRound), pen.SetEndCap(gp::LineCapRound);
    const Rect box = OutlineBox(s);
    // A box's outline lies inside it, so its outer edge is where the drag began and ended.
    const gp::REAL half = s.size / 2.0f;
    const gp::RectF inner(box.left + offset.x + half, box.top + offset.y + half,
                          std::max(0.0f, box.Width() - 2 * half), std::max(0.0f, box.Height() - 2 * half));
    switch (s.kind) {
    case Kind::Rectangle: g.DrawRectangle(&pen, inner); break;
    case Kind::Ellipse: g.DrawEllipse(&pen, inner); break;
    case Kind::Arrow: {
        const Arrowhead h = ArrowheadFor(s.points[0], s.points[1], s.size);
        g.DrawLine(&pen, Centre(s.points[0], offset), Centre(h.base, offset));
        const gp::PointF head[3] = {Centre(h.tip, offset), Centre(h.left, offset), Centre(h.right, offset)};
        gp::SolidBrush brush(ColourOf(s.color));
        g.FillPolygon(&brush, head, 3);
        break;
    }
    default: {
        std::vector<gp::PointF> pts;
        for (const Point& p : s.points) pts.push_back(Centre(p, offset));
        if (pts.size() == 1) pts.push_back({pts[0].X + 0.01f, pts[0].Y});
        // One path, so a translucent stroke is not darker where it crosses itself.
        g.DrawLines(&pen, pts.data(), INT(pts.size()));
        break;
    }
    }
}

}  // namespace

GdiplusSession::GdiplusSession() {
    gp::GdiplusStartupInput input;
    if (gp::GdiplusStartup(&token_, &input, nullptr) != gp::Ok) token_ = 0;
}

GdiplusSession::~GdiplusSession() {
    if (token_) gp::GdiplusShutdown(token_);
}

UniqueFont TextFont(int pixels) {
    NONCLIENTMETRICSW metrics{sizeof metrics};
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    LOGFONTW font = metrics.lfMessageFont;
    font.lfHeight = -std::max(1, pixels);
    font.lfWidth = 0;
    font.lfQuality = ANTIALIASED_QUALITY;
    return UniqueFont(::CreateFontIndirectW(&font));
}

Shape MeasuredText(Shape text, Point at) {
    UniqueCreatedDc dc(::CreateCompatibleDC(nullptr));
    UniqueFont font = TextFont(text.size);
    SelectGuard select(dc.get(), font.get());
    const std::wstring s(text.text.begin(), text.text.end());
    RECT r{0, 0, 0, 0};
    ::DrawTextW(dc.get(), s.empty() ? L" " : s.c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX | DT_LEFT | DT_TOP);
    text.points = {at, {at.x + std::max(1L, r.right) - 1, at.y + std::max(1L, r.bottom) - 1}};
    return text;
}

void DrawShapes(HDC dc, const Document& doc, Point offset, Rect only, Preview preview) {
    const std::vector<int32_t> numbers = StepNumbers(doc);
    int32_t last = 0;
    for (int32_t n : numbers) last = std::max(last, n);
    // One GDI+ context for all of them: making one costs more than drawing a line.
    gp::Graphics g(dc);
    g.SetSmoothingMode(gp::SmoothingModeAntiAlias);
    g.SetPixelOffsetMode(gp::PixelOffsetModeHalf);
    auto draw = [&](const Shape& s, int32_t number) {
        if (s.points.empty() || s.kind == Kind::Redaction || Bounds(s).Intersect(only).Empty()) return;
        if (s.kind == Kind::Text) {
            HDC h = g.GetHDC();
            DrawText(h, s, offset);
            g.ReleaseHDC(h);
        } else if (s.kind == Kind::Step) {
            DrawStep(g, s, number, offset);
        } else {
            DrawStroke(g, s, offset);
        }
    };
    for (size_t i = 0; i < doc.shapes.size(); ++i)
        draw(preview.shape && preview.index == int32_t(i) ? *preview.shape : doc.shapes[i], numbers[i]);
    if (preview.shape && preview.index < 0) draw(*preview.shape, last + 1);
}

namespace {

// Draws the redactions (from the pixels around them only) and then the objects over them
// into `target`, a DC whose pixel p + offset holds the picture's pixel p of the kept part.
// False, with nothing drawn, when memory runs out.
bool DrawApplied(HDC target, Point offset, const Document& doc) {
    std::vector<Redaction> boxes = RedactionsOf(doc);
    Rect need;
    for (const Redaction& r : boxes) need = Union(need, Rect{r.box.left - 1, r.box.top - 1, r.box.right + 1, r.box.bottom + 1});
    need = need.Intersect(doc.crop);
    if (!need.Empty()) {
        // Only the boxes and their rims go through memory of their own.
        void* bits = nullptr;
        UniqueBitmap ring = NewDibSection(need.Width(), need.Height(), &bits);
        UniqueCreatedDc ringDc(::CreateCompatibleDC(target));
        if (!ring || !ringDc) return false;
        SelectGuard select(ringDc.get(), ring.get());
        ::BitBlt(ringDc.get(), 0, 0, need.Width(), need.Height(), target, need.left + offset.x, need.top + offset.y, SRCCOPY);
        ::GdiFlush();
        for (Redaction& r : boxes) r.box = r.box.Offset(-need.left, -need.top);
        Pixels px{static_cast<uint32_t*>(bits), need.Width(), need.Height(), need.Width()};
        const Rect kept = doc.crop.Offset(-need.left, -need.top);
        PaintRedactions(px, px, boxes, kept, kept);
        ::BitBlt(target, need.left + offset.x, need.top + offset.y, need.Width(), need.Height(), ringDc.get(), 0, 0, SRCCOPY);
    }
    DrawShapes(target, doc, offset, doc.crop);
    ::GdiFlush();
    return true;
}

}  // namespace

UniqueBitmap ApplyToBitmap(HBITMAP picture, const Document& doc, bool inPlace, bool* failed) {
    *failed = true;
    UniqueCreatedDc memory(::CreateCompatibleDC(nullptr)), source(::CreateCompatibleDC(nullptr));
    if (!memory || !source) return {};
    const Rect kept = doc.crop;
    // Only a picture of full colour keeps every shade of the anti-aliasing.
    BITMAP info{};
    if (inPlace && kept == Rect{0, 0, doc.width, doc.height} && ::GetObjectW(picture, sizeof info, &info) &&
        info.bmBitsPixel == 32) {
        SelectGuard select(memory.get(), picture);
        *failed = !DrawApplied(memory.get(), {0, 0}, doc);
        return {};
    }
    // The kept part alone in new memory: the picture itself stays as it was.
    void* bits = nullptr;
    UniqueBitmap out = NewDibSection(kept.Width(), kept.Height(), &bits);
    if (!out) return {};
    SelectGuard selectOut(memory.get(), out.get());
    {
        SelectGuard selectIn(source.get(), picture);
        ::BitBlt(memory.get(), 0, 0, kept.Width(), kept.Height(), source.get(), kept.left, kept.top, SRCCOPY);
    }
    if (!DrawApplied(memory.get(), {-kept.left, -kept.top}, doc)) return {};
    *failed = false;
    return out;
}

}  // namespace vx::markup
