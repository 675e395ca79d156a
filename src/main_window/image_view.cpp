#include "image_view.h"

#include <windowsx.h>

#include <algorithm>

#include "../platform/units.h"
#include "../resources/resource.h"
#include "frm_main.h"

namespace vx {

bool Viewport::Create(HWND parent, HINSTANCE instance) {
    // Double-clicks: a text is edited again with one.
    static const WindowClass kClass{L"VellumoxViewport", CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                                    reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1)};
    return CreateOfClass(kClass, 0, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, nullptr, 0, 24, 537, 311, parent,
                         reinterpret_cast<HMENU>(IDC_PICSCROLL), instance);
}

LRESULT Viewport::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_RBUTTONDOWN:
            rightPressed_ = true;
            return 0;
        case WM_RBUTTONUP:
            // Only a right click begun here opens the picture's menu: a press that
            // ended a capture over the frozen screen releases over the view.
            if (!rightPressed_) return 0;
            rightPressed_ = false;
            return Default(message, wParam, lParam);  // asks the window for the context menu
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT fills everything; no flicker while scrolling
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(hwnd_, &ps);
            if (form_.Markup().Active()) {
                form_.Markup().Paint(dc, ps.rcPaint);
            } else {
                const PictureBox& picture = form_.Doc().PicBmp;
                const long x = Nearest(picture.Left / form_.TwipsPerPixelX());
                const long y = Nearest(picture.Top / form_.TwipsPerPixelY());
                PaintViewport(dc, ps.rcPaint, picture, x, y);
            }
            ::EndPaint(hwnd_, &ps);
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_MOUSEMOVE:
            if (form_.Markup().Active() &&
                form_.Markup().OnMouse(message, wParam, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}))
                return 0;
            if (message == WM_LBUTTONDOWN) {
                form_.Picture_MouseDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
                return 0;
            }
            return Default(message, wParam, lParam);
        case WM_SETCURSOR:
            if (form_.Markup().Active() && LOWORD(lParam) == HTCLIENT && form_.Markup().OnSetCursor()) return TRUE;
            return Default(message, wParam, lParam);
        default:
            return Default(message, wParam, lParam);
    }
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
    ::ClientToScreen(picScroll(), &screen);
    // A click stays a click; only a move beyond the system's drag distance drags.
    if (::DragDetect(picScroll(), screen)) drag_.Run(doc_.PicBmp);
}

void FrmMain::HScroll1_Change() {
    doc_.PicBmp.Left = -static_cast<double>(hscroll_.Value);
    markup_.ViewMoved();
    if (picScroll()) {
        ::InvalidateRect(picScroll(), nullptr, FALSE);
        ::UpdateWindow(picScroll());
    }
}

void FrmMain::HScroll1_Scroll() { HScroll1_Change(); }

void FrmMain::VScroll1_Change() {
    doc_.PicBmp.Top = -static_cast<double>(vscroll_.Value);
    markup_.ViewMoved();
    if (picScroll()) {
        ::InvalidateRect(picScroll(), nullptr, FALSE);
        ::UpdateWindow(picScroll());
    }
}

void FrmMain::VScroll1_Scroll() { VScroll1_Change(); }

}  // namespace vx
