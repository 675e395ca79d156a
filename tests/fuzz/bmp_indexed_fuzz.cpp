// Indexed and run-length BMPs are decoded by the program from any bytes: no read past
// them, no picture beyond the limits, every index within the 256 colours.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "commands/bmp_indexed.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<unsigned char> bytes(data, data + size);
    // Large claimed sizes only cost time here (the rows are allocated whole): keep the runs fast.
    const vx::PictureHeader claimed = vx::SniffPictureHeader(bytes.data(), bytes.size());
    if (claimed.width * claimed.height > (1u << 20)) return 0;
    vx::IndexedPicture picture;
    if (vx::DecodeIndexedBmp(vx::ReadFromMemory(bytes.data(), bytes.size()), picture) != vx::IndexedBmp::Decoded) return 0;
    if (!vx::PictureSizeAcceptable(picture.width, picture.height) || picture.colours.size() != 256 ||
        picture.indices.size() != std::size_t{picture.stride} * picture.height || picture.stride < picture.width) {
        std::abort();
    }
    return 0;
}
