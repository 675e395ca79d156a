#include "frm_main.h"

#include <windowsx.h>

#include "../commands/toolbar.h"
#include "../resources/resource.h"
#include "dialogs.h"
#include "dpi.h"
#include "image_view.h"
#include "menu_bar.h"
#include "program_path.h"
#include "units.h"

namespace vx {
namespace {

constexpr wchar_t kClassName[] = L"VellumoxMain";
constexpr int kPanel2Twips = 2000;
constexpr int kPanel1MinTwips = 2000;

struct ToolbarButtonDef {
    int image;  // 1-based image number, 0 for none
    enum Kind { Button, Gap, Separator } kind;
};

constexpr ToolbarButtonDef kToolbarButtons[17] = {
    {0, ToolbarButtonDef::Gap},    {1, ToolbarButtonDef::Button},  {2, ToolbarButtonDef::Button},
    {0, ToolbarButtonDef::Gap},    {6, ToolbarButtonDef::Button},  {3, ToolbarButtonDef::Button},
    {7, ToolbarButtonDef::Button}, {8, ToolbarButtonDef::Button},  {9, ToolbarButtonDef::Button},
    {10, ToolbarButtonDef::Button}, {0, ToolbarButtonDef::Gap},    {12, ToolbarButtonDef::Button},
    {20, ToolbarButtonDef::Button}, {21, ToolbarButtonDef::Button}, {0, ToolbarButtonDef::Separator},
    {23, ToolbarButtonDef::Button}, {18, ToolbarButtonDef::Button},
};

bool IsGap(int index) {
    return index >= 1 && index <= 17 && kToolbarButtons[index - 1].kind == ToolbarButtonDef::Gap;
}

int ShiftState(WPARAM wParam) {
    int shift = 0;
    if (wParam & MK_SHIFT) shift |= 1;
    if (wParam & MK_CONTROL) shift |= 2;
    if (::GetKeyState(VK_MENU) < 0) shift |= 4;
    return shift;
}

}  // namespace

FrmMain::FrmMain() = default;

FrmMain::~FrmMain() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

FrmMain* FrmMain::FromWindow(HWND hwnd) {
    return reinterpret_cast<FrmMain*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

std::wstring FrmMain::LoadText(unsigned id) const {
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(instance_, id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

bool FrmMain::Create(HINSTANCE instance) {
    instance_ = instance;
    RefreshTwipsPerPixel();
    RegisterViewportClass(instance);

    WNDCLASSEXW wc{sizeof wc};
    if (!::GetClassInfoExW(instance, kClassName, &wc)) {
        wc = WNDCLASSEXW{sizeof wc};
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = &FrmMain::WindowProc;
        wc.hInstance = instance;
        wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_VELLUMOX));
        wc.hIconSm = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_VELLUMOX), IMAGE_ICON,
                                                     ::GetSystemMetrics(SM_CXSMICON),
                                                     ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kClassName;
        if (!::RegisterClassExW(&wc)) return false;
    }
    menu = BuildMenuBar(instance);
    accelerators_ = ::LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    const std::wstring title = LoadText(IDS_TITLE);
    // Designed client area 554 x 375 pixels; Form_Load then applies the stored placement.
    hwnd_ = ::CreateWindowExW(0, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                              CW_USEDEFAULT, CW_USEDEFAULT, 570, 460, nullptr, menu, instance, this);
    if (!hwnd_) return false;
    CreateControls();
    Form_Load();
    return true;
}

void FrmMain::Show(int showCommand) {
    ::ShowWindow(hwnd_, showCommand == SW_SHOWMINIMIZED || showCommand == SW_MINIMIZE ? showCommand : SW_SHOWNORMAL);
    ::UpdateWindow(hwnd_);
}

int FrmMain::RunMessageLoop() {
    MSG msg{};
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (hwnd_ && ::TranslateAcceleratorW(hwnd_, accelerators_, &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

bool FrmMain::RequestClose() {
    if (!hwnd_ || closing_) return false;
    if (Form_Unload()) return false;
    closing_ = true;
    ::DestroyWindow(hwnd_);
    return true;
}

void FrmMain::RefreshTwipsPerPixel() {
    twipsPerPixelX_ = twipsPerPixelY_ = ScreenTwipsPerPixel();
}

void FrmMain::CreateControls() {
    const int dpi = WindowDpi(hwnd_);
    const DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    // Creation order of the design: scroll bars, viewport, status bar, toolbar.
    HScroll1.hwnd = ::CreateWindowExW(0, L"SCROLLBAR", nullptr, child | SBS_HORZ, 0, 336, 193, 17, hwnd_,
                                      reinterpret_cast<HMENU>(IDC_HSCROLL1), instance_, nullptr);
    VScroll1.hwnd = ::CreateWindowExW(0, L"SCROLLBAR", nullptr, child | SBS_VERT, 536, 24, 17, 169, hwnd_,
                                      reinterpret_cast<HMENU>(IDC_VSCROLL1), instance_, nullptr);
    picScroll = CreateViewport(hwnd_, instance_, &PicBmp, this);
    StatusBar1 = ::CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, child | SBARS_SIZEGRIP, 0, 0, 0, 0, hwnd_,
                                   reinterpret_cast<HMENU>(IDC_STATUSBAR1), instance_, nullptr);
    Toolbar1 = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                                 child | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP | CCS_NODIVIDER, 0, 0, 0, 0,
                                 hwnd_, reinterpret_cast<HMENU>(IDC_TOOLBAR1), instance_, nullptr);
    ::SendMessageW(Toolbar1, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);

    // Toolbar strip: 23 images of 16 x 16 on the mask colour RGB(192,192,192).
    imageList_.reset(::ImageList_LoadImageW(instance_, MAKEINTRESOURCEW(IDB_TOOLBAR), 16, 0, RGB(192, 192, 192),
                                            IMAGE_BITMAP, LR_CREATEDIBSECTION));
    ::SendMessageW(Toolbar1, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(imageList_.get()));
    ::SendMessageW(Toolbar1, TB_SETBUTTONSIZE, 0, MAKELPARAM(Scale96(23, dpi), Scale96(22, dpi)));

    TBBUTTON buttons[17] = {};
    for (int i = 0; i < 17; ++i) {
        const auto& def = kToolbarButtons[i];
        TBBUTTON& b = buttons[i];
        b.idCommand = IDM_TOOLBAR_BASE + i + 1;
        b.fsState = TBSTATE_ENABLED;
        b.iString = -1;
        switch (def.kind) {
            case ToolbarButtonDef::Button:
                b.iBitmap = def.image - 1;
                b.fsStyle = BTNS_BUTTON;
                break;
            case ToolbarButtonDef::Gap:
                // An empty gap: a button with no image that draws nothing (see OnNotify).
                b.iBitmap = I_IMAGENONE;
                b.fsStyle = BTNS_BUTTON;
                break;
            case ToolbarButtonDef::Separator:
                b.iBitmap = Scale96(8, dpi);
                b.fsStyle = BTNS_SEP;
                break;
        }
    }
    ::SendMessageW(Toolbar1, TB_ADDBUTTONSW, 17, reinterpret_cast<LPARAM>(buttons));
    ::SendMessageW(Toolbar1, TB_AUTOSIZE, 0, 0);

    const std::wstring welcome = LoadText(IDS_WELCOME);
    UpdateStatusParts();
    ::SendMessageW(StatusBar1, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(welcome.c_str()));
}

void FrmMain::UpdateStatusParts() {
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    const int panel2 = TwipsToPixels(kPanel2Twips, twipsPerPixelX_);
    const int panel1Min = TwipsToPixels(kPanel1MinTwips, twipsPerPixelX_);
    int parts[2] = {client.right - panel2, -1};
    if (parts[0] < panel1Min) parts[0] = panel1Min;
    ::SendMessageW(StatusBar1, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
}

double FrmMain::Left() const {
    RECT r{};
    ::GetWindowRect(hwnd_, &r);
    return r.left * twipsPerPixelX_;
}
double FrmMain::Top() const {
    RECT r{};
    ::GetWindowRect(hwnd_, &r);
    return r.top * twipsPerPixelY_;
}
double FrmMain::Width() const {
    RECT r{};
    ::GetWindowRect(hwnd_, &r);
    return (r.right - r.left) * twipsPerPixelX_;
}
double FrmMain::Height() const {
    RECT r{};
    ::GetWindowRect(hwnd_, &r);
    return (r.bottom - r.top) * twipsPerPixelY_;
}
double FrmMain::ScaleWidth() const {
    RECT r{};
    ::GetClientRect(hwnd_, &r);
    return r.right * ScaleUnitPerPixelX();
}
double FrmMain::ScaleHeight() const {
    RECT r{};
    ::GetClientRect(hwnd_, &r);
    return r.bottom * ScaleUnitPerPixelY();
}

int FrmMain::WindowState() const {
    if (::IsIconic(hwnd_)) return 1;
    if (::IsZoomed(hwnd_)) return 2;
    return 0;
}

void FrmMain::SetWindowState(int state) {
    ::ShowWindow(hwnd_, state == 1 ? SW_MINIMIZE : state == 2 ? SW_MAXIMIZE : SW_RESTORE);
}

void FrmMain::ReportFailure(const std::wstring& text) {
    if (silent_) return;
    CurrentDialogs().MessageBox(hwnd_, text.c_str(), ProgramName().c_str(), MB_OK | MB_ICONERROR);
}

void FrmMain::PlacePicture(ComPtr<IPicture> picture) {
    PicBmp.SetPicture(std::move(picture), twipsPerPixelX_, twipsPerPixelY_);
    if (picScroll) ::InvalidateRect(picScroll, nullptr, FALSE);
}

LRESULT CALLBACK FrmMain::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<FrmMain*>(create->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    FrmMain* self = FromWindow(hwnd);
    if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT FrmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const double x = GET_X_LPARAM(lParam) * ScaleUnitPerPixelX();
    const double y = GET_Y_LPARAM(lParam) * ScaleUnitPerPixelY();
    switch (message) {
        case WM_SIZE:
            OnSize();
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam));
            return 0;
        case WM_HSCROLL:
        case WM_VSCROLL:
            OnScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
            return 0;
        case WM_NOTIFY: {
            LRESULT result = 0;
            OnNotify(reinterpret_cast<const NMHDR*>(lParam), result);
            return result;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            Form_MouseDown(message == WM_LBUTTONDOWN ? 1 : message == WM_RBUTTONDOWN ? 2 : 4, ShiftState(wParam), x, y);
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            Form_MouseUp(message == WM_LBUTTONUP ? 1 : message == WM_RBUTTONUP ? 2 : 4, ShiftState(wParam), x, y);
            return 0;
        case WM_SETCURSOR:
            if (MousePointer == 2) {
                ::SetCursor(::LoadCursorW(nullptr, IDC_CROSS));
                return TRUE;
            }
            break;
        case WM_CLOSE:
            RequestClose();
            return 0;
        case WM_QUERYENDSESSION:
            return Form_Unload() ? FALSE : TRUE;
        case WM_DPICHANGED:
            OnDpiChanged(reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

void FrmMain::OnSize() {
    if (Toolbar1) ::SendMessageW(Toolbar1, TB_AUTOSIZE, 0, 0);
    if (StatusBar1) {
        ::SendMessageW(StatusBar1, WM_SIZE, 0, 0);
        UpdateStatusParts();
    }
    Form_Resize();
}

void FrmMain::OnDpiChanged(const RECT* suggested) {
    RefreshTwipsPerPixel();
    if (suggested) {
        ::SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                       suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void FrmMain::OnCommand(int id) {
    if (id > IDM_TOOLBAR_BASE && id <= IDM_TOOLBAR_BASE + 17) {
        Toolbar1_ButtonClick(id - IDM_TOOLBAR_BASE);
        return;
    }
    switch (id) {
        case IDM_OPEN: mnuOpen_Click(); break;
        case IDM_SAVE: mnusave_Click(); break;
        case IDM_CLEAR: mnuClear_Click(); break;
        case IDM_WALLPAPER: mnuWallpaper_Click(); break;
        case IDM_CLEARWALL: mnuClearWall_Click(); break;
        case IDM_PRINT: mnuprint_Click(); break;
        case IDM_EXIT: mnuExit_Click(); break;
        case IDM_SCREEN: mnuScreen_Click(); break;
        case IDM_DISTRICT: mnuDistrict_Click(); break;
        case IDM_ATIVEWINDOW: mnuAtiveWindow_Click(); break;
        case IDM_CLIENT: mnuClient_Click(); break;
        case IDM_TITLEBAR: mnuTitleBar_Click(); break;
        case IDM_MSPAINT: mnuMspaint_Click(); break;
        case IDM_CHINESE: mnuChinese_Click(); break;
        case IDM_ENGLISH: mnuEnglish_Click(); break;
        case IDM_HOWTO: mnuHowto_Click(); break;
        case IDM_ABOUT: mnuAbout_Click(); break;
        default: break;  // mnuScroll and the menu titles run nothing
    }
}

void FrmMain::OnScroll(HWND bar, int code) {
    if (code == SB_ENDSCROLL) return;
    if (bar == HScroll1.hwnd) {
        if (HScroll1.SetValue(HScroll1.Requested(code)) || code == SB_THUMBTRACK) {
            if (code == SB_THUMBTRACK) HScroll1_Scroll(); else HScroll1_Change();
        }
    } else if (bar == VScroll1.hwnd) {
        if (VScroll1.SetValue(VScroll1.Requested(code)) || code == SB_THUMBTRACK) {
            if (code == SB_THUMBTRACK) VScroll1_Scroll(); else VScroll1_Change();
        }
    }
}

void FrmMain::OnNotify(const NMHDR* header, LRESULT& result) {
    if (!header) return;
    if (header->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(header));
        const int index = static_cast<int>(header->idFrom) - IDM_TOOLBAR_BASE;
        info->szText[0] = L'\0';
        info->lpszText = info->szText;
        if (index >= 1 && index <= 17) {
            const std::wstring tip = LoadText(IDS_TIP_BASE + static_cast<unsigned>(index));
            lstrcpynW(info->szText, tip.c_str(), static_cast<int>(std::size(info->szText)));
        }
        return;
    }
    if (header->hwndFrom == Toolbar1 && header->code == NM_CUSTOMDRAW) {
        auto* draw = reinterpret_cast<NMTBCUSTOMDRAW*>(const_cast<NMHDR*>(header));
        if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
            result = CDRF_NOTIFYITEMDRAW;
        } else if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
            const int index = static_cast<int>(draw->nmcd.dwItemSpec) - IDM_TOOLBAR_BASE;
            result = IsGap(index) ? CDRF_SKIPDEFAULT : CDRF_DODEFAULT;
        }
        return;
    }
    if (header->hwndFrom == Toolbar1 && header->code == TBN_HOTITEMCHANGE) {
        // Gaps never light up under the pointer.
        const auto* hot = reinterpret_cast<const NMTBHOTITEM*>(header);
        result = IsGap(hot->idNew - IDM_TOOLBAR_BASE) ? 1 : 0;
    }
}

void FrmMain::Toolbar1_ButtonClick(int index) {
    // Failures inside a command started from the toolbar are never shown.
    const bool wasSilent = silent_;
    silent_ = true;
    RunToolbarCommand(*this, index);
    silent_ = wasSilent;
}

}  // namespace vx
