// Form_Resize: reads the sizes in the current scale unit, runs the layout pass and
// applies its result to the viewport and the scroll bars.
#include "../platform/units.h"
#include "frm_main.h"
#include "layout.h"

namespace vx {
namespace {

RECT ChildRect(HWND parent, HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

void FrmMain::Form_Resize() {
    if (!hwnd_ || !picScroll()) return;
    const double ux = ScaleUnitPerPixelX();
    const double uy = ScaleUnitPerPixelY();
    const RECT view = ChildRect(hwnd_, picScroll());
    const RECT toolbar = ChildRect(hwnd_, toolbar_);
    const RECT status = ChildRect(hwnd_, statusBar_);
    const RECT hbar = ChildRect(hwnd_, hscroll_.hwnd);
    const RECT vbar = ChildRect(hwnd_, vscroll_.hwnd);

    LayoutInput in;
    in.state = GetWindowState();
    in.clientWidth = ScaleWidth();
    in.clientHeight = ScaleHeight();
    in.vbarWidth = (vbar.right - vbar.left) * ux;
    in.hbarHeight = (hbar.bottom - hbar.top) * uy;
    in.statusHeight = (status.bottom - status.top) * uy;
    in.toolbarHeight = (toolbar.bottom - toolbar.top) * uy;
    in.viewLeft = view.left * ux;
    in.viewWidth = (view.right - view.left) * ux;
    in.viewHeight = (view.bottom - view.top) * uy;
    in.imageWidth = doc_.PicBmp.Width;
    in.imageHeight = doc_.PicBmp.Height;
    in.twipsPerPixelX = twipsPerPixelX_;
    in.twipsPerPixelY = twipsPerPixelY_;

    const LayoutResult out = LayoutPass(in);
    if (!out.ran) return;

    // The viewport's top-left corner stays directly below the toolbar.
    const int viewTop = toolbar.bottom;
    const int viewW = Nearest(out.viewWidth / ux);
    const int viewH = Nearest(out.viewHeight / uy);
    const int hbarTop = Nearest(out.hbarTop / uy);
    const int hbarW = Nearest(out.hbarWidth / ux);
    const int vbarLeft = Nearest(out.vbarLeft / ux);
    const int vbarH = Nearest(out.vbarHeight / uy);
    const int thicknessH = hbar.bottom - hbar.top;
    const int thicknessV = vbar.right - vbar.left;

    HDWP defer = ::BeginDeferWindowPos(3);
    defer = ::DeferWindowPos(defer, picScroll(), nullptr, view.left, viewTop, viewW, viewH, SWP_NOZORDER | SWP_NOACTIVATE);
    defer = ::DeferWindowPos(defer, hscroll_.hwnd, nullptr, hbar.left, hbarTop, hbarW, thicknessH,
                             SWP_NOZORDER | SWP_NOACTIVATE);
    defer = ::DeferWindowPos(defer, vscroll_.hwnd, nullptr, vbarLeft, viewTop, thicknessV, vbarH,
                             SWP_NOZORDER | SWP_NOACTIVATE);
    ::EndDeferWindowPos(defer);

    // After every pass the picture's edges lie at the viewport's edges: a shown bar is
    // at 0, and so is a hidden one (else a picture scrolled earlier stays out of view).
    // Setting a range may already have clamped the value to 0 without a word, so the
    // picture's own offset decides whether the Change handler runs.
    hscroll_.Show(out.h.visible);
    if (out.h.visible) hscroll_.SetRange(out.h);
    if (hscroll_.SetValue(0) || doc_.PicBmp.Left != 0) HScroll1_Change();
    vscroll_.Show(out.v.visible);
    if (out.v.visible) vscroll_.SetRange(out.v);
    if (vscroll_.SetValue(0) || doc_.PicBmp.Top != 0) VScroll1_Change();
    ::InvalidateRect(hwnd_, nullptr, TRUE);  // the corner beside a lone bar
}

}  // namespace vx
