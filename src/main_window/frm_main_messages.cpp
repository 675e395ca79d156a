// The window procedure: each message is unpacked and handed to a named handler.
#include <windowsx.h>

#include "../capture/capture_commands_win.h"
#include "../commands/document_commands_win.h"
#include "../help/help_commands.h"
#include "../language/language_commands.h"
#include "../platform/dpi.h"
#include "../platform/text.h"
#include "../platform/units.h"
#include "../resources/resource.h"
#include "frm_main.h"
#include "toolbar_definition.h"

namespace vx {
namespace {

int ShiftState(WPARAM wParam) {
    int shift = 0;
    if (wParam & MK_SHIFT) shift |= 1;
    if (wParam & MK_CONTROL) shift |= 2;
    if (::GetKeyState(VK_MENU) < 0) shift |= 4;
    return shift;
}

bool IsGap(int index) {
    return index >= 1 && index <= kToolbarButtonCount &&
           kToolbarButtons[static_cast<size_t>(index - 1)].kind == ToolbarButton::Gap;
}

}  // namespace

LRESULT FrmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const double x = GET_X_LPARAM(lParam) * ScaleUnitPerPixelX();
    const double y = GET_Y_LPARAM(lParam) * ScaleUnitPerPixelY();
    switch (message) {
        case WM_SIZE:
            OnSize();
            return 0;
        case WM_MOVE:
            markup_.ViewMoved();  // the strip stays over the toolbar's row
            break;
        case WM_COMMAND:
            RunCommand(LOWORD(wParam), lParam && reinterpret_cast<HWND>(lParam) == toolbar_ ? Road::Toolbar : Road::Menu);
            return 0;
        case WM_MOUSEMOVE:
            // The window holds the mouse while a region is picked: the moves and the
            // wheel are the frozen screen's.
            if (selection_.Armed() && selection_.Overlay()) {
                const DWORD at = ::GetMessagePos();
                POINT p{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
                ::ScreenToClient(selection_.Overlay(), &p);
                return ::SendMessageW(selection_.Overlay(), message, wParam, MAKELPARAM(p.x, p.y));
            }
            break;
        case WM_MOUSEWHEEL:
            if (selection_.Armed() && selection_.Overlay()) return ::SendMessageW(selection_.Overlay(), message, wParam, lParam);
            // Shift turns the wheel sideways.
            OnWheel(GET_WHEEL_DELTA_WPARAM(wParam), (GET_KEYSTATE_WPARAM(wParam) & MK_SHIFT) != 0);
            return 0;
        case WM_MOUSEHWHEEL:
            OnWheel(-GET_WHEEL_DELTA_WPARAM(wParam), true);  // tilted right goes right
            return 0;
        case WM_KEYDOWN:
            if (markup_.OnKey(static_cast<int>(wParam))) return 0;
            if (OnViewKey(static_cast<int>(wParam))) return 0;
            break;
        case WM_KEYUP:
            // The Menu key opens the picture's menu on its release, once.
            if (wParam == VK_APPS) {
                Picture_ContextMenu(POINT{}, true);
                return 0;
            }
            break;
        case WM_SYSKEYDOWN:
            if (wParam == VK_F10 && ::GetKeyState(VK_SHIFT) < 0) {
                Picture_ContextMenu(POINT{}, true);
                return 0;
            }
            break;
        case WM_SYSKEYUP:
            // Shift+F10 opened the menu on its press: neither the menu bar nor a second menu now.
            if (wParam == VK_F10 && ::GetKeyState(VK_SHIFT) < 0) return 0;
            break;
        case WM_CONTEXTMENU:
            // From the view (passed up by its default handling) or the keyboard.
            if (lParam == -1) {
                Picture_ContextMenu(POINT{}, true);
            } else if (reinterpret_cast<HWND>(wParam) == picScroll()) {
                Picture_ContextMenu(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, false);
            }
            return 0;
        case WM_RENDERFORMAT:
            clipboard_.OnRenderFormat(static_cast<UINT>(wParam));
            return 0;
        case WM_RENDERALLFORMATS:
            clipboard_.OnRenderAllFormats(hwnd_);
            return 0;
        case WM_DESTROYCLIPBOARD:
            clipboard_.OnDestroyClipboard();
            return 0;
        case WM_DROPFILES:
            OnDropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_HSCROLL:
        case WM_VSCROLL:
            OnScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
            return 0;
        case WM_NOTIFY:
            return OnNotify(reinterpret_cast<const NMHDR*>(lParam));
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            Form_MouseDown(ButtonOf(message), ShiftState(wParam), x, y);
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            Form_MouseUp(ButtonOf(message), ShiftState(wParam), x, y);
            return 0;
        case WM_SETCURSOR:
            if (mousePointer_ == MousePointer::Crosshair) {
                ::SetCursor(::LoadCursorW(nullptr, IDC_CROSS));
                return TRUE;
            }
            break;
        case WM_ACTIVATE:
            // Brought back (Alt+Tab, the taskbar) under a frozen screen: the selection
            // ends as Escape would end it, so nothing of this window hides beneath it.
            if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) CancelPicking();
            if (LOWORD(wParam) != WA_INACTIVE) markup_.ViewMoved();  // the strip above the window again
            break;
        case WM_CLOSE:
            RequestClose();
            return 0;
        case WM_QUERYENDSESSION:
            return Form_Unload() ? FALSE : TRUE;
        case WM_DPICHANGED:
            OnDpiChanged(reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_HOTKEY:
            HotKey_Press(static_cast<int>(wParam));
            return 0;
        case kRefocusMessage:
            Refocus();
            return 0;
        case WM_DESTROY:
            UnregisterHotKeys();
            ::PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

void FrmMain::OnSize() {
    if (toolbar_) ::SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
    if (statusBar_) {
        ::SendMessageW(statusBar_, WM_SIZE, 0, 0);
        UpdateStatusParts();
    }
    Form_Resize();
    markup_.ViewMoved();
}

void FrmMain::OnDpiChanged(const RECT* suggested) {
    twipsPerPixelX_ = twipsPerPixelY_ = ScreenTwipsPerPixel();
    textLinePixels_ = MessageLineHeight(WindowDpi(hwnd_));
    if (suggested) {
        ::SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                       suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void FrmMain::OnDropFiles(HDROP drop) {
    // The picture dragged out and let go over its own window: nothing to open.
    if (drag_.Running()) {
        ::DragFinish(drop);
        return;
    }
    // Several files: the first one.
    std::wstring path(::DragQueryFileW(drop, 0, nullptr, 0) + 1, L'\0');
    const UINT length = ::DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size()));
    ::DragFinish(drop);
    path.resize(length);
    if (!path.empty()) OpenFile(path);
}

void FrmMain::CancelPicking(unsigned exceptFor) {
    if (selection_.Armed() && exceptFor != IDM_DISTRICT) selection_.Cancel(*this);
    if (scroll_.Armed() && exceptFor != IDM_SCROLL) scroll_.Cancel(*this);
}

void FrmMain::OpenFile(const std::wstring& path) {
    CancelPicking();
    copyWhenScrollEnds_ = false;
    if (!markup_.Settle()) return;
    // A relative name is taken from the current folder, as the shell means it.
    const DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    full.resize(size ? ::GetFullPathNameW(path.c_str(), size, full.data(), nullptr) : 0);
    OpenPicturePath(*this, full.empty() ? path : full);
}

void FrmMain::mnuMarkup_Click() {
    if (markup_.Active()) {
        markup_.Apply();
        return;
    }
    markup_.Start(*this, picScroll(), toolbar_, [this] {
        return POINT{Nearest(doc_.PicBmp.Left / twipsPerPixelX_), Nearest(doc_.PicBmp.Top / twipsPerPixelY_)};
    });
}

void FrmMain::Toolbar1_ButtonClick(int index) { RunCommand(ToolbarCommand(index), Road::Toolbar); }

void FrmMain::RunCommand(unsigned id, Road road) {
    // The clipboard's keys leave a selection or a running capture alone.
    if ((id == IDM_COPY || id == IDM_PASTE) && (selection_.Busy() || scroll_.Busy())) return;
    // A shortcut pressed over the frozen screen: no dialog may open beneath it.
    CancelPicking(id);
    // Any command comes between a Shift+Print Screen capture and its picture.
    copyWhenScrollEnds_ = false;
    // Failures inside a command started from the toolbar are never shown, applying
    // the markup first included.
    const bool wasSilent = silent_;
    silent_ = road == Road::Toolbar;
    // What was marked up goes into the picture before any command reads or replaces it;
    // when it cannot (no memory), nothing runs on the picture without it.
    if (id != IDM_MARKUP && !markup_.Settle()) {
        silent_ = wasSilent;
        return;
    }
    ++commandsRunning_;
    switch (id) {
        case IDM_OPEN: mnuOpen_Click(*this); break;
        case IDM_SAVE: mnusave_Click(*this); break;
        case IDM_CLEAR: mnuClear_Click(*this); break;
        case IDM_WALLPAPER: mnuWallpaper_Click(*this); break;
        case IDM_CLEARWALL: mnuClearWall_Click(*this); break;
        case IDM_PRINT: mnuprint_Click(*this); break;
        case IDM_COPY: clipboard_.mnuCopy_Click(*this); break;
        case IDM_PASTE: mnuPaste_Click(*this); break;
        case IDM_EXIT: mnuExit_Click(); break;
        case IDM_SCREEN: mnuScreen_Click(*this); break;
        case IDM_DISTRICT: selection_.Arm(*this); break;
        case IDM_SCROLL: scroll_.Arm(*this); break;
        case IDM_ATIVEWINDOW: mnuAtiveWindow_Click(*this); break;
        case IDM_ACTIVEWINDOW_NOW: ActiveWindowNow_Click(*this); break;
        case IDM_CLIENT:
        case IDM_WORKAREA: mnuClient_Click(*this); break;
        case IDM_TITLEBAR: mnuTitleBar_Click(*this); break;
        case IDM_MSPAINT: mnuMspaint_Click(*this); break;
        case IDM_CHINESE: mnuChinese_Click(*this); break;
        case IDM_ENGLISH: mnuEnglish_Click(*this); break;
        case IDM_HOWTO: mnuHowto_Click(*this); break;
        case IDM_ABOUT: mnuAbout_Click(*this); break;
        case IDM_MARKUP: mnuMarkup_Click(); break;
        default: break;  // the menu titles and the toolbar's gaps run nothing
    }
    silent_ = wasSilent;
    if (--commandsRunning_ == 0) DropQueuedHotKeys();
}

void FrmMain::OnScroll(HWND bar, int code) {
    if (code == SB_ENDSCROLL) return;
    const bool track = code == SB_THUMBTRACK;
    if (bar == hscroll_.hwnd) {
        if (hscroll_.SetValue(hscroll_.Requested(code)) || track) track ? HScroll1_Scroll() : HScroll1_Change();
    } else if (bar == vscroll_.hwnd) {
        if (vscroll_.SetValue(vscroll_.Requested(code)) || track) track ? VScroll1_Scroll() : VScroll1_Change();
    }
}

LRESULT FrmMain::OnNotify(const NMHDR* header) {
    if (!header) return 0;
    if (header->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(header));
        const int index = ToolbarIndexOf(static_cast<unsigned>(header->idFrom));
        info->szText[0] = L'\0';
        info->lpszText = info->szText;
        if (index > 0) {
            const std::wstring tip = LoadText(IDS_TIP_BASE + static_cast<unsigned>(index));
            lstrcpynW(info->szText, tip.c_str(), static_cast<int>(std::size(info->szText)));
        }
        return 0;
    }
    if (header->hwndFrom == toolbar_ && header->code == NM_CUSTOMDRAW) {
        const auto* draw = reinterpret_cast<const NMTBCUSTOMDRAW*>(header);
        if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
        if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
            const int index = ToolbarIndexOf(static_cast<unsigned>(draw->nmcd.dwItemSpec));
            return IsGap(index) ? CDRF_SKIPDEFAULT : CDRF_DODEFAULT;
        }
        return 0;
    }
    if (header->hwndFrom == toolbar_ && header->code == TBN_HOTITEMCHANGE) {
        // Gaps never light up under the pointer.
        const auto* hot = reinterpret_cast<const NMTBHOTITEM*>(header);
        return IsGap(ToolbarIndexOf(static_cast<unsigned>(hot->idNew))) ? 1 : 0;
    }
    return 0;
}

void FrmMain::Form_MouseDown(int button, int, double, double) {
    // The selection works in screen pixels, from the press's own screen point rather
    // than the client point: the window is minimised meanwhile, and a window manager
    // parks it at -32000, where the client coordinates of a press on the far side of
    // the screen pass the 16 bits they are sent in and wrap around.
    const DWORD at = ::GetMessagePos();
    selection_.Press(*this, button, POINT{GET_X_LPARAM(at), GET_Y_LPARAM(at)});
}

void FrmMain::Form_MouseUp(int button, int, double, double) { selection_.Release(*this, button); }

}  // namespace vx
