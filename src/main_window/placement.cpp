#include "placement.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <limits>

namespace vx {
namespace {

// Beyond this the value cannot be a window position on any real desktop, and its
// pixel conversion would overflow.
constexpr double kLimitTwips = 1.0e8;

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

double DistanceSquared(const Rect& window, const Rect& area) {
    auto gap = [](int32_t lo1, int32_t hi1, int32_t lo2, int32_t hi2) -> double {
        if (hi1 <= lo2) return static_cast<double>(lo2) - hi1;
        if (hi2 <= lo1) return static_cast<double>(lo1) - hi2;
        return 0.0;
    };
    const double dx = gap(window.left, window.right, area.left, area.right);
    const double dy = gap(window.top, window.bottom, area.top, area.bottom);
    return dx * dx + dy * dy;
}

}  // namespace

std::optional<double> ParseTwips(const std::wstring& text) {
    size_t i = 0, end = text.size();
    while (i < end && IsBlank(text[i])) ++i;
    while (end > i && IsBlank(text[end - 1])) --end;
    if (i == end) return std::nullopt;
    // Plain decimal only: optional sign, digits, optional fraction, optional exponent.
    std::string ascii;
    for (size_t k = i; k < end; ++k) {
        const wchar_t c = text[k];
        if (c > 127) return std::nullopt;
        ascii.push_back(static_cast<char>(c));
    }
    size_t k = 0;
    if (k < ascii.size() && (ascii[k] == '+' || ascii[k] == '-')) ++k;
    size_t digits = 0;
    while (k < ascii.size() && ascii[k] >= '0' && ascii[k] <= '9') { ++k; ++digits; }
    if (k < ascii.size() && ascii[k] == '.') {
        ++k;
        while (k < ascii.size() && ascii[k] >= '0' && ascii[k] <= '9') { ++k; ++digits; }
    }
    if (digits == 0) return std::nullopt;
    if (k < ascii.size() && (ascii[k] == 'e' || ascii[k] == 'E')) {
        ++k;
        if (k < ascii.size() && (ascii[k] == '+' || ascii[k] == '-')) ++k;
        size_t expDigits = 0;
        while (k < ascii.size() && ascii[k] >= '0' && ascii[k] <= '9') { ++k; ++expDigits; }
        if (expDigits == 0) return std::nullopt;
    }
    if (k != ascii.size()) return std::nullopt;
    // Stored values are single precision, as they were written.
    const float value = std::strtof(ascii.c_str(), nullptr);
    if (!std::isfinite(value) || std::fabs(value) > kLimitTwips) return std::nullopt;
    return static_cast<double>(value);
}

PlacementTwips ResolvePlacement(const std::optional<std::wstring>& left,
                                const std::optional<std::wstring>& top,
                                const std::optional<std::wstring>& width,
                                const std::optional<std::wstring>& height) {
    PlacementTwips p;
    auto take = [](const std::optional<std::wstring>& text, double& target, bool positive) {
        if (!text) return;
        const auto value = ParseTwips(*text);
        if (!value || (positive && *value <= 0)) return;
        target = *value;
    };
    take(left, p.left, false);
    take(top, p.top, false);
    take(width, p.width, true);
    take(height, p.height, true);
    return p;
}

std::wstring FormatTwips(double twips) {
    // Shortest text of the single-precision value: whole numbers without a fraction.
    const float value = static_cast<float>(twips);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.9g", static_cast<double>(value));
    for (int precision = 1; precision <= 9; ++precision) {
        char probe[64];
        std::snprintf(probe, sizeof probe, "%.*g", precision, static_cast<double>(value));
        if (std::strtof(probe, nullptr) == value) {
            std::snprintf(buffer, sizeof buffer, "%s", probe);
            break;
        }
    }
    // %g may pick exponent notation for large whole numbers; write those in full.
    std::string text = buffer;
    if (text.find('e') != std::string::npos && value == std::floor(value)) {
        std::snprintf(buffer, sizeof buffer, "%.0f", static_cast<double>(value));
        text = buffer;
    }
    return std::wstring(text.begin(), text.end());
}

Rect BringOntoMonitor(const Rect& window, const std::vector<MonitorArea>& monitors) {
    if (monitors.empty()) return window;
    for (const auto& m : monitors) {
        if (!window.Intersect(m.bounds).Empty()) return window;
    }
    const MonitorArea* nearest = &monitors.front();
    double best = std::numeric_limits<double>::max();
    for (const auto& m : monitors) {
        const double d = DistanceSquared(window, m.bounds);
        if (d < best) { best = d; nearest = &m; }
    }
    const Rect& work = nearest->work;
    const int32_t width = std::min(window.Width(), work.Width());
    const int32_t height = std::min(window.Height(), work.Height());
    return Rect::FromSize(std::clamp(window.left, work.left, work.right - width),
                          std::clamp(window.top, work.top, work.bottom - height), width, height);
}

}  // namespace vx
