#include "selection_overlay.h"

#include <windowsx.h>

#include "../platform/gdi.h"
#include "selection_tracking.h"

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

void PaintFrozen(HWND hwnd, HBITMAP frozen) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd, &ps);
    UniqueCreatedDc memory(::CreateCompatibleDC(dc));
    {
        SelectGuard select(memory.get(), frozen);
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
    auto* events = reinterpret_cast<OverlayEvents*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!events) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
        case WM_PAINT:
            PaintFrozen(hwnd, events->OverlayPicture());
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SETCURSOR:
            ::SetCursor(::LoadCursorW(nullptr, IDC_CROSS));
            return TRUE;
        case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ::ClientToScreen(hwnd, &p);
            // The handler may destroy this window: nothing of it is touched afterwards.
            events->OnOverlayPress(ButtonOf(message), p);
            return 0;
        }
        case WM_MOUSEMOVE: {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ::ClientToScreen(hwnd, &p);
            events->OnOverlayMove(p);
            return 0;
        }
        case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
            events->OnOverlayRelease(ButtonOf(message));
            return 0;
        case WM_KEYDOWN:
            // Before the press the arrows place the pointer, a pixel at a time.
            if (wParam == VK_ESCAPE) events->OnOverlayCancel();
            else MovePointerByKey(static_cast<int>(wParam));
            return 0;
        case WM_CLOSE:
            // Alt+F4 or the system: the selection ends as Escape ends it (which closes this).
            events->OnOverlayCancel();
            return 0;
        case WM_ACTIVATE:
            // Another window takes the keyboard (Alt+Tab, the taskbar): Escape could no
            // longer reach the selection, so it ends as Escape would end it.
            if (LOWORD(wParam) == WA_INACTIVE) events->OnOverlayCancel();
            break;
        case WM_NCDESTROY:
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            events->OnOverlayGone(hwnd);
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
    return CopyArea(display.get(), screen.left, screen.top, screen.right - screen.left, screen.bottom - screen.top);
}

HWND ShowSelectionOverlay(const RECT& screen, OverlayEvents* events) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    RegisterOverlayClass(instance);
    // Not owned by the main window: owned popups are hidden while their owner is minimised.
    HWND hwnd = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kOverlayClass, L"", WS_POPUP, screen.left,
                                  screen.top, screen.right - screen.left, screen.bottom - screen.top, nullptr,
                                  nullptr, instance, events);
    if (!hwnd) return nullptr;
    ::ShowWindow(hwnd, SW_SHOW);
    ::UpdateWindow(hwnd);
    ::SetForegroundWindow(hwnd);
    ::SetFocus(hwnd);
    ::GdiFlush();
    return hwnd;
}

UniqueBitmap CropFrozenScreen(HBITMAP frozen, const RECT& screen, const RECT& area) {
    return CopyBitmapArea(frozen, area.left - screen.left, area.top - screen.top, area.right - area.left,
                          area.bottom - area.top);
}

}  // namespace vx
