#include "markup_strip.h"

#include <commctrl.h>

#include <string>

#include "../platform/dpi.h"
#include "../platform/text.h"
#include "../resources/resource.h"
#include "markup_session.h"

namespace vx::markup {
namespace {

// Button ids: the tools, the colours, then the choices and the two ends.
constexpr int kToolId = 1, kColourId = 20, kOtherColourId = 28, kWidthId = 30, kSizeId = 31, kBackgroundId = 32, kRedactId = 33,
              kApplyId = 34, kDiscardId = 35;

// Each button's label and tooltip come from one string: "label|tooltip".
std::pair<std::wstring, std::wstring> Texts(int id) {
    const std::wstring s = LoadText(IDS_MARKUP_STRIP_BASE + unsigned(id));
    const size_t bar = s.find(L'|');
    return bar == std::wstring::npos ? std::pair{s, s} : std::pair{s.substr(0, bar), s.substr(bar + 1)};
}

}  // namespace

bool MarkupStrip::Create(HWND owner, HWND toolbarRow, MarkupSession* session) {
    session_ = session;
    row_ = toolbarRow;
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    static const WindowClass kClass{L"VellumoxMarkupStrip", 0, ::LoadCursorW(nullptr, IDC_ARROW),
                                    reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};
    // Never active: the keys stay with the main window.
    if (!CreateOfClass(kClass, WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, WS_POPUP, nullptr, 0, 0, 10, 10, owner)) return false;
    bar_ = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                             WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS | CCS_NODIVIDER |
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
    lf.lfHeight = -Scale96(12, WindowDpi(owner));
    font_ = ::CreateFontIndirectW(&lf);
    ::SendMessageW(bar_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    std::vector<TBBUTTON> buttons;
    std::vector<std::wstring> labels;
    auto add = [&](int id, BYTE style) {
        labels.push_back(Texts(id).first);
        buttons.push_back(TBBUTTON{I_IMAGENONE, id, TBSTATE_ENABLED, BYTE(style | BTNS_AUTOSIZE | BTNS_SHOWTEXT), {}, 0, 0});
    };
    auto separator = [&] { buttons.push_back(TBBUTTON{Scale96(6, WindowDpi(owner)), 0, 0, BTNS_SEP, {}, 0, -1}); labels.emplace_back(); };
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
    Update();
    Place();
    ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
}

void MarkupStrip::Destroy() {
    if (hwnd_) ::DestroyWindow(hwnd_);
    bar_ = nullptr;
    if (font_) ::DeleteObject(font_);
    font_ = nullptr;
}

void MarkupStrip::Place() {
    if (!hwnd_) return;
    RECT row{};
    ::GetWindowRect(row_, &row);
    SIZE size{};
    ::SendMessageW(bar_, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
    // The row's height, however the buttons measure: below it starts the picture.
    const int height = row.bottom - row.top;
    ::SetWindowPos(bar_, nullptr, 0, 0, size.cx, height, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(hwnd_, HWND_TOP, row.left, row.top, size.cx, height, SWP_NOACTIVATE);
}

void MarkupStrip::Update() {
    if (!bar_ || !session_) return;
    ::SendMessageW(bar_, TB_CHECKBUTTON, kToolId + int(session_->CurrentTool()), TRUE);
    const Style& style = session_->CurrentStyle();
    for (int i = 0; i < int(kColours.size()); ++i)
        ::SendMessageW(bar_, TB_CHECKBUTTON, kColourId + i, kColours[size_t(i)] == style.colour);
    ::SendMessageW(bar_, TB_CHECKBUTTON, kBackgroundId, style.textBackground);
    ::SendMessageW(bar_, TB_CHECKBUTTON, kRedactId, style.redact == RedactStyle::Mosaic);
    ::InvalidateRect(bar_, nullptr, FALSE);
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
