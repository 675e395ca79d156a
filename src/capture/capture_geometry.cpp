#include "capture_geometry.h"

#include "../platform/units.h"

namespace vx {

int32_t ScaleToPixels(double value, ScaleMode scaleMode, double twipsPerPixel) {
    if (scaleMode == ScaleMode::Pixels) return Nearest(value);
    return TwipsToPixels(value, twipsPerPixel);
}

CaptureRect VisibleFrame(bool frameKnown, int32_t frameLeft, int32_t frameTop, int32_t frameRight,
                         int32_t frameBottom, int32_t windowLeft, int32_t windowTop, int32_t windowRight,
                         int32_t windowBottom) {
    // 64-bit differences, then wrapped to 32 bits as the platform's own arithmetic does.
    auto span = [](int32_t from, int32_t to) {
        return static_cast<int32_t>(static_cast<uint32_t>(static_cast<int64_t>(to) - from));
    };
    if (frameKnown && frameRight > frameLeft && frameBottom > frameTop) {
        return {frameLeft, frameTop, span(frameLeft, frameRight), span(frameTop, frameBottom)};
    }
    return {windowLeft, windowTop, span(windowLeft, windowRight), span(windowTop, windowBottom)};
}

}  // namespace vx
