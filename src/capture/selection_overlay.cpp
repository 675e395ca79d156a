#include "selection_overlay.h"

#include <windowsx.h>

#include "../main_window/frm_main.h"

namespace vx {
namespace {

constexpr wchar_t kOverlayClass[] = L"VellumoxFrozenScreen";

int ButtonOf(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN: case WM_LBUTTONUP: return 1;
        case WM_RBUTTONDOWN: case WM_RBUTTONUP: return 2;
        default: return 4;
    }
}

int ShiftOf(WPARAM wParam) {
    return ((wParam & MK_SHIFT) ? 1 : 0) | ((wParam & MK_CONTROL) ? 2 : 0) | (::GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

void PaintFrozen(HWND hwnd, const FrmMain& form) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd, &ps);
    UniqueCreatedDc memory(::CreateCompatibleDC(dc));
    {
        SelectGuard select(memory.get(), form.frozenScreen.get());
        const RECT& r = ps.rcPaint;
        ::BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, memory.get(), r.left, r.top, SRCCOPY);
    }
    ::EndPaint(hwnd, &ps);
}

LRESULT CALLBACK OverlayProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* form = reinterpret_cast<FrmMain*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!form) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
        case WM_PAINT:
            PaintFrozen(hwnd, *form);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SETCURSOR:
            ::SetCursor(::LoadCursorW(nullptr, form->MousePointer == 2 ? IDC_CROSS : IDC_ARROW));
            return TRUE;
        case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
        case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP: {
            // Handed on as the main window's own press: its client coordinates in the
            // current scale unit.
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ::MapWindowPoints(hwnd, form->hwnd(), &p, 1);
            const double x = p.x * form->ScaleUnitPerPixelX();
            const double y = p.y * form->ScaleUnitPerPixelY();
            const bool down = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
            // The handler may destroy this window: nothing of it is touched afterwards.
            if (down) form->Form_MouseDown(ButtonOf(message), ShiftOf(wParam), x, y);
            else form->Form_MouseUp(ButtonOf(message), ShiftOf(wParam), x, y);
            return 0;
        }
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE && form->SelectionArmed) CancelSelection(*form);
            return 0;
        case WM_NCDESTROY:
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            if (form->selectionOverlay == hwnd) form->selectionOverlay = nullptr;
            break;
        default:
            break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

void RegisterOverlayClass(HINSTANCE instance) {
    WNDCLASSEXW wc{sizeof wc};
    if (::GetClassInfoExW(instance, kOverlayClass, &wc)) return;
    wc = WNDCLASSEXW{sizeof wc};
    wc.lpfnWndProc = &OverlayProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_CROSS);
    wc.lpszClassName = kOverlayClass;
    ::RegisterClassExW(&wc);
}

}  // namespace

RECT VirtualScreenRect() {
    const int x = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int y = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{x, y, x + ::GetSystemMetrics(SM_CXVIRTUALSCREEN), y + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

UniqueBitmap CopyVirtualScreen(const RECT& screen) {
    UniqueCreatedDc display(::CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
    UniqueCreatedDc memory(::CreateCompatibleDC(display.get()));
    const int width = screen.right - screen.left, height = screen.bottom - screen.top;
    UniqueBitmap copy(::CreateCompatibleBitmap(display.get(), width, height));
    if (!copy) return copy;
    SelectGuard select(memory.get(), copy.get());
    ::BitBlt(memory.get(), 0, 0, width, height, display.get(), screen.left, screen.top, SRCCOPY);
    return copy;
}

HWND ShowSelectionOverlay(FrmMain& form, const RECT& screen) {
    RegisterOverlayClass(form.instance());
    // Not owned by the main window: owned popups are hidden while their owner is minimised.
    HWND overlay = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kOverlayClass, L"", WS_POPUP, screen.left,
                                     screen.top, screen.right - screen.left, screen.bottom - screen.top, nullptr,
                                     nullptr, form.instance(), &form);
    if (!overlay) return nullptr;
    ::ShowWindow(overlay, SW_SHOW);
    ::UpdateWindow(overlay);
    ::SetForegroundWindow(overlay);
    ::SetFocus(overlay);
    ::GdiFlush();
    return overlay;
}

}  // namespace vx

namespace vx {

UniqueBitmap CropFrozenScreen(HBITMAP frozen, const RECT& screen, const RECT& area) {
    if (!frozen) return {};
    UniqueCreatedDc display(::CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
    UniqueCreatedDc from(::CreateCompatibleDC(display.get()));
    UniqueCreatedDc to(::CreateCompatibleDC(display.get()));
    const int width = area.right - area.left, height = area.bottom - area.top;
    UniqueBitmap part(::CreateCompatibleBitmap(display.get(), width, height));
    if (!part) return part;
    SelectGuard selectFrom(from.get(), frozen);
    SelectGuard selectTo(to.get(), part.get());
    ::BitBlt(to.get(), 0, 0, width, height, from.get(), area.left - screen.left, area.top - screen.top, SRCCOPY);
    return part;
}

}  // namespace vx
