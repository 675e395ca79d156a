#include "picture_header.h"

#include <algorithm>
#include <vector>

namespace vx {
namespace {

std::uint32_t Le16(const unsigned char* p) { return p[0] | (std::uint32_t{p[1]} << 8); }
std::uint32_t Le32(const unsigned char* p) { return Le16(p) | (Le16(p + 2) << 16); }
std::uint32_t Be16(const unsigned char* p) { return (std::uint32_t{p[0]} << 8) | p[1]; }
std::uint32_t Be32(const unsigned char* p) { return (Be16(p) << 16) | Be16(p + 2); }

// The file through a window of its bytes, so walking a few bytes at a time through
// thousands of segments or sub-blocks costs few reads.
class Cursor {
public:
    explicit Cursor(const ReadAt& read) : read_(read) {}
    // The `n` bytes at `offset`, or null past the end of the file.
    const unsigned char* At(std::uint64_t offset, std::size_t n) {
        if (offset < start_ || offset + n > start_ + window_.size()) {
            window_.resize(std::max<std::size_t>(n, kWindow));
            start_ = offset;
            window_.resize(read_(offset, window_.data(), window_.size()));
        }
        return offset + n <= start_ + window_.size() ? window_.data() + (offset - start_) : nullptr;
    }

private:
    static constexpr std::size_t kWindow = 64 * 1024;
    const ReadAt& read_;
    std::vector<unsigned char> window_;
    std::uint64_t start_ = 0;
};

bool IsJpegFrameMarker(unsigned char m) {
    // SOF0..SOF15 except DHT (C4), JPG (C8) and DAC (CC).
    return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

// Segment by segment, by their lengths, up to the first frame header wherever it is.
void WalkJpeg(Cursor& file, PictureHeader& header) {
    std::uint64_t pos = 2;
    for (;;) {
        const unsigned char* p = file.At(pos, 1);
        if (!p || *p != 0xFF) return;  // the end, or lost sync: the size stays unknown
        while ((p = file.At(pos, 1)) && *p == 0xFF) ++pos;  // fill bytes
        if (!p) return;
        const unsigned char marker = *p;
        ++pos;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) continue;  // no length
        if (marker == 0xD9 || marker == 0xDA) return;  // end or scan before any frame header
        const unsigned char* segment = file.At(pos, 2);
        if (!segment || Be16(segment) < 2) return;
        if (IsJpegFrameMarker(marker)) {
            const unsigned char* frame = Be16(segment) >= 7 ? file.At(pos, 7) : nullptr;
            if (!frame) return;
            header.height = Be16(frame + 3);
            header.width = Be16(frame + 5);
            header.sizeKnown = true;
            return;
        }
        pos += Be16(segment);
    }
}

// Past a chain of sub-blocks (a length byte, that many bytes, until a zero length).
bool SkipSubBlocks(Cursor& file, std::uint64_t& pos) {
    for (const unsigned char* n; (n = file.At(pos, 1)); pos += 1 + *n) {
        if (*n == 0) return ++pos, true;
    }
    return false;
}

// Every frame descriptor: each frame within the limits, and all of them together,
// since the decoder unpacks every frame when it opens the file.
void WalkGif(Cursor& file, PictureHeader& header) {
    const unsigned char* screen = file.At(6, 4);
    if (!screen) return;
    header.width = Le16(screen);
    header.height = Le16(screen + 2);
    header.sizeKnown = true;
    header.decodedPixels = header.width * header.height;
    const unsigned char* flags = file.At(10, 1);
    if (!flags) return;
    std::uint64_t pos = 13 + ((*flags & 0x80) ? 3u << ((*flags & 7) + 1) : 0);
    for (const unsigned char* block; (block = file.At(pos, 1)) && *block != 0x3B;) {
        if (*block == 0x21) {  // an extension: its label, then sub-blocks
            pos += 2;
        } else if (const unsigned char* frame = *block == 0x2C ? file.At(pos + 1, 9) : nullptr) {
            const std::uint64_t width = Le16(frame + 4), height = Le16(frame + 6);
            if (!PictureSizeAcceptable(width, height)) {
                header.width = width;
                header.height = height;
                return;
            }
            header.decodedPixels += width * height;
            pos += 10 + ((frame[8] & 0x80) ? 3u << ((frame[8] & 7) + 1) : 0) + 1;  // local colours, code size
        } else {
            return;  // damaged: the decoder stops here too
        }
        if (!SkipSubBlocks(file, pos)) return;
    }
}

// The first directory's width and length, the frame the program shows.
void ReadTiff(Cursor& file, bool little, PictureHeader& header) {
    const auto u16 = [little](const unsigned char* p) { return little ? Le16(p) : Be16(p); };
    const auto u32 = [little](const unsigned char* p) { return little ? Le32(p) : Be32(p); };
    const unsigned char* start = file.At(4, 4);
    const std::uint64_t directory = start ? u32(start) : 0;  // copied: the next read may move the window
    const unsigned char* count = directory ? file.At(directory, 2) : nullptr;
    if (!count) return;
    const std::uint64_t first = directory + 2;
    std::uint64_t width = 0, height = 0;
    for (std::uint32_t i = 0, n = u16(count); i < n; ++i) {
        const unsigned char* entry = file.At(first + 12 * std::uint64_t{i}, 12);
        if (!entry) return;
        const std::uint32_t tag = u16(entry), type = u16(entry + 2);
        const std::uint64_t value = type == 3 ? u16(entry + 8) : type == 4 ? u32(entry + 8) : 0;
        if (tag == 256) width = value;
        if (tag == 257) height = value;
    }
    header.width = width;
    header.height = height;
    header.sizeKnown = width && height;
}

}  // namespace

bool PictureSizeAcceptable(std::uint64_t width, std::uint64_t height) {
    if (width == 0 || height == 0 || width > kMaxPictureSide || height > kMaxPictureSide) return false;
    return width * height <= kMaxPicturePixels;
}

bool PictureHeaderAcceptable(const PictureHeader& header) {
    return header.sizeKnown && PictureSizeAcceptable(header.width, header.height) &&
           header.decodedPixels <= kMaxPicturePixels;
}

ReadAt ReadFromMemory(const unsigned char* data, std::size_t size) {
    return [data, size](std::uint64_t offset, unsigned char* to, std::size_t n) -> std::size_t {
        if (!data || offset >= size) return 0;
        n = std::min<std::size_t>(n, size - static_cast<std::size_t>(offset));
        std::copy(data + offset, data + offset + n, to);
        return n;
    };
}

PictureHeader SniffPictureHeader(const unsigned char* data, std::size_t size) {
    return ReadPictureHeader(ReadFromMemory(data, size));
}

PictureHeader ReadPictureHeader(const ReadAt& read) {
    PictureHeader h;
    Cursor file(read);
    const auto starts = [&file](const char* signature, std::size_t n) {
        const unsigned char* p = file.At(0, n);
        return p && std::equal(p, p + n, reinterpret_cast<const unsigned char*>(signature));
    };
    const unsigned char* p = nullptr;
    if (starts("\x89PNG\r\n\x1A\n", 8)) {
        h.kind = PictureKind::Png;
        if ((p = file.At(12, 12)) && std::equal(p, p + 4, "IHDR")) {
            h.width = Be32(p + 4);
            h.height = Be32(p + 8);
            h.sizeKnown = true;
        }
    } else if (starts("BM", 2)) {
        h.kind = PictureKind::Bmp;
        const unsigned char* info = file.At(14, 4);
        const std::uint32_t infoSize = info ? Le32(info) : 0;
        if (infoSize == 12 && (p = file.At(18, 4))) {
            h.width = Le16(p);
            h.height = Le16(p + 2);
            h.sizeKnown = true;
        } else if (infoSize >= 40 && (p = file.At(18, 8))) {
            const auto w = static_cast<std::int32_t>(Le32(p));
            const auto ht = static_cast<std::int32_t>(Le32(p + 4));
            // Negative height means top-down rows; a negative width is no picture.
            h.width = w < 0 ? 0 : static_cast<std::uint64_t>(w);
            h.height = ht < 0 ? static_cast<std::uint64_t>(-static_cast<std::int64_t>(ht))
                              : static_cast<std::uint64_t>(ht);
            h.sizeKnown = true;
        }
        // Uncompressed true colour cut short: the decoder would show its own memory for
        // the missing rows (indexed files are decoded in the program, bmp_indexed).
        const unsigned char* format = infoSize >= 40 ? file.At(10, 24) : nullptr;  // offset .. compression
        const std::uint32_t bits = format ? Le16(format + 18) : 0, compression = format ? Le32(format + 20) : 1;
        if (bits > 8 && (compression == 0 || compression == 3) && PictureSizeAcceptable(h.width, h.height)) {
            const std::uint64_t stride = (h.width * bits + 31) / 32 * 4;
            h.sizeKnown = file.At(Le32(format) + stride * h.height - 1, 1) != nullptr;
        }
    } else if (starts("\xFF\xD8\xFF", 3)) {
        h.kind = PictureKind::Jpeg;
        WalkJpeg(file, h);
    } else if (starts("GIF87a", 6) || starts("GIF89a", 6)) {
        h.kind = PictureKind::Gif;
        WalkGif(file, h);
        return h;
    } else if (starts("II*\0", 4) || starts("MM\0*", 4)) {
        h.kind = PictureKind::Tiff;
        ReadTiff(file, starts("II", 2), h);
    }
    h.decodedPixels = h.width * h.height;
    return h;
}

}  // namespace vx
