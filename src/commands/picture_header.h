#pragma once
// What a picture file's bytes claim, and how large a picture may be before it is
// refused. Portable.
#include <cstddef>
#include <cstdint>
#include <functional>

#include "../document/picture_limits.h"

namespace vx {

// Refused before anything is allocated: beyond the limits of picture_limits.h.
bool PictureSizeAcceptable(std::uint64_t width, std::uint64_t height);

enum class PictureKind { Unknown, Bmp, Png, Jpeg, Gif, Tiff };

struct PictureHeader {
    PictureKind kind = PictureKind::Unknown;
    bool sizeKnown = false;
    // The picture's size; for a GIF the screen, or the first frame that is too large.
    std::uint64_t width = 0, height = 0;
    // What a decoder fills when it reads the file: every frame of a GIF.
    std::uint64_t decodedPixels = 0;
};

// Reads up to `size` bytes at `offset` into `to`; returns how many it read.
using ReadAt = std::function<std::size_t(std::uint64_t offset, unsigned char* to, std::size_t size)>;

// Reads the signature and the claimed size, seeking through the whole file where the
// format hides it: a JPEG's segments up to its frame header, a GIF's frames, a TIFF's
// first directory. sizeKnown stays false where the size cannot be learnt.
PictureHeader ReadPictureHeader(const ReadAt& read);
PictureHeader SniffPictureHeader(const unsigned char* data, std::size_t size);

// Whether a decoder may be given the file: its size is known and within the limits,
// and so is all it would decode.
bool PictureHeaderAcceptable(const PictureHeader& header);

// A reader over bytes in memory.
ReadAt ReadFromMemory(const unsigned char* data, std::size_t size);

}  // namespace vx
