#include "pick_decor_win.h"

#include <string>

#include "../platform/dpi.h"
#include "../platform/geometry_win.h"
#include "clipboard_copy_win.h"
#include "selection_geometry.h"

namespace vx {
namespace {

constexpr COLORREF kOutline = RGB(0x00, 0x78, 0xD7);
constexpr COLORREF kLoupeBack = RGB(0x20, 0x20, 0x20);
constexpr COLORREF kOffScreen = RGB(0x80, 0x80, 0x80);
constexpr COLORREF kGridLine = RGB(0x60, 0x60, 0x60);
constexpr int kCell96 = 8, kGap96 = 20, kPad96 = 3, kOutlineWidth96 = 3;

void Fill(HDC dc, const Rect& r, COLORREF colour) {
    const RECT area = ToRECT(r);
    ::SetBkColor(dc, colour);
    // Opaque text output with no text fills a rectangle with one colour, no brush made.
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
}

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// The outline's four edges, inside the rectangle so that a window at a screen's edge
// shows all of them.
std::vector<Rect> Edges(const Rect& r, int32_t width) {
    if (r.Empty()) return {};
    return {{r.left, r.top, r.right, r.top + width}, {r.left, r.bottom - width, r.right, r.bottom},
            {r.left, r.top, r.left + width, r.bottom}, {r.right - width, r.top, r.right, r.bottom}};
}

}  // namespace

bool PickDecor::Begin(HDC frozen, const Rect& screen, const std::vector<Rect>& monitors, HWND owner, int dpi) {
    End();
    dpi_ = dpi;
    // Drawn into the frozen screen itself, never onto the display: a system that shows
    // the window again from what it holds (after a raise) shows it too. The band is
    // drawn through the same context, so neither reaches the screen before the other.
    frozenDc_ = UniqueWindowDc::Client(owner);
    if (!frozenDc_) return false;
    ::SetViewportOrgEx(frozenDc_.get(), -screen.left, -screen.top, nullptr);
    scratch_.reset(::CreateCompatibleDC(frozenDc_.get()));
    LOGFONTW font{};
    font.lfHeight = -Scale96(12, dpi);
    font.lfWeight = FW_NORMAL;
    font.lfQuality = NONANTIALIASED_QUALITY;
    ::lstrcpyW(font.lfFaceName, L"Tahoma");
    font_.reset(::CreateFontIndirectW(&font));
    if (!scratch_ || !font_) return false;
    ::SelectObject(scratch_.get(), font_.get());
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(scratch_.get(), &metrics);
    const int32_t pad = Scale96(kPad96, dpi);
    textHeight_ = 2 * metrics.tmHeight + 3 * pad;
    const Rect size = PlaceLoupe({}, {}, Scale96(kCell96, dpi), 0, textHeight_).frame;
    scratchBitmap_.reset(::CreateCompatibleBitmap(frozenDc_.get(), size.Width(), size.Height()));
    if (!scratchBitmap_) return false;
    scratchPrevious_ = ::SelectObject(scratch_.get(), scratchBitmap_.get());
    frozen_ = frozen;
    screen_ = screen;
    monitors_ = monitors;
    owner_ = owner;
    return true;
}

void PickDecor::End() {
    if (frozen_) Erase();
    frozen_ = nullptr;
    if (scratch_ && scratchPrevious_) ::SelectObject(scratch_.get(), scratchPrevious_);
    scratchPrevious_ = nullptr;
    scratchBitmap_.reset();
    scratch_.reset();
    font_.reset();
    frozenDc_.reset();
}

void PickDecor::Restore(const Rect& r) const {
    if (r.Empty()) return;
    ::BitBlt(frozenDc_.get(), r.left, r.top, r.Width(), r.Height(), frozen_, r.left - screen_.left, r.top - screen_.top,
             SRCCOPY);
}

void PickDecor::Show(const Rect& outline, Point pointer) {
    if (!frozen_) return;
    Place(outline, pointer);
    DrawOutline();
    RenderLoupe();
}

void PickDecor::Move(Point pointer) {
    if (frozen_) Place({}, pointer);
}

void PickDecor::Place(const Rect& outline, Point pointer) {
    const LoupeLayout next =
        PlaceLoupe(pointer, monitors_, Scale96(kCell96, dpi_), Scale96(kGap96, dpi_), textHeight_);
    if (outline != outline_) {
        for (const Rect& e : Edges(outline_, Scale96(kOutlineWidth96, dpi_))) Restore(e);
        Restore(label_);
        outline_ = outline;
        label_ = {};
    }
    for (const Rect& r : RectMinus(loupeShown_, next.frame)) Restore(r);
    loupe_ = next;
    pointer_ = pointer;
}

void PickDecor::Draw() {
    if (frozen_) RenderLoupe();
}

bool PickDecor::Key(int key) {
    if (key != 'C') return false;
    CopyColour();
    return true;
}

void PickDecor::Erase() {
    if (!frozen_) return;
    for (const Rect& e : Edges(outline_, Scale96(kOutlineWidth96, dpi_))) Restore(e);
    Restore(label_);
    Restore(loupeShown_);
    outline_ = label_ = loupeShown_ = {};
    ::GdiFlush();
}

void PickDecor::DrawOutline() {
    if (outline_.Empty()) return;
    HDC dc = frozenDc_.get();
    // The band is drawn through this context too, with its default colours.
    const int saved = ::SaveDC(dc);
    for (const Rect& e : Edges(outline_, Scale96(kOutlineWidth96, dpi_))) Fill(dc, e, kOutline);
    // The size in a label inside the top-left corner.
    const std::wstring text = Wide(SizeLabel(outline_));
    const int32_t pad = Scale96(kPad96, dpi_);
    SIZE size{};
    ::GetTextExtentPoint32W(scratch_.get(), text.c_str(), static_cast<int>(text.size()), &size);
    label_ = Rect::FromSize(outline_.left, outline_.top, size.cx + 2 * pad, size.cy + 2 * pad);
    const HGDIOBJ previous = ::SelectObject(dc, font_.get());
    const RECT area = ToRECT(label_);
    ::SetBkColor(dc, kOutline);
    ::SetTextColor(dc, RGB(255, 255, 255));
    ::ExtTextOutW(dc, label_.left + pad, label_.top + pad, ETO_OPAQUE, &area, text.c_str(),
                  static_cast<UINT>(text.size()), nullptr);
    ::SelectObject(dc, previous);
    ::RestoreDC(dc, saved);
}

COLORREF PickDecor::ColourAt(Point p) const {
    if (!frozen_) return 0;
    const COLORREF c = ::GetPixel(frozen_, p.x - screen_.left, p.y - screen_.top);
    return c == CLR_INVALID ? 0 : c;
}

void PickDecor::RenderLoupe() {
    const LoupeLayout& l = loupe_;
    HDC s = scratch_.get();
    // Put together at (0, 0) of the scratch bitmap.
    const auto local = [&l](const Rect& r) { return r.Offset(-l.frame.left, -l.frame.top); };
    Fill(s, local(l.frame), kLoupeBack);
    const Rect grid = local(l.grid);
    Fill(s, grid, kOffScreen);
    const Rect on = l.source.Intersect(screen_);
    if (!on.Empty()) {
        ::SetStretchBltMode(s, COLORONCOLOR);
        ::StretchBlt(s, grid.left + (on.left - l.source.left) * l.cell, grid.top + (on.top - l.source.top) * l.cell,
                     on.Width() * l.cell, on.Height() * l.cell, frozen_, on.left - screen_.left, on.top - screen_.top,
                     on.Width(), on.Height(), SRCCOPY);
    }
    for (int32_t i = 1; i < l.source.Width(); ++i) {
        Fill(s, Rect::FromSize(grid.left + i * l.cell, grid.top, 1, grid.Height()), kGridLine);
        Fill(s, Rect::FromSize(grid.left, grid.top + i * l.cell, grid.Width(), 1), kGridLine);
    }
    // The pointer's pixel: black inside, white around, whatever the colour under it.
    const Rect c = local(l.centre);
    for (const Rect& e : Edges({c.left - 1, c.top - 1, c.right + 1, c.bottom + 1}, 1)) Fill(s, e, RGB(255, 255, 255));
    for (const Rect& e : Edges(c, 1)) Fill(s, e, RGB(0, 0, 0));

    const COLORREF colour = ColourAt(pointer_);
    const std::wstring where = Wide(PointText(pointer_));
    const std::wstring hex = Wide(ColourText(GetRValue(colour), GetGValue(colour), GetBValue(colour)));
    const Rect text = local(l.text);
    const int32_t pad = Scale96(kPad96, dpi_);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(s, &metrics);
    ::SetBkMode(s, TRANSPARENT);
    ::SetTextColor(s, RGB(255, 255, 255));
    ::TextOutW(s, text.left + pad, text.top + pad, where.c_str(), static_cast<int>(where.size()));
    const int32_t line2 = text.top + 2 * pad + metrics.tmHeight;
    const int32_t swatch = metrics.tmHeight - 2;
    Fill(s, Rect::FromSize(text.left + pad, line2 + 1, swatch, swatch), RGB(255, 255, 255));
    Fill(s, Rect::FromSize(text.left + pad + 1, line2 + 2, swatch - 2, swatch - 2), colour);
    ::SetBkMode(s, TRANSPARENT);
    ::TextOutW(s, text.left + 2 * pad + swatch, line2, hex.c_str(), static_cast<int>(hex.size()));
    ::SetBkMode(s, OPAQUE);

    ::BitBlt(frozenDc_.get(), l.frame.left, l.frame.top, l.frame.Width(), l.frame.Height(), s, 0, 0, SRCCOPY);
    loupeShown_ = l.frame;
}

bool PickDecor::CopyColour() const {
    const COLORREF c = ColourAt(pointer_);
    return CopyTextToClipboard(owner_, Wide(ColourText(GetRValue(c), GetGValue(c), GetBValue(c))));
}

}  // namespace vx
