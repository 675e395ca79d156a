#include "picture_format.h"

#include <algorithm>
#include <cstring>
#include <cwctype>

// The shuffle that drops every fourth byte needs SSSE3; chosen at run time.
#if (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__i386__))
#define VX_PACK_SSSE3 1
#include <tmmintrin.h>
#else
#define VX_PACK_SSSE3 0
#endif

namespace vx {
namespace {

std::wstring LowerExtension(const std::wstring& path) {
    const size_t slash = path.rfind(L'\\');
    const size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) return std::wstring();
    std::wstring ext = path.substr(dot);
    for (wchar_t& c : ext) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return ext;
}

void PutLe16(std::vector<unsigned char>& out, std::uint32_t v) {
    out.push_back(static_cast<unsigned char>(v & 0xFF));
    out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
}
void PutLe32(std::vector<unsigned char>& out, std::uint32_t v) {
    PutLe16(out, v & 0xFFFF);
    PutLe16(out, v >> 16);
}

std::uint32_t Le16(const unsigned char* p) { return p[0] | (std::uint32_t{p[1]} << 8); }
std::uint32_t Le32(const unsigned char* p) { return Le16(p) | (Le16(p + 2) << 16); }
std::uint32_t Be16(const unsigned char* p) { return (std::uint32_t{p[0]} << 8) | p[1]; }
std::uint32_t Be32(const unsigned char* p) { return (Be16(p) << 16) | Be16(p + 2); }

bool IsJpegFrameMarker(unsigned char m) {
    // SOF0..SOF15 except DHT (C4), JPG (C8) and DAC (CC).
    return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

void SniffJpeg(const unsigned char* data, std::size_t size, PictureHeader& header) {
    std::size_t pos = 2;
    while (pos + 1 < size) {
        if (data[pos] != 0xFF) return;  // lost sync: leave the size to the decoder
        while (pos < size && data[pos] == 0xFF) ++pos;  // fill bytes
        if (pos >= size) return;
        const unsigned char marker = data[pos++];
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) continue;  // no length
        if (marker == 0xD9 || marker == 0xDA) return;  // end or scan before any frame header
        if (pos + 2 > size) return;
        const std::uint32_t length = Be16(data + pos);
        if (length < 2) return;
        if (IsJpegFrameMarker(marker)) {
            if (pos + 7 > size || length < 7) return;
            header.height = Be16(data + pos + 3);
            header.width = Be16(data + pos + 5);
            header.sizeKnown = true;
            return;
        }
        pos += length;
    }
}

}  // namespace

const wchar_t kPictureFilter[] = L"Bmp (*.bmp)|*.bmp|JPGE(*.jpg)|*.jpg|PNG (*.png)|*.png";

PictureFileFormat FormatForPath(const std::wstring& path) {
    const std::wstring ext = LowerExtension(path);
    if (ext == L".jpg" || ext == L".jpeg") return PictureFileFormat::Jpeg;
    if (ext == L".png") return PictureFileFormat::Png;
    return PictureFileFormat::Bmp;
}

std::wstring DialogFilter(const std::wstring& barSeparated) {
    std::wstring out = barSeparated;
    std::replace(out.begin(), out.end(), L'|', L'\0');
    out.push_back(L'\0');
    out.push_back(L'\0');
    return out;
}

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

bool PictureSizeAcceptable(std::uint64_t width, std::uint64_t height) {
    if (width == 0 || height == 0 || width > kMaxPictureSide || height > kMaxPictureSide) return false;
    return width * height <= kMaxPicturePixels;
}

PictureHeader SniffPictureHeader(const unsigned char* data, std::size_t size) {
    PictureHeader h;
    if (!data) return h;
    static const unsigned char png[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (size >= 8 && std::equal(png, png + 8, data)) {
        h.kind = PictureKind::Png;
        if (size >= 24 && std::equal(data + 12, data + 16, "IHDR")) {
            h.width = Be32(data + 16);
            h.height = Be32(data + 20);
            h.sizeKnown = true;
        }
    } else if (size >= 2 && data[0] == 'B' && data[1] == 'M') {
        h.kind = PictureKind::Bmp;
        if (size >= 18) {
            const std::uint32_t infoSize = Le32(data + 14);
            if (infoSize == 12 && size >= 22) {
                h.width = Le16(data + 18);
                h.height = Le16(data + 20);
                h.sizeKnown = true;
            } else if (infoSize >= 40 && size >= 26) {
                const auto w = static_cast<std::int32_t>(Le32(data + 18));
                const auto ht = static_cast<std::int32_t>(Le32(data + 22));
                // Negative height means top-down rows; a negative width is no picture.
                h.width = w < 0 ? 0 : static_cast<std::uint64_t>(w);
                h.height = ht < 0 ? static_cast<std::uint64_t>(-static_cast<std::int64_t>(ht))
                                  : static_cast<std::uint64_t>(ht);
                h.sizeKnown = true;
            }
        }
    } else if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) {
        h.kind = PictureKind::Jpeg;
        SniffJpeg(data, size, h);
    } else if (size >= 6 && (std::equal(data, data + 6, "GIF87a") || std::equal(data, data + 6, "GIF89a"))) {
        h.kind = PictureKind::Gif;
        if (size >= 10) {
            h.width = Le16(data + 6);
            h.height = Le16(data + 8);
            h.sizeKnown = true;
        }
    } else if (size >= 4 && ((data[0] == 'I' && data[1] == 'I' && data[2] == 42 && data[3] == 0) ||
                             (data[0] == 'M' && data[1] == 'M' && data[2] == 0 && data[3] == 42))) {
        h.kind = PictureKind::Tiff;
    }
    return h;
}

PlacedRect FitCentered(long imageWidth, long imageHeight, long areaWidth, long areaHeight, long dpiX, long dpiY) {
    PlacedRect r;
    if (imageWidth <= 0 || imageHeight <= 0 || areaWidth <= 0 || areaHeight <= 0 || dpiX <= 0 || dpiY <= 0) return r;
    // Work in inches so that a printer with unequal resolutions keeps the shape.
    const double scale = std::min(static_cast<double>(areaWidth) / dpiX / imageWidth,
                                  static_cast<double>(areaHeight) / dpiY / imageHeight);
    r.width = std::min(areaWidth, std::max(1L, static_cast<long>(imageWidth * scale * dpiX + 0.5)));
    r.height = std::min(areaHeight, std::max(1L, static_cast<long>(imageHeight * scale * dpiY + 0.5)));
    r.x = (areaWidth - r.width) / 2;
    r.y = (areaHeight - r.height) / 2;
    return r;
}

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

std::wstring JoinFolder(const std::wstring& folder, const std::wstring& tail) {
    if (!folder.empty() && folder.back() == L'\\' && !tail.empty() && tail.front() == L'\\') {
        return folder + tail.substr(1);
    }
    return folder + tail;
}

std::wstring FolderOfPath(const std::wstring& path) {
    const size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos) return std::wstring();
    std::wstring folder = path.substr(0, slash);
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
    return folder;
}

}  // namespace vx
