#include "image_view.h"

#include <windowsx.h>

#include <algorithm>

#include "../platform/units.h"
#include "../resources/resource.h"
#include "frm_main.h"

namespace vx {
namespace {

constexpr wchar_t kViewportClass[] = L"VellumoxViewport";
constexpr wchar_t kRightPressed[] = L"VellumoxRightPressed";

LRESULT CALLBACK ViewportProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* form = reinterpret_cast<FrmMain*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
        case WM_NCCREATE: {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
            break;
        }
        case WM_RBUTTONDOWN:
            ::SetPropW(hwnd, kRightPressed, reinterpret_cast<HANDLE>(1));
            return 0;
        case WM_RBUTTONUP:
            // Only a right click begun here opens the picture's menu: a press that
            // ended a capture over the frozen screen releases over the view.
            if (!::RemovePropW(hwnd, kRightPressed)) return 0;
            break;  // the default handling asks the window for the context menu
        case WM_NCDESTROY:
            ::RemovePropW(hwnd, kRightPressed);
            break;
        case WM_LBUTTONDOWN:
            if (form) form->Picture_MouseDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT fills everything; no flicker while scrolling
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(hwnd, &ps);
            if (form) {
                const PictureBox& picture = form->Doc().PicBmp;
                const long x = Nearest(picture.Left / form->TwipsPerPixelX());
                const long y = Nearest(picture.Top / form->TwipsPerPixelY());
                PaintViewport(dc, ps.rcPaint, picture, x, y);
            }
            ::EndPaint(hwnd, &ps);
            return 0;
        }
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
    wc.lpfnWndProc = ViewportProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = kViewportClass;
    return ::RegisterClassExW(&wc) != 0;
}

HWND CreateViewport(HWND parent, HINSTANCE instance, FrmMain* form) {
    return ::CreateWindowExW(0, kViewportClass, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 24, 537, 311,
                             parent, reinterpret_cast<HMENU>(IDC_PICSCROLL), instance, form);
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

void FrmMain::Picture_MouseDown(POINT view) {
    if (doc_.PicBmp.Empty() || selection_.Busy() || scroll_.Busy()) return;
    POINT screen = view;
    ::ClientToScreen(picScroll_, &screen);
    // A click stays a click; only a move beyond the system's drag distance drags.
    if (::DragDetect(picScroll_, screen)) drag_.Run(doc_.PicBmp);
}

void FrmMain::HScroll1_Change() {
    doc_.PicBmp.Left = -static_cast<double>(hscroll_.Value);
    if (picScroll_) {
        ::InvalidateRect(picScroll_, nullptr, FALSE);
        ::UpdateWindow(picScroll_);
    }
}

void FrmMain::HScroll1_Scroll() { HScroll1_Change(); }

void FrmMain::VScroll1_Change() {
    doc_.PicBmp.Top = -static_cast<double>(vscroll_.Value);
    if (picScroll_) {
        ::InvalidateRect(picScroll_, nullptr, FALSE);
        ::UpdateWindow(picScroll_);
    }
}

void FrmMain::VScroll1_Scroll() { VScroll1_Change(); }

}  // namespace vx
