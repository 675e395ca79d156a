#include "layout.h"

#include <algorithm>

#include "../platform/units.h"

namespace vx {
namespace {

BarLayout ShownBar(double image, double view, double twipsPerPixel) {
    BarLayout bar;
    bar.visible = true;
    // Full 32-bit range: a picture far larger than the viewport stays reachable.
    bar.maximum = std::max(Nearest(image - view), 0);
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

    // Which bars are needed, from the viewport before any strip is added. An image
    // exactly as wide as the viewport fits; one exactly as tall gets a bar (maximum 0).
    const bool needH = in.imageWidth > viewW;
    const bool needV = !(viewH > in.imageHeight);
    // A hidden bar's strip goes to the viewport on its own side.
    if (!needH) out.viewHeight += in.hbarHeight;
    if (!needV) out.viewWidth += in.vbarWidth;
    // Ranges from the extent actually shown, so at the maximum the far edges meet.
    if (needH) out.h = ShownBar(in.imageWidth, out.viewWidth, in.twipsPerPixelX);
    if (needV) out.v = ShownBar(in.imageHeight, out.viewHeight, in.twipsPerPixelY);
    return out;
}

}  // namespace vx
