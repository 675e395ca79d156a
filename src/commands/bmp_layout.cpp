#include "bmp_layout.h"

#include <algorithm>
#include <cstring>

// The shuffle that drops every fourth byte needs SSSE3; chosen at run time.
#if (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__i386__))
#define VX_PACK_SSSE3 1
#include <tmmintrin.h>
#else
#define VX_PACK_SSSE3 0
#endif

namespace vx {
namespace {

void PutLe16(std::vector<unsigned char>& out, std::uint32_t v) {
    out.push_back(static_cast<unsigned char>(v & 0xFF));
    out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
}
void PutLe32(std::vector<unsigned char>& out, std::uint32_t v) {
    PutLe16(out, v & 0xFFFF);
    PutLe16(out, v >> 16);
}

}  // namespace

std::uint32_t BmpStride(std::uint32_t width, unsigned bitsPerPixel) {
    const std::uint64_t bytes = ((std::uint64_t{width} * bitsPerPixel + 31) / 32) * 4;
    return bytes > 0xFFFFFFFFu ? 0 : static_cast<std::uint32_t>(bytes);
}

bool MakeBmpLayout(std::uint32_t width, std::uint32_t height, unsigned bitsPerPixel, BmpLayout& layout) {
    if (width == 0 || height == 0 || width > 0x7FFFFFFFu || height > 0x7FFFFFFFu) return false;
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 16 && bitsPerPixel != 24 &&
        bitsPerPixel != 32) {
        return false;
    }
    BmpLayout l;
    l.width = width;
    l.height = height;
    l.bitsPerPixel = bitsPerPixel;
    l.colours = bitsPerPixel <= 8 ? (1u << bitsPerPixel) : 0;
    l.stride = BmpStride(width, bitsPerPixel);
    if (l.stride == 0) return false;
    const std::uint64_t image = std::uint64_t{l.stride} * height;
    const std::uint64_t offset = kBmpFileHeaderSize + kBmpInfoHeaderSize + std::uint64_t{l.colours} * 4;
    const std::uint64_t total = offset + image;
    if (total > 0xFFFFFFFFu) return false;
    l.imageBytes = static_cast<std::uint32_t>(image);
    l.pixelOffset = static_cast<std::uint32_t>(offset);
    l.fileSize = static_cast<std::uint32_t>(total);
    layout = l;
    return true;
}

std::vector<unsigned char> BmpHeaders(const BmpLayout& layout) {
    std::vector<unsigned char> out;
    out.reserve(kBmpFileHeaderSize + kBmpInfoHeaderSize);
    // BITMAPFILEHEADER
    out.push_back('B');
    out.push_back('M');
    PutLe32(out, layout.fileSize);
    PutLe32(out, 0);  // two reserved words
    PutLe32(out, layout.pixelOffset);
    // BITMAPINFOHEADER: positive height = rows stored bottom-up
    PutLe32(out, kBmpInfoHeaderSize);
    PutLe32(out, layout.width);
    PutLe32(out, layout.height);
    PutLe16(out, 1);  // planes
    PutLe16(out, layout.bitsPerPixel);
    PutLe32(out, 0);  // BI_RGB
    PutLe32(out, layout.imageBytes);
    PutLe32(out, 3780);  // 96 dots per inch, in dots per metre
    PutLe32(out, 3780);
    PutLe32(out, layout.colours);
    PutLe32(out, 0);  // all colours important
    return out;
}

std::uint32_t RowsPerBand(std::uint32_t stride, std::uint32_t height, std::size_t bandBytes) {
    if (stride == 0) return height;
    const std::size_t rows = bandBytes / stride;
    return static_cast<std::uint32_t>(std::clamp<std::size_t>(rows, 1, std::max<std::uint32_t>(height, 1)));
}

namespace {

std::uint32_t Load32(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

void Store32(std::uint8_t* p, std::uint32_t v) { std::memcpy(p, &v, 4); }

// Four pixels at a time: three 32-bit stores for four 32-bit loads, the bytes kept in
// little-endian order (blue, green, red), which is the order of both layouts.
void PackRowScalar(const std::uint8_t* from, std::uint8_t* to, std::uint32_t width) {
    std::uint32_t x = 0;
    for (; x + 4 <= width; x += 4, from += 16, to += 12) {
        const std::uint32_t p0 = Load32(from), p1 = Load32(from + 4), p2 = Load32(from + 8), p3 = Load32(from + 12);
        Store32(to, (p0 & 0xFFFFFFu) | (p1 << 24));
        Store32(to + 4, ((p1 >> 8) & 0xFFFFu) | (p2 << 16));
        Store32(to + 8, ((p2 >> 16) & 0xFFu) | (p3 << 8));
    }
    for (; x < width; ++x, from += 4, to += 3) {
        to[0] = from[0];
        to[1] = from[1];
        to[2] = from[2];
    }
}

#if VX_PACK_SSSE3
// Sixteen pixels at a time: each group of four loses its fourth bytes in one shuffle,
// and the four twelve-byte results are joined into three sixteen-byte stores.
__attribute__((target("ssse3"))) void PackRowSsse3(const std::uint8_t* from, std::uint8_t* to, std::uint32_t width) {
    const __m128i drop = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    std::uint32_t x = 0;
    for (; x + 16 <= width; x += 16, from += 64, to += 48) {
        const __m128i a = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from)), drop);
        const __m128i b = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 16)), drop);
        const __m128i c = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 32)), drop);
        const __m128i d = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 48)), drop);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm_or_si128(a, _mm_slli_si128(b, 12)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 16), _mm_or_si128(_mm_srli_si128(b, 4), _mm_slli_si128(c, 8)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 32), _mm_or_si128(_mm_srli_si128(c, 8), _mm_slli_si128(d, 4)));
    }
    PackRowScalar(from, to, width - x);
}

bool HasSsse3() {
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}
#endif

}  // namespace

void FlattenOntoWhite(std::uint8_t* bgra, std::size_t pixels) {
    for (std::size_t i = 0; i < pixels; ++i, bgra += 4) {
        const unsigned alpha = bgra[3];
        if (alpha == 255) continue;
        for (int c = 0; c < 3; ++c) bgra[c] = static_cast<std::uint8_t>((bgra[c] * alpha + 255 * (255 - alpha) + 127) / 255);
        bgra[3] = 255;
    }
}

void PackRows32To24(const std::uint8_t* from, std::uint8_t* to, std::uint32_t width, std::uint32_t rows) {
    const std::size_t fromStride = static_cast<std::size_t>(width) * 4;
    const std::size_t toStride = BmpStride(width, 24);
    const std::size_t packed = static_cast<std::size_t>(width) * 3;
#if VX_PACK_SSSE3
    void (*packRow)(const std::uint8_t*, std::uint8_t*, std::uint32_t) = HasSsse3() ? PackRowSsse3 : PackRowScalar;
#else
    void (*packRow)(const std::uint8_t*, std::uint8_t*, std::uint32_t) = PackRowScalar;
#endif
    for (std::uint32_t y = 0; y < rows; ++y, from += fromStride, to += toStride) {
        packRow(from, to, width);
        if (toStride > packed) std::memset(to + packed, 0, toStride - packed);
    }
}
}  // namespace vx
