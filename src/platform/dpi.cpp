#include "dpi.h"

#include "unique_handle.h"
#include "units.h"

namespace vx {

int SystemDpi() {
    const UniqueWindowDc screen = UniqueWindowDc::Client(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSX) : 96;
    return dpi > 0 ? dpi : 96;
}

int WindowDpi(HWND hwnd) {
    if (auto fn = api::GetDpiForWindow()) {
        const UINT dpi = fn(hwnd);
        if (dpi > 0) return static_cast<int>(dpi);
    }
    return SystemDpi();
}

int Scale96(int value, int dpi) { return ::MulDiv(value, dpi, 96); }

double ScreenTwipsPerPixel() { return TwipsPerPixel(SystemDpi()); }

void DeclareDpiAwareness() {
    if (auto fn = api::SetProcessDpiAwarenessContext()) fn(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
}

}  // namespace vx
