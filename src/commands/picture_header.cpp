#include "picture_header.h"

#include <algorithm>

namespace vx {
namespace {

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
}  // namespace vx
