#pragma once
// BMPs of 1, 4 or 8 bits a pixel, plain or run-length encoded, decoded in the program:
// a file that ends early, jumps past rows or holds indices beyond its colour table must
// not show whatever a decoder's memory held before. Pixels the file leaves undefined,
// and indices beyond the table, take the colour of index 0. Portable.
#include <cstdint>
#include <vector>

#include "picture_header.h"

namespace vx {

struct IndexedPicture {
    std::uint32_t width = 0, height = 0;
    std::uint32_t stride = 0;            // bytes of one row of `indices`, padded to 4
    std::vector<std::uint32_t> colours;  // 256 entries, 0x00RRGGBB
    std::vector<std::uint8_t> indices;   // one byte a pixel, rows top-down
};

enum class IndexedBmp {
    NotIndexed,  // another depth or compression: the imaging component's
    Refused,     // damaged beyond showing: no colour table, a size beyond the limits
    Decoded,
};

// Decodes the BMP file `read` gives, reading no more of it than its pixels can use.
IndexedBmp DecodeIndexedBmp(const ReadAt& read, IndexedPicture& out);

}  // namespace vx
