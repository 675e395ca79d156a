#pragma once
// The BMP file layout as arithmetic, and packing 32-bit rows into 24-bit ones. Portable.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vx {

constexpr std::uint32_t kBmpFileHeaderSize = 14;
constexpr std::uint32_t kBmpInfoHeaderSize = 40;

// Bytes of one pixel row, padded to 4 bytes; 0 when it would not fit 32 bits.
std::uint32_t BmpStride(std::uint32_t width, unsigned bitsPerPixel);

struct BmpLayout {
    std::uint32_t width = 0, height = 0;
    unsigned bitsPerPixel = 0;
    std::uint32_t colours = 0;        // colour-table entries (0 above 8 bits)
    std::uint32_t stride = 0;         // bytes per row
    std::uint32_t imageBytes = 0;     // stride * height
    std::uint32_t pixelOffset = 0;    // headers + colour table
    std::uint32_t fileSize = 0;
};

// False when the picture is empty or the file would pass the 4 GB a BMP can describe.
bool MakeBmpLayout(std::uint32_t width, std::uint32_t height, unsigned bitsPerPixel, BmpLayout& layout);

// The file header and the information header (bottom-up rows, no compression),
// little-endian, kBmpFileHeaderSize + kBmpInfoHeaderSize bytes.
std::vector<unsigned char> BmpHeaders(const BmpLayout& layout);

// How much of a picture's rows one pass reads, converts or writes: small enough to
// stay in the cache between reading the rows and writing them, never a whole frame.
constexpr std::size_t kBmpBandBytes = std::size_t{1} << 20;

// Rows per write so that one band stays near `bandBytes` (at least one row).
std::uint32_t RowsPerBand(std::uint32_t stride, std::uint32_t height, std::size_t bandBytes);

// Calls band(first, rows) for the bands of `bandRows` rows (at least 1) from row 0 on,
// until one returns false; true when every band did.
template <typename Band>
bool ForEachBand(std::uint32_t height, std::uint32_t bandRows, Band band) {
    for (std::uint32_t first = 0; first < height; first += bandRows) {
        if (!band(first, std::min(bandRows, height - first))) return false;
    }
    return true;
}

// Packs rows of 32-bit pixels (blue, green, red, unused; `width` * 4 bytes a row, no
// padding) into 24-bit BMP rows of `BmpStride(width, 24)` bytes, dropping the fourth
// byte and zeroing the row padding. `to` must not overlap `from`.
void PackRows32To24(const std::uint8_t* from, std::uint8_t* to, std::uint32_t width, std::uint32_t rows);

// Blue, green, red, alpha pixels (not premultiplied) laid over white, in place, rounded
// to the nearest: what a picture viewer shows of a transparent picture. Opaque pixels
// stay as they are.
void FlattenOntoWhite(std::uint8_t* bgra, std::size_t pixels);

}  // namespace vx
