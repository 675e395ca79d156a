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

int MessageLineHeight(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    const auto forDpi = api::SystemParametersInfoForDpi();
    const bool got = forDpi ? forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi))
                            : ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    // Without the DPI-aware call the metrics come at the system DPI.
    if (got && !forDpi) metrics.lfMessageFont.lfHeight = ::MulDiv(metrics.lfMessageFont.lfHeight, dpi, SystemDpi());
    const UniqueFont font(got ? ::CreateFontIndirectW(&metrics.lfMessageFont) : nullptr);
    const UniqueCreatedDc dc(::CreateCompatibleDC(nullptr));
    TEXTMETRICW text{};
    bool measured = false;
    if (font && dc) {
        SelectGuard select(dc.get(), font.get());
        measured = ::GetTextMetricsW(dc.get(), &text) != 0;
    }
    return measured && text.tmHeight > 0 ? text.tmHeight + text.tmExternalLeading : Scale96(16, dpi);
}

double ScreenTwipsPerPixel() { return TwipsPerPixel(SystemDpi()); }

void DeclareDpiAwareness() {
    if (auto fn = api::SetProcessDpiAwarenessContext()) fn(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
}

}  // namespace vx
