#include "markup_strip.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../platform/dpi.h"
#include "../platform/text.h"
#include "../resources/resource.h"
#include "markup_session.h"

namespace vx::markup {
namespace {

// Button ids: the tools, the colours, then the choices and the two ends.
constexpr int kToolId = 1, kColourId = 20, kOtherColourId = 28, kWidthId = 30, kSizeId = 31, kBackgroundId = 32, kRedactId = 33,
              kApplyId = 34, kDiscardId = 35;

const WindowClass kClass{L"VellumoxMarkupStrip", 0, ::LoadCursorW(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};

bool Fits(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right && inner.bottom <= outer.bottom;
}

// Each button's label and tooltip come from one string: "label|tooltip".
std::pair<std::wstring, std::wstring> Texts(int id) {
    const std::wstring s = LoadText(IDS_MARKUP_STRIP_BASE + unsigned(id));
    const size_t bar = s.find(L'|');
    return bar == std::wstring::npos ? std::pair{s, s} : std::pair{s.substr(0, bar), s.substr(bar + 1)};
}

}  // namespace

bool MarkupStrip::Popup::Create(HWND owner) {
    return CreateOfClass(kClass, WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, WS_POPUP, nullptr, 0, 0, 10, 10, owner);
}

LRESULT MarkupStrip::Popup::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    return Default(message, wParam, lParam);
}

bool MarkupStrip::Create(HWND owner, HWND toolbarRow, MarkupSession* session) {
    session_ = session;
    row_ = toolbarRow;
    owner_ = owner;
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    // The toolbar paints under the strip, never over it.
    ::SetWindowLongPtrW(row_, GWL_STYLE, ::GetWindowLongPtrW(row_, GWL_STYLE) | WS_CLIPSIBLINGS);
    if (!CreateOfClass(kClass, 0, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, nullptr, 0, 0, 10, 10, owner)) return false;
    bar_ = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                             WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS | TBSTYLE_WRAPABLE | CCS_NODIVIDER |
                                 CCS_NORESIZE | CCS_NOPARENTALIGN,
                             0, 0, 10, 10, hwnd_, nullptr, instance, nullptr);
    ::SendMessageW(bar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageW(bar_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_MIXEDBUTTONS);
    ::SendMessageW(bar_, TB_SETMAXTEXTROWS, 1, 0);
    const int dpi = WindowDpi(owner);
    ::SendMessageW(bar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));  // text buttons: no room for images
    ::SendMessageW(bar_, TB_SETPADDING, 0, MAKELPARAM(Scale96(8, dpi), Scale96(6, dpi)));
    NONCLIENTMETRICSW metrics{sizeof metrics};
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    LOGFONTW lf = metrics.lfMessageFont;
    lf.lfHeight = -Scale96(12, dpi);
    font_.reset(::CreateFontIndirectW(&lf));
    ::SendMessageW(bar_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    std::vector<TBBUTTON> buttons;
    std::vector<std::wstring> labels;
    auto add = [&](int id, BYTE style) {
        labels.push_back(Texts(id).first);
        buttons.push_back(TBBUTTON{I_IMAGENONE, id, TBSTATE_ENABLED, BYTE(style | BTNS_AUTOSIZE | BTNS_SHOWTEXT), {}, 0, 0});
    };
    auto separator = [&] { buttons.push_back(TBBUTTON{Scale96(6, dpi), 0, 0, BTNS_SEP, {}, 0, -1}); labels.emplace_back(); };
    for (int i = 0; i < kToolCount; ++i) add(kToolId + i, BTNS_CHECKGROUP);
    separator();
    for (int i = 0; i < int(kColours.size()); ++i) add(kColourId + i, BTNS_CHECKGROUP);
    add(kOtherColourId, BTNS_BUTTON);
    separator();
    for (int id : {kWidthId, kSizeId, kBackgroundId, kRedactId}) add(id, BTNS_BUTTON);
    separator();
    for (int id : {kApplyId, kDiscardId}) add(id, BTNS_BUTTON);
    for (size_t i = 0; i < buttons.size(); ++i)
        if (!labels[i].empty()) buttons[i].iString = reinterpret_cast<INT_PTR>(labels[i].c_str());
    ::SendMessageW(bar_, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    Show();
    return true;
}

void MarkupStrip::Show() {
    shown_ = true;
    Update();
    Place();
}

void MarkupStrip::Hide() {
    shown_ = false;
    for (HWND w : {hwnd_, popup_.hwnd()})
        if (w && ::IsWindowVisible(w))
            ::SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MarkupStrip::Destroy() {
    if (popup_.hwnd()) ::DestroyWindow(popup_.hwnd());
    if (hwnd_) ::DestroyWindow(hwnd_);
    bar_ = nullptr;
    font_.reset();  // after the toolbar that used it
}

SIZE MarkupStrip::Wrap(int width) {
    // The toolbar breaks its rows itself at its own width; what the buttons then take.
    ::SetWindowPos(bar_, nullptr, 0, 0, width > 0 ? width : 30000, 1000, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(bar_, TB_AUTOSIZE, 0, 0);
    SIZE size{};
    for (int i = 0, count = int(::SendMessageW(bar_, TB_BUTTONCOUNT, 0, 0)); i < count; ++i) {
        RECT r{};
        if (::SendMessageW(bar_, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r)) && r.right > r.left)
            size.cx = std::max(size.cx, r.right), size.cy = std::max(size.cy, r.bottom);
    }
    return size;
}

SIZE MarkupStrip::WrapAt(int width) {
    if (wrappedAt_ != width) fit_ = Wrap(width), wrappedAt_ = width;
    return fit_;
}

void MarkupStrip::Place() {
    if (!hwnd_ || !shown_) return;
    RECT row{}, window{}, client{};
    ::GetWindowRect(row_, &row);
    ::GetWindowRect(owner_, &window);
    ::GetClientRect(owner_, &client);
    ::MapWindowPoints(owner_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    // The row's height, however the buttons measure: below it starts the picture.
    const int rowWidth = row.right - row.left, rowHeight = row.bottom - row.top;
    if (!oneRow_.cy) oneRow_ = WrapAt(0);
    SIZE size = WrapAt(rowWidth);
    if (size.cy <= oneRow_.cy) {
        // One row: over the toolbar's row, all of it.
        if (popup_.hwnd() && ::IsWindowVisible(popup_.hwnd())) ::ShowWindow(popup_.hwnd(), SW_HIDE);
        if (::GetParent(bar_) != hwnd_) ::SetParent(bar_, hwnd_), ::SendMessageW(bar_, TB_SETPARENT, WPARAM(hwnd_), 0);
        RECT bar{};
        ::GetWindowRect(bar_, &bar);
        ::MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&bar), 2);
        if (bar.left || bar.top || bar.bottom != rowHeight)
            ::SetWindowPos(bar_, nullptr, 0, 0, rowWidth, rowHeight, SWP_NOZORDER | SWP_NOACTIVATE);
        POINT at{row.left, row.top};
        ::ScreenToClient(owner_, &at);
        ::SetWindowPos(hwnd_, HWND_TOP, at.x, at.y, rowWidth, rowHeight, SWP_NOACTIVATE | SWP_SHOWWINDOW);
        return;
    }
    // Too narrow: rows in a window of their own, on the window's monitor.
    if (!popup_.hwnd() && !popup_.Create(owner_)) return;
    MONITORINFO monitor{sizeof monitor};
    ::GetMonitorInfoW(::MonitorFromWindow(owner_, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT work = monitor.rcWork;
    MENUBARINFO menu{sizeof menu};
    const LONG top = ::GetMenuBarInfo(owner_, OBJID_MENU, 0, &menu) && menu.rcBar.bottom > menu.rcBar.top
                         ? std::min(menu.rcBar.top, client.top) : client.top;
    // Over the menu bar and the toolbar's row, ending where the picture begins.
    const LONG height = std::max(size.cy, LONG(rowHeight));
    RECT place{row.left, row.bottom - height, row.left + size.cx, row.bottom};
    if (place.top < top || !Fits(place, work)) {
        // Beside the window, on whichever side has room, level with the row.
        const LONG right = work.right - window.right, left = window.left - work.left;
        size = WrapAt(int(std::max(right, left)));
        const LONG x = right >= size.cx || right >= left ? window.right : window.left - size.cx;
        const LONG tall = std::max(size.cy, LONG(rowHeight));
        const LONG y = std::clamp(row.top, work.top, std::max(work.top, work.bottom - tall));
        place = {x, y, x + size.cx, y + tall};
        // No room on either side: on the monitor at least, and still level with the row.
        if (!Fits(place, work))
            ::OffsetRect(&place, std::clamp(place.left, work.left, std::max(work.left, work.right - size.cx)) - place.left, 0);
    }
    const int h = place.bottom - place.top;
    if (::GetParent(bar_) != popup_.hwnd()) {
        ::SetParent(bar_, popup_.hwnd());
        ::SendMessageW(bar_, TB_SETPARENT, WPARAM(hwnd_), 0);  // the commands still come here
    }
    // The bar keeps the width it broke its rows at; the window shows what the buttons take.
    ::SetWindowPos(bar_, nullptr, 0, h - size.cy, wrappedAt_, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    if (::IsWindowVisible(hwnd_)) ::ShowWindow(hwnd_, SW_HIDE);
    ::SetWindowPos(popup_.hwnd(), HWND_TOP, place.left, place.top, place.right - place.left, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void MarkupStrip::Update() {
    if (!bar_ || !session_) return;
    ::SendMessageW(bar_, TB_CHECKBUTTON, kToolId + int(session_->CurrentTool()), TRUE);
    const Style& style = session_->CurrentStyle();
    for (int i = 0; i < int(kColours.size()); ++i)
        ::SendMessageW(bar_, TB_CHECKBUTTON, kColourId + i, kColours[size_t(i)] == style.colour);
    ::SendMessageW(bar_, TB_CHECKBUTTON, kBackgroundId, style.textBackground);
    ::SendMessageW(bar_, TB_CHECKBUTTON, kRedactId, style.redact == RedactStyle::Mosaic);
    // Hidden, it is drawn whole when shown.
    if (::IsWindowVisible(bar_)) ::InvalidateRect(bar_, nullptr, FALSE);
}

LRESULT MarkupStrip::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    if (message == WM_COMMAND && session_) {
        const int id = LOWORD(wParam);
        if (id >= kToolId && id < kToolId + kToolCount) session_->ChooseTool(Tool(id - kToolId));
        else if (id >= kColourId && id < kColourId + int(kColours.size())) session_->ChooseColour(kColours[size_t(id - kColourId)]);
        else if (id == kOtherColourId) session_->OtherColour();
        else if (id == kWidthId) session_->NextWidth();
        else if (id == kSizeId) session_->NextTextSize();
        else if (id == kBackgroundId) session_->ToggleTextBackground();
        else if (id == kRedactId) session_->ToggleRedactStyle();
        // The session may end here, and this window with it.
        else if (id == kApplyId) session_->Apply();
        else if (id == kDiscardId) session_->Discard();
        return 0;
    }
    if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->code == TTN_GETDISPINFOW) {
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
            const std::wstring tip = Texts(int(header->idFrom)).second;
            lstrcpynW(info->szText, tip.c_str(), int(std::size(info->szText)));
            info->lpszText = info->szText;
            return 0;
        }
        if (header->hwndFrom == bar_ && header->code == NM_CUSTOMDRAW) {
            // The colour buttons show their colour.
            auto* draw = reinterpret_cast<NMTBCUSTOMDRAW*>(lParam);
            if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
            const int id = int(draw->nmcd.dwItemSpec);
            if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT && id >= kColourId && id < kColourId + int(kColours.size())) {
                const uint32_t c = kColours[size_t(id - kColourId)];
                draw->clrText = RGB(c >> 16, (c >> 8) & 0xFF, c & 0xFF);
                return CDRF_NEWFONT;
            }
            return CDRF_DODEFAULT;
        }
    }
    return Default(message, wParam, lParam);
}

}  // namespace vx::markup
