// The wheel and the keys scroll the picture through the scroll bars' own values, so
// the picture and the thumbs always agree.
#include "../platform/units.h"
#include "frm_main.h"
#include "view_input.h"

namespace vx {

void FrmMain::ScrollTo(bool horizontal, int32_t value) {
    ScrollBar& bar = horizontal ? hscroll_ : vscroll_;
    if (!bar.Visible || !bar.SetValue(value)) return;
    horizontal ? HScroll1_Change() : VScroll1_Change();
}

int32_t FrmMain::TextLineStep(bool horizontal) const {
    // The bars' arrow buttons keep their one-pixel step; people read a wheel line as a line of text.
    return Nearest(textLinePixels_ * (horizontal ? twipsPerPixelX_ : twipsPerPixelY_));
}

void FrmMain::OnWheel(int delta, bool horizontal) {
    ScrollBar& bar = horizontal ? hscroll_ : vscroll_;
    WheelAccumulator& wheel = horizontal ? hwheel_ : vwheel_;
    if (!bar.Visible) {
        wheel.Reset();  // a direction without a bar does not scroll
        return;
    }
    UINT lines = 3;
    ::SystemParametersInfoW(horizontal ? SPI_GETWHEELSCROLLCHARS : SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    const bool pages = lines == WHEEL_PAGESCROLL;
    const int steps = wheel.Take(delta, pages ? 1 : lines);
    if (steps == 0) return;
    // Forward (or Shift and forward) goes toward the top (or the left).
    ScrollTo(horizontal, MovedValue(bar.Value, bar.Max, TextLineStep(horizontal), bar.LargeChange,
                                    pages ? ScrollMove::Pages : ScrollMove::Lines, -steps));
}

bool FrmMain::OnViewKey(int key) {
    const ScrollMove move = ScrollMoveForKey(key, ::GetKeyState(VK_CONTROL) < 0);
    if (move.kind == ScrollMove::None) return false;
    for (const bool horizontal : {true, false}) {
        if (!(horizontal ? move.horizontal : move.vertical)) continue;
        const ScrollBar& bar = horizontal ? hscroll_ : vscroll_;
        ScrollTo(horizontal,
                 MovedValue(bar.Value, bar.Max, TextLineStep(horizontal), bar.LargeChange, move.kind, move.count));
    }
    return true;
}

}  // namespace vx
