#include "markup_session.h"

#include <commctrl.h>
#include <gdiplus.h>
#include <windowsx.h>

#include <algorithm>

#include "../document/picture_object.h"
#include "../platform/dialogs.h"
#include "../platform/dpi.h"
#include "../platform/gdi.h"
#include "../platform/program_path.h"
#include "../platform/text.h"
#include "../resources/resource.h"
#include "redaction.h"

namespace vx::markup {
namespace {

Rect Inflate(Rect r, int32_t by) { return {r.left - by, r.top - by, r.right + by, r.bottom + by}; }

bool Down(int key) { return ::GetKeyState(key) < 0; }

// The box a crop or a redaction drag makes: both pixels under the pointer inside.
Rect DragBox(Point a, Point b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1};
}

}  // namespace

MarkupSession::MarkupSession() = default;
MarkupSession::~MarkupSession() { End(); }

bool MarkupSession::Start(CommandHost& host, HWND view, HWND toolbarRow, std::function<POINT()> origin) {
    const PictureBox& picture = host.Doc().PicBmp;
    if (Active() || picture.Empty()) return false;
    view_ = view;
    origin_ = std::move(origin);
    // GDI+ and the strip stay for the next session: starting costs what showing costs.
    if (!gdiplus_) gdiplus_ = std::make_unique<GdiplusSession>();
    history_ = std::make_unique<History>(int32_t(picture.PixelWidth()), int32_t(picture.PixelHeight()));
    host_ = &host;
    tool_ = Tool::Arrow;
    if (strip_.hwnd()) strip_.Show();
    else strip_.Create(::GetAncestor(view, GA_ROOT), toolbarRow, this);
    return true;
}

void MarkupSession::End() {
    if (!host_) return;
    CancelText();
    if (::GetCapture() == view_) ::ReleaseCapture();
    gesture_ = Gesture::None;
    preview_.reset();
    selected_ = -1;
    strip_.Hide();
    history_.reset();
    back_.reset();
    host_ = nullptr;
    ::InvalidateRect(view_, nullptr, FALSE);
}

Point MarkupSession::ToPicture(POINT at) const {
    const POINT o = origin_();
    return {at.x - o.x, at.y - o.y};
}

void MarkupSession::Invalidate(Rect picture) {
    if (picture.Empty()) return;
    const POINT o = origin_();
    const int32_t handle = Scale96(6, WindowDpi(view_)) + 2;  // the selection's handles stick out
    const Rect r = Inflate(picture.Offset(o.x, o.y), handle);
    const RECT area{r.left, r.top, r.right, r.bottom};
    ::InvalidateRect(view_, &area, FALSE);
}

void MarkupSession::Do(Rect touched) { Invalidate(touched); }

void MarkupSession::Paint(HDC dc, const RECT& clip) {
    const PictureBox& picture = host_->Doc().PicBmp;
    const Document& doc = history_->Current();
    const POINT o = origin_();
    const int w = clip.right - clip.left, h = clip.bottom - clip.top;
    if (w > backWidth_ || h > backHeight_) {
        // One back buffer for the session, grown to the largest area asked for.
        void* bits = nullptr;
        back_ = NewDibSection(std::max(w, backWidth_), std::max(h, backHeight_), &bits);
        backWidth_ = back_ ? std::max(w, backWidth_) : 0;
        backHeight_ = back_ ? std::max(h, backHeight_) : 0;
    }
    UniqueCreatedDc memory(::CreateCompatibleDC(dc)), source(::CreateCompatibleDC(dc));
    if (!back_ || !memory || !source) return;
    SelectGuard selectBack(memory.get(), back_.get());
    RECT all{0, 0, w, h};
    ::FillRect(memory.get(), &all, ::GetSysColorBrush(COLOR_APPWORKSPACE));
    // The picture's pixels in the clip, and where picture pixel p lands in the back buffer.
    const Rect whole{0, 0, doc.width, doc.height};
    const Rect visible = Rect{clip.left - o.x, clip.top - o.y, clip.right - o.x, clip.bottom - o.y}.Intersect(whole);
    const Point offset{o.x - clip.left, o.y - clip.top};
    SelectGuard selectPicture(source.get(), picture.Bitmap());
    if (!visible.Empty())
        ::BitBlt(memory.get(), visible.left + offset.x, visible.top + offset.y, visible.Width(), visible.Height(),
                 source.get(), visible.left, visible.top, SRCCOPY);

    // Redactions as they will be applied: from the picture around them, never from under them.
    std::vector<Redaction> boxes = RedactionsOf(doc);
    if (preview_ && preview_->kind == Kind::Redaction) {
        const Redaction r{OutlineBox(*preview_), preview_->style, kRedactFill};
        if (gesture_ == Gesture::Drawing) boxes.push_back(r);
        else if (selected_ >= 0) boxes = RedactionsOf([&] { Document d = doc; d.shapes[size_t(selected_)] = *preview_; return d; }());
    }
    Rect need;
    for (const Redaction& r : boxes)
        if (!r.box.Intersect(visible).Empty()) need = Union(need, Inflate(r.box, 1));
    need = need.Intersect(whole);
    if (!need.Empty()) {
        void* ringBits = nullptr;
        UniqueBitmap ring = NewDibSection(need.Width(), need.Height(), &ringBits);
        UniqueCreatedDc ringDc(::CreateCompatibleDC(dc));
        if (ring && ringDc) {
            SelectGuard selectRing(ringDc.get(), ring.get());
            ::BitBlt(ringDc.get(), 0, 0, need.Width(), need.Height(), source.get(), need.left, need.top, SRCCOPY);
            ::GdiFlush();
            for (Redaction& r : boxes) r.box = r.box.Offset(-need.left, -need.top);
            Pixels px{static_cast<uint32_t*>(ringBits), need.Width(), need.Height(), need.Width()};
            const Rect shown = visible.Intersect(need);
            PaintRedactions(px, px, boxes, doc.crop.Offset(-need.left, -need.top), shown.Offset(-need.left, -need.top));
            ::BitBlt(memory.get(), shown.left + offset.x, shown.top + offset.y, shown.Width(), shown.Height(),
                     ringDc.get(), shown.left - need.left, shown.top - need.top, SRCCOPY);
        }
    }

    Preview p;
    if (preview_) p = {gesture_ == Gesture::Drawing ? -1 : selected_, &*preview_};
    DrawShapes(memory.get(), doc, offset, visible, p);

    namespace gp = Gdiplus;
    gp::Graphics g(memory.get());
    const Rect crop = gesture_ == Gesture::Cropping ? cropPreview_ : doc.crop;
    if (crop != whole) {
        // What the crop leaves out, dimmed.
        gp::SolidBrush dim(gp::Color(140, 0, 0, 0));
        const Rect parts[4] = {{0, 0, doc.width, crop.top}, {0, crop.bottom, doc.width, doc.height},
                               {0, crop.top, crop.left, crop.bottom}, {crop.right, crop.top, doc.width, crop.bottom}};
        for (const Rect& r : parts) {
            const Rect v = r.Intersect(visible);
            if (!v.Empty()) g.FillRectangle(&dim, v.left + offset.x, v.top + offset.y, v.Width(), v.Height());
        }
    }
    if (selected_ >= 0 && size_t(selected_) < doc.shapes.size()) {
        const Shape& s = preview_ && gesture_ != Gesture::Drawing ? *preview_ : doc.shapes[size_t(selected_)];
        const int half = Scale96(3, WindowDpi(view_));
        gp::Pen outline(gp::Color(255, 0, 0, 0), 1);
        gp::SolidBrush fill(gp::Color(255, 255, 255, 255));
        const Rect b = Bounds(s);
        gp::Pen dashed(gp::Color(255, 0, 120, 215), 1);
        dashed.SetDashStyle(gp::DashStyleDash);
        g.DrawRectangle(&dashed, b.left + offset.x, b.top + offset.y, b.Width() - 1, b.Height() - 1);
        for (const Point& hp : Handles(s)) {
            g.FillRectangle(&fill, hp.x + offset.x - half, hp.y + offset.y - half, 2 * half, 2 * half);
            g.DrawRectangle(&outline, hp.x + offset.x - half, hp.y + offset.y - half, 2 * half, 2 * half);
        }
    }
    ::GdiFlush();
    ::BitBlt(dc, clip.left, clip.top, w, h, memory.get(), 0, 0, SRCCOPY);
}

bool MarkupSession::OnSetCursor() {
    const wchar_t* cursor = tool_ == Tool::Select ? IDC_ARROW : tool_ == Tool::Text ? IDC_IBEAM : IDC_CROSS;
    ::SetCursor(::LoadCursorW(nullptr, cursor));
    return true;
}

bool MarkupSession::OnMouse(UINT message, WPARAM keys, POINT at) {
    const Point p = ToPicture(at);
    const Document& doc = history_->Current();
    const bool shift = (keys & MK_SHIFT) != 0;
    switch (message) {
    case WM_LBUTTONDOWN: {
        if (edit_) {
            CommitText();
            if (tool_ == Tool::Text) return true;  // a click beside the text only ends it
        }
        ::SetFocus(::GetAncestor(view_, GA_ROOT));
        strip_.Place();  // back above the window, which a click may have raised over it
        pressed_ = last_ = p;
        const int32_t dpiTolerance = Scale96(4, WindowDpi(view_));
        switch (tool_) {
        case Tool::Select:
            if (selected_ >= 0 && (handle_ = HitHandle(doc.shapes[size_t(selected_)], p, dpiTolerance)) >= 0) {
                gesture_ = Gesture::Resizing;
            } else {
                Select(HitTest(doc, p, dpiTolerance));
                if (selected_ >= 0) gesture_ = Gesture::Moving;
            }
            break;
        case Tool::Text: BeginText(p, -1); return true;
        case Tool::Step: Do(history_->Add(*ShapeFromDrag(tool_, p, p, false, style_))); return true;
        case Tool::Crop:
            gesture_ = Gesture::Cropping;
            cropPreview_ = DragBox(p, p);
            break;
        case Tool::Pen:
        case Tool::Highlighter: {
            Shape s;
            s.kind = tool_ == Tool::Pen ? Kind::Pen : Kind::Highlighter;
            s.color = tool_ == Tool::Highlighter && style_.colour == kColours[0] ? kColours[2] : style_.colour;
            s.size = tool_ == Tool::Pen ? kWidths[size_t(style_.width)] : HighlighterWidth(style_.width);
            s.points = {p};
            preview_ = s;
            gesture_ = Gesture::Drawing;
            Invalidate(Bounds(s));
            break;
        }
        default:
            preview_ = ShapeFromDrag(tool_, p, p, shift, style_);
            gesture_ = Gesture::Drawing;
            break;
        }
        if (gesture_ != Gesture::None) ::SetCapture(view_);
        return true;
    }
    case WM_MOUSEMOVE: {
        if (gesture_ == Gesture::None || p == last_) return gesture_ != Gesture::None;
        last_ = p;
        if (gesture_ == Gesture::Cropping) {
            const Rect old = cropPreview_;
            cropPreview_ = DragBox(pressed_, p);
            Invalidate(Union(old, cropPreview_));
            return true;
        }
        const Rect old = preview_ ? Bounds(*preview_) : Rect{};
        if (gesture_ == Gesture::Drawing) {
            if (tool_ == Tool::Pen || tool_ == Tool::Highlighter) preview_->points.push_back(p);
            else preview_ = ShapeFromDrag(tool_, pressed_, p, shift, style_);
        } else if (gesture_ == Gesture::Moving) {
            preview_ = Moved(doc.shapes[size_t(selected_)], p.x - pressed_.x, p.y - pressed_.y);
        } else {
            preview_ = Resized(doc.shapes[size_t(selected_)], handle_, p);
            // A scaled text takes the box its font really draws, its fixed corner kept.
            if (preview_->kind == Kind::Text)
                preview_ = AnchoredText(MeasuredText(*preview_, preview_->points[0]), *preview_, handle_);
        }
        // A pen stroke changes only around its newest piece.
        Rect now = Bounds(*preview_);
        if (gesture_ == Gesture::Drawing && preview_->points.size() > 2) {
            Shape piece = *preview_;
            piece.points = {piece.points[piece.points.size() - 2], p};
            Invalidate(Bounds(piece));
            return true;
        }
        Invalidate(Union(old, Union(now, selected_ >= 0 ? Bounds(doc.shapes[size_t(selected_)]) : Rect{})));
        return true;
    }
    case WM_LBUTTONUP: {
        if (gesture_ == Gesture::None) return false;
        if (::GetCapture() == view_) ::ReleaseCapture();
        const Gesture g = gesture_;
        gesture_ = Gesture::None;
        std::optional<Shape> shape = std::move(preview_);
        preview_.reset();
        if (g == Gesture::Cropping) {
            const Rect box = cropPreview_;
            Invalidate({0, 0, doc.width, doc.height});
            if (box.Width() > 1 && box.Height() > 1) history_->Crop(box);
        } else if (g == Gesture::Drawing) {
            const bool moved = shape && (shape->points.size() > 1 && shape->points.front() != shape->points.back());
            if (moved || (shape && (shape->kind == Kind::Pen || shape->kind == Kind::Highlighter)))
                Do(history_->Add(*shape));
            else if (shape)
                Invalidate(Bounds(*shape));
        } else if (shape) {
            const Rect old = Bounds(doc.shapes[size_t(selected_)]);
            Do(Union(old, history_->Change(size_t(selected_), *shape)));
        }
        return true;
    }
    case WM_LBUTTONDBLCLK: {
        const int32_t hit = HitTest(doc, p, 2);
        if (hit >= 0 && doc.shapes[size_t(hit)].kind == Kind::Text) {
            Select(-1);
            BeginText(doc.shapes[size_t(hit)].points[0], hit);
            return true;
        }
        return OnMouse(WM_LBUTTONDOWN, keys, at);
    }
    default: return false;
    }
}

void MarkupSession::CancelGesture() {
    if (gesture_ == Gesture::None) return;
    if (::GetCapture() == view_) ::ReleaseCapture();
    const Rect old = preview_ ? Bounds(*preview_) : Rect{};
    const Document& doc = history_->Current();
    Invalidate(gesture_ == Gesture::Cropping ? Rect{0, 0, doc.width, doc.height} : old);
    gesture_ = Gesture::None;
    preview_.reset();
}

void MarkupSession::Select(int32_t index) {
    const Document& doc = history_->Current();
    if (selected_ >= 0 && size_t(selected_) < doc.shapes.size()) Invalidate(Bounds(doc.shapes[size_t(selected_)]));
    selected_ = index >= 0 && size_t(index) < doc.shapes.size() ? index : -1;
    if (selected_ >= 0) Invalidate(Bounds(doc.shapes[size_t(selected_)]));
}

bool MarkupSession::OnKey(int key) {
    if (!Active() || edit_) return false;
    const bool ctrl = Down(VK_CONTROL), shift = Down(VK_SHIFT);
    if (key == VK_ESCAPE) {
        if (gesture_ != Gesture::None) CancelGesture();
        else Discard();
        return true;
    }
    if (key == VK_RETURN) return Apply(), true;
    if (ctrl) {
        if (key == 'Z' || key == 'Y') return Step(key == 'Y' || shift), true;
        return false;
    }
    if (selected_ >= 0) {
        const int step = shift ? 10 : 1;
        const Shape& s = history_->Current().shapes[size_t(selected_)];
        int dx = 0, dy = 0;
        switch (key) {
        case VK_DELETE: {
            const int32_t index = selected_;
            Select(-1);
            Do(history_->Remove(size_t(index)));
            return true;
        }
        case VK_LEFT: dx = -step; break;
        case VK_RIGHT: dx = step; break;
        case VK_UP: dy = -step; break;
        case VK_DOWN: dy = step; break;
        default: break;
        }
        if (dx || dy) {
            const Rect old = Bounds(s);
            Do(Union(old, history_->Change(size_t(selected_), Moved(s, dx, dy))));
            return true;
        }
    }
    if (const std::optional<Tool> tool = ToolForKey(key)) return ChooseTool(*tool), true;
    if (key >= '1' && key <= '8') return ChooseColour(kColours[size_t(key - '1')]), true;
    switch (key) {
    case 'W': NextWidth(); return true;
    case 'S': NextTextSize(); return true;
    case 'B': ToggleTextBackground(); return true;
    case 'M': ToggleRedactStyle(); return true;
    case '0': OtherColour(); return true;
    default: return false;
    }
}

void MarkupSession::Step(bool redo) {
    if (!Active()) return;
    CancelGesture();
    Select(-1);
    if (const std::optional<Rect> touched = redo ? history_->Redo() : history_->Undo()) Do(*touched);
}

void MarkupSession::ChooseTool(Tool tool) {
    CommitText();
    CancelGesture();
    if (tool != Tool::Select) Select(-1);
    tool_ = tool;
    strip_.Update();
}

// A choice made with an object selected changes that object too, as one step.
void MarkupSession::Restyle() {
    if (selected_ < 0) return;
    Shape s = history_->Current().shapes[size_t(selected_)];
    const Rect old = Bounds(s);
    switch (s.kind) {
    case Kind::Redaction: s.style = style_.redact; break;
    case Kind::Text:
        s.color = style_.colour;
        s.size = kTextSizes[size_t(style_.textSize)];
        s.filled = style_.textBackground;
        s = MeasuredText(s, s.points[0]);
        break;
    case Kind::Step: s.color = style_.colour; s.size = BadgeSize(style_.textSize); break;
    case Kind::Highlighter: s.color = style_.colour; s.size = HighlighterWidth(style_.width); break;
    default: s.color = style_.colour; s.size = kWidths[size_t(style_.width)]; break;
    }
    Do(Union(old, history_->Change(size_t(selected_), s)));
}

void MarkupSession::ChooseColour(uint32_t colour) { style_.colour = colour; Restyle(); strip_.Update(); }
void MarkupSession::OtherColour() {
    static COLORREF custom[16] = {};  // the dialog's own sixteen, kept for the program's run
    const uint32_t c = style_.colour;
    CHOOSECOLORW cc{sizeof cc};
    cc.hwndOwner = host_->Owner();
    cc.rgbResult = RGB(c >> 16, (c >> 8) & 0xFF, c & 0xFF);
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!CurrentDialogs().ChooseColor(cc)) return;
    ChooseColour(uint32_t(GetRValue(cc.rgbResult)) << 16 | uint32_t(GetGValue(cc.rgbResult)) << 8 | GetBValue(cc.rgbResult));
}

void MarkupSession::NextWidth() { style_.width = (style_.width + 1) % int(kWidths.size()); Restyle(); strip_.Update(); }
void MarkupSession::NextTextSize() { style_.textSize = (style_.textSize + 1) % int(kTextSizes.size()); Restyle(); strip_.Update(); }
void MarkupSession::ToggleTextBackground() { style_.textBackground = !style_.textBackground; Restyle(); strip_.Update(); }
void MarkupSession::ToggleRedactStyle() {
    style_.redact = style_.redact == RedactStyle::Solid ? RedactStyle::Mosaic : RedactStyle::Solid;
    Restyle();
    strip_.Update();
}

// ---- text: a real edit control over the view, so an input method works.
void MarkupSession::BeginText(Point at, int32_t editing) {
    CancelText();
    const Document& doc = history_->Current();
    const Shape* old = editing >= 0 ? &doc.shapes[size_t(editing)] : nullptr;
    const int size = old ? old->size : kTextSizes[size_t(style_.textSize)];
    editing_ = editing;
    editAt_ = at;
    editFont_ = TextFont(size);
    const POINT o = origin_();
    edit_ = ::CreateWindowExW(0, L"EDIT", nullptr, WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL,
                              at.x + o.x, at.y + o.y, size * 8, size * 3 / 2, view_, nullptr,
                              ::GetModuleHandleW(nullptr), nullptr);
    if (!edit_) return;
    ::SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(editFont_.get()), FALSE);
    ::SendMessageW(edit_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    if (old) {
        std::wstring text;
        for (char16_t c : old->text) text += c == u'\n' ? std::wstring(L"\r\n") : std::wstring(1, wchar_t(c));
        ::SetWindowTextW(edit_, text.c_str());
        ::SendMessageW(edit_, EM_SETSEL, 0, -1);
    }
    ::SetWindowSubclass(edit_, &MarkupSession::EditProc, 1, reinterpret_cast<DWORD_PTR>(this));
    ::SetFocus(edit_);
}

LRESULT CALLBACK MarkupSession::EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR data) {
    auto* self = reinterpret_cast<MarkupSession*>(data);
    switch (message) {
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        // Enter ends the text, Shift+Enter starts a new line; Escape drops it.
        if (wParam == VK_RETURN && !Down(VK_SHIFT)) return self->CommitText(), 0;
        if (wParam == VK_ESCAPE) return self->CancelText(), 0;
        break;
    case WM_CHAR:
        if ((wParam == L'\r' && !Down(VK_SHIFT)) || wParam == 0x1B) return 0;
        break;
    default: break;
    }
    const LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
    if (message == WM_CHAR || message == WM_IME_COMPOSITION || message == WM_PASTE) {
        // The box grows with the text.
        std::wstring text(size_t(::GetWindowTextLengthW(hwnd)) + 1, L'\0');
        text.resize(size_t(::GetWindowTextW(hwnd, text.data(), int(text.size()))));
        HDC dc = ::GetDC(hwnd);
        SelectGuard select(dc, self->editFont_.get());
        RECT r{0, 0, 0, 0};
        ::DrawTextW(dc, (text + L"  ").c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX);
        ::ReleaseDC(hwnd, dc);
        RECT now{};
        ::GetClientRect(hwnd, &now);
        ::SetWindowPos(hwnd, nullptr, 0, 0, std::max(now.right, r.right + 8), std::max(now.bottom, r.bottom + 4),
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return result;
}

void MarkupSession::CommitText() {
    if (!edit_) return;
    std::wstring text(size_t(::GetWindowTextLengthW(edit_)) + 1, L'\0');
    text.resize(size_t(::GetWindowTextW(edit_, text.data(), int(text.size()))));
    const int32_t editing = editing_;
    CancelText();
    std::u16string kept;
    for (wchar_t c : text)
        if (c != L'\r') kept += char16_t(c);
    const Document& doc = history_->Current();
    if (editing >= 0) {
        // Emptied: the text goes.
        if (kept.empty()) return Do(history_->Remove(size_t(editing)));
        Shape s = doc.shapes[size_t(editing)];
        const Rect old = Bounds(s);
        s.text = kept;
        return Do(Union(old, history_->Change(size_t(editing), MeasuredText(s, s.points[0]))));
    }
    if (kept.empty()) return;
    Shape s;
    s.kind = Kind::Text;
    s.text = kept;
    s.color = style_.colour;
    s.size = kTextSizes[size_t(style_.textSize)];
    s.filled = style_.textBackground;
    Do(history_->Add(MeasuredText(s, editAt_)));
}

void MarkupSession::CancelText() {
    if (!edit_) return;
    HWND edit = edit_;
    edit_ = nullptr;
    editing_ = -1;
    ::RemoveWindowSubclass(edit, &MarkupSession::EditProc, 1);
    ::DestroyWindow(edit);
    editFont_.reset();
    if (view_) ::SetFocus(::GetAncestor(view_, GA_ROOT));
}

void MarkupSession::ViewMoved() {
    if (!Active()) return;
    if (edit_) {
        const POINT o = origin_();
        ::SetWindowPos(edit_, nullptr, editAt_.x + o.x, editAt_.y + o.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    strip_.Place();
}

// ---- the end of a session
bool MarkupSession::Apply() {
    if (!Active()) return true;
    CommitText();
    CancelGesture();
    if (!history_->Drawn()) return End(), true;
    // Drawn into the picture's own pixels when only the view holds it: no new memory to
    // fill. A copy offered on the clipboard or dragged out holds it too, and keeps it as it was;
    // and while this window owns the clipboard, its copy there is told by the old pixels.
    const PictureBox& picture = host_->Doc().PicBmp;
    ComPtr<IPicture> applied = picture.Picture;
    applied->AddRef();
    const bool alone = applied->Release() == 2 && ::GetClipboardOwner() != host_->Owner();  // the view's and this one
    bool failed = false;
    UniqueBitmap made = ApplyToBitmap(picture.Bitmap(), history_->Current(), alone, &failed);
    if (made) applied = CreatePictureFromBitmap(std::move(made), UniquePalette());
    if (failed || !applied) {
        host_->ReportFailure(LoadText(IDS_DOC_NO_MEMORY));
        return false;
    }
    CommandHost& host = *host_;
    const ComPtr<IPicture> before = picture.Picture;
    End();
    host.PlacePicture(std::move(applied));
    host.Doc().ImageUnsaved = true;
    host.Relayout();
    host.MarkedUp(before);
    return true;
}

bool MarkupSession::Discard() {
    if (!Active()) return true;
    CancelGesture();
    if (history_->Drawn() || edit_) {
        const std::wstring question = LoadText(IDS_MARKUP_DISCARD);
        if (CurrentDialogs().MessageBox(host_->Owner(), question.c_str(), ProgramName().c_str(),
                                        MB_YESNO | MB_ICONQUESTION) != IDYES)
            return false;
    }
    End();
    return true;
}

bool MarkupSession::Settle() {
    if (!Active()) return true;
    if (history_->Drawn() || edit_) return Apply();
    return End(), true;
}

}  // namespace vx::markup
