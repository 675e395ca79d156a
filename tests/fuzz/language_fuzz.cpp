// Language files come from the user's disk: any bytes at all, fed in pieces of any size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "language/language_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const vx::LanguageLines whole = vx::SplitLanguageFile(all);
    // The same bytes in pieces split at a place the input chooses give the same lines.
    const size_t cut = size ? data[0] % (size + 1) : 0;
    vx::LanguageFileSplitter pieces;
    if (pieces.Feed(all.substr(0, cut))) pieces.Feed(all.substr(cut));
    const vx::LanguageLines fed = pieces.Finish();
    if (fed.lines != whole.lines || fed.encoding != whole.encoding) std::abort();
    if (whole.lines.size() > static_cast<size_t>(vx::kLanguageLineCount)) std::abort();
    for (const auto& line : whole.lines) {
        if (line.size() > vx::kLanguageLineMaxBytes) std::abort();
        if (line.find('\0') != std::string::npos || line.find('\r') != std::string::npos ||
            line.find('\n') != std::string::npos) {
            std::abort();
        }
    }
    return 0;
}
