// The stored placement is read from the registry, where anything may have been put.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "main_window/placement.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
    const auto value = vx::ParseTwips(text);
    if (value && (!std::isfinite(*value) || std::fabs(*value) > 1e8)) std::abort();
    const vx::PlacementTwips p = vx::ResolvePlacement(text, text, text, text);
    if (p.width <= 0 || p.height <= 0) std::abort();
    // What is written back must read back as the same value.
    if (value) {
        const auto again = vx::ParseTwips(vx::FormatTwips(*value));
        if (!again || static_cast<float>(*again) != static_cast<float>(*value)) std::abort();
    }
    return 0;
}
