#include "text.h"

namespace vx {

std::wstring FillText(const std::wstring& pattern, std::initializer_list<std::wstring> arguments) {
    std::wstring out;
    out.reserve(pattern.size());
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == L'%' && i + 1 < pattern.size() && pattern[i + 1] >= L'1' && pattern[i + 1] <= L'9') {
            const size_t n = static_cast<size_t>(pattern[i + 1] - L'1');
            if (n < arguments.size()) {
                out += *(arguments.begin() + n);
                ++i;
                continue;
            }
        }
        out += pattern[i];
    }
    return out;
}

}  // namespace vx
