#include "frm_main.h"

#include "../platform/dialogs.h"
#include "../platform/dpi.h"
#include "../platform/program_path.h"
#include "../platform/text.h"
#include "../platform/units.h"
#include "../resources/resource.h"
#include "image_view.h"
#include "menu_bar.h"
#include "menu_definition.h"
#include "toolbar_definition.h"

namespace vx {
namespace {

constexpr wchar_t kClassName[] = L"VellumoxMain";

}  // namespace

FrmMain::FrmMain() = default;

FrmMain::~FrmMain() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

bool FrmMain::Create(HINSTANCE instance) {
    instance_ = instance;
    twipsPerPixelX_ = twipsPerPixelY_ = ScreenTwipsPerPixel();
    menu_ = BuildMenuBar();
    accelerators_ = ::LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    const std::wstring title = LoadText(IDS_TITLE);
    // Designed client area 554 x 375 pixels; Form_Load then applies the stored placement.
    const WindowClass windowClass{
        kClassName, CS_HREDRAW | CS_VREDRAW, ::LoadCursorW(nullptr, IDC_ARROW),
        reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_VELLUMOX)),
        static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_VELLUMOX), IMAGE_ICON,
                                        ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), LR_SHARED))};
    if (!CreateOfClass(windowClass, 0, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, title.c_str(), CW_USEDEFAULT,
                       CW_USEDEFAULT, 570, 460, nullptr, menu_, instance) ||
        !CreateControls())
        return false;
    textLinePixels_ = MessageLineHeight(WindowDpi(hwnd_));
    ::DragAcceptFiles(hwnd_, TRUE);
    Form_Load();
    RegisterHotKeys();
    return true;
}

void FrmMain::Show() {
    // Always normal at its place, whatever the starting program asked for.
    ::ShowWindow(hwnd_, SW_SHOWNORMAL);
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

bool FrmMain::CreateControls() {
    const int dpi = WindowDpi(hwnd_);
    const DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    auto id = [](int value) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(value)); };
    // Creation order of the design: scroll bars, viewport, status bar, toolbar.
    hscroll_.hwnd = ::CreateWindowExW(0, L"SCROLLBAR", nullptr, child | SBS_HORZ, 0, 336, 193, 17, hwnd_,
                                      id(IDC_HSCROLL1), instance_, nullptr);
    vscroll_.hwnd = ::CreateWindowExW(0, L"SCROLLBAR", nullptr, child | SBS_VERT, 536, 24, 17, 169, hwnd_,
                                      id(IDC_VSCROLL1), instance_, nullptr);
    picScroll_.Create(hwnd_, instance_);
    statusBar_ = ::CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, child | SBARS_SIZEGRIP, 0, 0, 0, 0, hwnd_,
                                   id(IDC_STATUSBAR1), instance_, nullptr);
    toolbar_ = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                                 child | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP | CCS_NODIVIDER, 0, 0, 0, 0,
                                 hwnd_, id(IDC_TOOLBAR1), instance_, nullptr);
    if (!hscroll_.hwnd || !vscroll_.hwnd || !picScroll_.hwnd() || !statusBar_ || !toolbar_) return false;
    ::SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);

    // Toolbar strip: 23 images of 16 x 16 on the mask colour RGB(192,192,192).
    imageList_.reset(::ImageList_LoadImageW(instance_, MAKEINTRESOURCEW(IDB_TOOLBAR), 16, 0, RGB(192, 192, 192),
                                            IMAGE_BITMAP, LR_CREATEDIBSECTION));
    ::SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(imageList_.get()));
    ::SendMessageW(toolbar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(Scale96(23, dpi), Scale96(22, dpi)));

    TBBUTTON buttons[kToolbarButtonCount] = {};
    for (int i = 0; i < kToolbarButtonCount; ++i) {
        const ToolbarButton& def = kToolbarButtons[static_cast<size_t>(i)];
        TBBUTTON& b = buttons[i];
        b.idCommand = static_cast<int>(ToolbarButtonId(i + 1));
        b.fsState = TBSTATE_ENABLED;
        b.iString = -1;
        b.fsStyle = def.kind == ToolbarButton::Separator ? BTNS_SEP : BTNS_BUTTON;
        // A gap is a button with no image that draws nothing (see OnNotify).
        b.iBitmap = def.kind == ToolbarButton::Separator ? Scale96(8, dpi)
                    : def.kind == ToolbarButton::Gap     ? I_IMAGENONE
                                                         : def.image - 1;
    }
    ::SendMessageW(toolbar_, TB_ADDBUTTONSW, kToolbarButtonCount, reinterpret_cast<LPARAM>(buttons));
    ::SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);

    const std::wstring welcome = LoadText(IDS_WELCOME);
    UpdateStatusParts();
    ::SendMessageW(statusBar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(welcome.c_str()));
    return true;
}

void FrmMain::Form_Load() {
    ShowStartTime();
    RestoreWindowPlacement();
}

RECT FrmMain::WindowPixels() const {
    RECT r{};
    ::GetWindowRect(hwnd_, &r);
    return r;
}

Rect FrmMain::OuterPixels() const {
    const RECT r = WindowPixels();
    return {r.left, r.top, r.right, r.bottom};
}

Rect FrmMain::ClientPixels() const {
    RECT r{};
    ::GetClientRect(hwnd_, &r);
    return {r.left, r.top, r.right, r.bottom};
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

WindowState FrmMain::GetWindowState() const {
    if (::IsIconic(hwnd_)) return WindowState::Minimized;
    if (::IsZoomed(hwnd_)) return WindowState::Maximized;
    return WindowState::Normal;
}

void FrmMain::SetWindowState(WindowState state) {
    ::ShowWindow(hwnd_, state == WindowState::Minimized   ? SW_MINIMIZE
                        : state == WindowState::Maximized ? SW_MAXIMIZE
                                                          : SW_RESTORE);
}

void FrmMain::ReportFailure(const std::wstring& text) {
    if (silent_) return;
    CurrentDialogs().MessageBox(hwnd_, text.c_str(), ProgramName().c_str(), MB_OK | MB_ICONERROR);
}

void FrmMain::PlacePicture(ComPtr<IPicture> picture) {
    doc_.PicBmp.SetPicture(std::move(picture), twipsPerPixelX_, twipsPerPixelY_);
    if (picScroll()) ::InvalidateRect(picScroll(), nullptr, FALSE);
    // The scrolling capture ends on its own, long after its key.
    if (copyWhenScrollEnds_ && !commandsRunning_) PrintScreenCaptureEnded();
}

void FrmMain::ApplyCaptions(const std::vector<std::wstring>& lines) {
    for (size_t i = 0; i < lines.size() && i < kLanguageMenuOrder.size() + 2; ++i) {
        const wchar_t* text = lines[i].c_str();
        // A target that refuses its text keeps the old one; the others are still set.
        if (i == 0) {
            ::SetWindowTextW(hwnd_, text);
        } else if (i == 1) {
            ::SendMessageW(statusBar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text));
        } else {
            SetMenuCaption(menu_, kLanguageMenuOrder[i - 2], lines[i]);
        }
    }
    if (lines.size() > 2) ::DrawMenuBar(hwnd_);
}

}  // namespace vx
