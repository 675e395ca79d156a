#pragma once
// The layout pass as a pure function of the sizes: viewport, scroll-bar places and
// scroll ranges. Portable: no <windows.h>.
#include <cstdint>

#include "../document/form_state.h"

namespace vx {

struct LayoutInput {
    WindowState state = WindowState::Normal;
    // All in the window's current scale unit (twips, or pixels while a region is selected).
    double clientWidth = 0, clientHeight = 0;
    double vbarWidth = 0, hbarHeight = 0, statusHeight = 0, toolbarHeight = 0;
    double viewLeft = 0;
    double viewWidth = 0, viewHeight = 0;  // the viewport as it is now
    // The picture's size, always in twips (the viewport's interior unit).
    double imageWidth = 0, imageHeight = 0;
    double twipsPerPixelX = 15, twipsPerPixelY = 15;
};

struct BarLayout {
    bool visible = false;
    // Shown bars are always put back to position 0; hidden bars keep theirs.
    int32_t maximum = 0;   // largest position
    int32_t pageStep = 0;  // a click in the trough
    int32_t lineStep = 0;  // an arrow click: one screen pixel
    int32_t pageSize = 0;  // visible extent, for a proportional thumb
};

struct LayoutResult {
    bool ran = false;  // false while minimised: nothing is changed
    double viewWidth = 0, viewHeight = 0;
    double hbarTop = 0, hbarWidth = 0;
    double vbarLeft = 0, vbarHeight = 0;
    BarLayout h, v;
};

LayoutResult LayoutPass(const LayoutInput& in);

}  // namespace vx
