#include "capture_geometry.h"

namespace vx {

Rect VisibleFrame(bool frameKnown, const Rect& frame, const Rect& window) {
    return frameKnown && !frame.Empty() ? frame : window;
}

}  // namespace vx
