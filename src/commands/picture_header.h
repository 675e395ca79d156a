#pragma once
// What a picture file's first bytes claim, and how large a picture may be before it
// is refused. Portable.
#include <cstddef>
#include <cstdint>

#include "../document/picture_limits.h"

namespace vx {

// Refused before anything is allocated: beyond the limits of picture_limits.h.
bool PictureSizeAcceptable(std::uint64_t width, std::uint64_t height);

enum class PictureKind { Unknown, Bmp, Png, Jpeg, Gif, Tiff };

struct PictureHeader {
    PictureKind kind = PictureKind::Unknown;
    bool sizeKnown = false;
    std::uint64_t width = 0, height = 0;
};

// Reads the signature and, for BMP, PNG, GIF and JPEG, the claimed size from the
// start of a file (JPEG: the first frame header within the bytes given).
PictureHeader SniffPictureHeader(const unsigned char* data, std::size_t size);

}  // namespace vx
