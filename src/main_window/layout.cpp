#include "layout.h"

#include "units.h"

namespace vx {
namespace {

BarLayout ShownBar(double image, double view, double twipsPerPixel) {
    BarLayout bar;
    bar.visible = true;
    // Full 32-bit range: a picture far larger than the viewport stays reachable.
    bar.maximum = Nearest(image - view);
    bar.pageStep = Nearest(view) / 3;
    bar.lineStep = Nearest(twipsPerPixel);
    if (bar.pageStep == 0) bar.pageStep = bar.lineStep;
    bar.pageSize = Nearest(view);
    return bar;
}

}  // namespace

LayoutResult LayoutPass(const LayoutInput& in) {
    LayoutResult out;
    if (in.state == WindowState::Minimized) return out;
    out.ran = true;

    // A window too small for a positive viewport keeps the previous viewport size.
    const double width = in.clientWidth - in.vbarWidth;
    const double height = in.clientHeight - in.hbarHeight - in.statusHeight - in.toolbarHeight;
    const double viewW = width > 0 ? width : in.viewWidth;
    const double viewH = height > 0 ? height : in.viewHeight;

    out.hbarTop = in.toolbarHeight + viewH;
    out.hbarWidth = viewW;
    out.vbarLeft = in.viewLeft + viewW;
    out.vbarHeight = viewH;
    out.viewWidth = viewW;
    out.viewHeight = viewH;

    // Horizontal: an image exactly as wide as the viewport fits.
    if (in.imageWidth <= viewW) {
        out.viewHeight += in.hbarHeight;  // the viewport takes the hidden bar's own strip
    } else {
        out.h = ShownBar(in.imageWidth, viewW, in.twipsPerPixelX);
    }
    // Vertical: strictly taller viewport only; an image exactly as tall gets a bar with maximum 0.
    if (viewH > in.imageHeight) {
        out.viewWidth += in.vbarWidth;
    } else {
        out.v = ShownBar(in.imageHeight, viewH, in.twipsPerPixelY);
    }
    return out;
}

}  // namespace vx
