#pragma once
// The stored window placement: parsing the registry text and keeping the window
// reachable. Portable: no <windows.h>.
#include <optional>
#include <string>
#include <vector>

#include "../platform/geometry.h"

namespace vx {

struct PlacementTwips {
    double left = 1000, top = 1000, width = 6500, height = 6500;
};

// Decimal text to a number of twips; nullopt for anything that is not a plain
// finite number within a sane range (so the caller falls back to the default).
std::optional<double> ParseTwips(const std::wstring& text);

// The four stored texts (nullopt where a value is absent) with the defaults and the
// fallback for garbage and for a width or height that is zero or negative.
PlacementTwips ResolvePlacement(const std::optional<std::wstring>& left,
                                const std::optional<std::wstring>& top,
                                const std::optional<std::wstring>& width,
                                const std::optional<std::wstring>& height);

// Decimal text written back for a twips value ("1005", or "1012.5" when fractional).
std::wstring FormatTwips(double twips);

struct MonitorArea {
    Rect bounds;  // the whole monitor, in pixels
    Rect work;    // without the task bar
};

// A window that lies entirely outside every monitor (one since unplugged) is brought
// back onto the nearest monitor's work area, keeping its size where it fits.
Rect BringOntoMonitor(const Rect& window, const std::vector<MonitorArea>& monitors);

}  // namespace vx
