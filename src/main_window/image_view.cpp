#include "image_view.h"

#include <windowsx.h>

#include <algorithm>

#include "../platform/units.h"
#include "../resources/resource.h"
#include "frm_main.h"

namespace vx {
namespace {

constexpr wchar_t kViewportClass[] = L"VellumoxViewport";

LRESULT CALLBACK ViewportProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* form = reinterpret_cast<FrmMain*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
        case WM_NCCREATE: {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
            break;
        }
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT fills everything; no flicker while scrolling
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(hwnd, &ps);
            if (form && form->Markup().Active()) {
                form->Markup().Paint(dc, ps.rcPaint);
            } else if (form) {
                const PictureBox& picture = form->Doc().PicBmp;
                const long x = Nearest(picture.Left / form->TwipsPerPixelX());
                const long y = Nearest(picture.Top / form->TwipsPerPixelY());
                PaintViewport(dc, ps.rcPaint, picture, x, y);
            }
            ::EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_MOUSEMOVE:
            if (form && form->Markup().Active() &&
                form->Markup().OnMouse(message, wParam, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}))
                return 0;
            break;
        case WM_SETCURSOR:
            if (form && form->Markup().Active() && LOWORD(lParam) == HTCLIENT && form->Markup().OnSetCursor()) return TRUE;
            break;
        default:
            break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

bool RegisterViewportClass(HINSTANCE instance) {
    WNDCLASSEXW wc{sizeof wc};
    if (::GetClassInfoExW(instance, kViewportClass, &wc)) return true;
    wc = WNDCLASSEXW{sizeof wc};
    wc.style = CS_DBLCLKS;  // a text is edited again with a double-click
    wc.lpfnWndProc = ViewportProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = kViewportClass;
    return ::RegisterClassExW(&wc) != 0;
}

HWND CreateViewport(HWND parent, HINSTANCE instance, const FrmMain* form) {
    return ::CreateWindowExW(0, kViewportClass, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 24, 537, 311,
                             parent, reinterpret_cast<HMENU>(IDC_PICSCROLL), instance, const_cast<FrmMain*>(form));
}

void PaintViewport(HDC dc, const RECT& clip, const PictureBox& picture, long originX, long originY) {
    // The visible part of the picture, in viewport pixels.
    RECT shown{originX, originY, originX + picture.PixelWidth(), originY + picture.PixelHeight()};
    RECT part{};
    HBITMAP bitmap = picture.Bitmap();
    const bool any = bitmap && ::IntersectRect(&part, &shown, &clip);

    // Workspace colour around the picture only, so the picture itself is drawn once.
    UniqueRegion background(::CreateRectRgnIndirect(&clip));
    if (any) {
        UniqueRegion hole(::CreateRectRgnIndirect(&part));
        ::CombineRgn(background.get(), background.get(), hole.get(), RGN_DIFF);
    }
    ::FillRgn(dc, background.get(), ::GetSysColorBrush(COLOR_APPWORKSPACE));
    if (!any) return;

    UniqueCreatedDc memory(::CreateCompatibleDC(dc));
    if (!memory) return;
    SelectGuard select(memory.get(), bitmap);
    PaletteGuard palette(dc, picture.Palette(), true);
    ::BitBlt(dc, part.left, part.top, part.right - part.left, part.bottom - part.top, memory.get(),
             part.left - originX, part.top - originY, SRCCOPY);
}

void FrmMain::HScroll1_Change() {
    doc_.PicBmp.Left = -static_cast<double>(hscroll_.Value);
    markup_.ViewMoved();
    if (picScroll_) {
        ::InvalidateRect(picScroll_, nullptr, FALSE);
        ::UpdateWindow(picScroll_);
    }
}

void FrmMain::HScroll1_Scroll() { HScroll1_Change(); }

void FrmMain::VScroll1_Change() {
    doc_.PicBmp.Top = -static_cast<double>(vscroll_.Value);
    markup_.ViewMoved();
    if (picScroll_) {
        ::InvalidateRect(picScroll_, nullptr, FALSE);
        ::UpdateWindow(picScroll_);
    }
}

void FrmMain::VScroll1_Scroll() { VScroll1_Change(); }

}  // namespace vx
