#include "dpi.h"

#include "units.h"

namespace vx {

int SystemDpi() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen) ::ReleaseDC(nullptr, screen);
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
