// The size a picture file claims is read before any decoder runs, walking a JPEG's
// segments and a GIF's frames: it must never read past the bytes given, and what it
// accepts must be within the limits, every frame together.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "commands/picture_header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy, so AddressSanitizer sees any read past the end.
    const std::vector<unsigned char> bytes(data, data + size);
    const vx::PictureHeader header = vx::SniffPictureHeader(bytes.data(), bytes.size());
    if (header.sizeKnown && header.kind == vx::PictureKind::Unknown) std::abort();
    if (vx::PictureHeaderAcceptable(header) &&
        (header.width * header.height > vx::kMaxPicturePixels || header.decodedPixels > vx::kMaxPicturePixels)) {
        std::abort();
    }
    return 0;
}
