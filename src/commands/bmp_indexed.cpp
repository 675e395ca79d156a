#include "bmp_indexed.h"

#include <algorithm>

namespace vx {
namespace {

std::uint32_t Le16(const unsigned char* p) { return p[0] | (std::uint32_t{p[1]} << 8); }
std::uint32_t Le32(const unsigned char* p) { return Le16(p) | (Le16(p + 2) << 16); }

enum Compression : std::uint32_t { kPlain = 0, kRle8 = 1, kRle4 = 2 };

// Rows counted from the bottom of the picture, as the file stores them.
struct Canvas {
    IndexedPicture& picture;
    bool bottomUp;
    void Put(std::uint64_t x, std::uint64_t y, std::uint8_t index) {
        if (x >= picture.width || y >= picture.height) return;  // past the picture: clipped
        const std::uint64_t row = bottomUp ? picture.height - 1 - y : y;
        picture.indices[row * picture.stride + x] = index;
    }
};

void DecodePlain(const std::vector<unsigned char>& data, unsigned bits, Canvas canvas) {
    const std::uint32_t width = canvas.picture.width;
    const std::uint64_t fileStride = (std::uint64_t{width} * bits + 31) / 32 * 4;
    for (std::uint64_t y = 0; y < canvas.picture.height && (y + 1) * fileStride <= data.size(); ++y) {
        const unsigned char* row = data.data() + y * fileStride;
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint64_t bit = std::uint64_t{x} * bits;
            canvas.Put(x, y, static_cast<std::uint8_t>((row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1)));
        }
    }
}

// Runs of one index (RLE4: two alternating), end-of-line, end, a jump, and literal runs.
void DecodeRle(const std::vector<unsigned char>& data, unsigned bits, Canvas canvas) {
    const std::uint64_t width = canvas.picture.width, height = canvas.picture.height;
    std::uint64_t x = 0, y = 0;
    const auto nibble = [bits](unsigned char byte, std::uint64_t i) {
        return static_cast<std::uint8_t>(bits == 8 ? byte : (i % 2 ? byte & 15 : byte >> 4));
    };
    for (std::size_t p = 0; p + 1 < data.size() && y < height;) {
        const unsigned count = data[p], value = data[p + 1];
        p += 2;
        if (count > 0) {
            for (std::uint64_t i = 0; i < count && x + i < width; ++i) canvas.Put(x + i, y, nibble(value, i));
            x = std::min(x + count, width);
        } else if (value == 0) {
            x = 0, ++y;
        } else if (value == 1) {
            return;
        } else if (value == 2) {
            if (p + 1 >= data.size()) return;
            x = std::min<std::uint64_t>(x + data[p], width), y += data[p + 1];
            p += 2;
        } else {
            const std::size_t bytes = bits == 8 ? value : (value + 1) / 2;
            for (std::uint64_t i = 0; i < value && p + (bits == 8 ? i : i / 2) < data.size(); ++i)
                canvas.Put(x + i, y, nibble(data[p + (bits == 8 ? i : i / 2)], i));
            x = std::min<std::uint64_t>(x + value, width);
            p += bytes + bytes % 2;  // literal runs keep to whole words
        }
    }
}

}  // namespace

IndexedBmp DecodeIndexedBmp(const ReadAt& read, IndexedPicture& out) {
    unsigned char head[54] = {};
    const std::size_t got = read(0, head, sizeof head);
    if (got < 26 || head[0] != 'B' || head[1] != 'M') return IndexedBmp::NotIndexed;
    const std::uint32_t infoSize = Le32(head + 14), offset = Le32(head + 10);
    std::uint64_t width = 0, height = 0;
    unsigned bits = 0, entrySize = 4;
    std::uint32_t compression = kPlain, used = 0;
    bool bottomUp = true;
    if (infoSize == 12) {
        width = Le16(head + 18), height = Le16(head + 20), bits = Le16(head + 24), entrySize = 3;
    } else if (infoSize >= 40 && got >= 50) {
        const auto w = static_cast<std::int32_t>(Le32(head + 18)), h = static_cast<std::int32_t>(Le32(head + 22));
        bottomUp = h > 0;
        width = w < 0 ? 0 : static_cast<std::uint64_t>(w);
        height = h < 0 ? static_cast<std::uint64_t>(-static_cast<std::int64_t>(h)) : static_cast<std::uint64_t>(h);
        bits = Le16(head + 28), compression = Le32(head + 30), used = Le32(head + 46);
    } else {
        return IndexedBmp::NotIndexed;
    }
    if ((bits != 1 && bits != 4 && bits != 8) || compression > kRle4) return IndexedBmp::NotIndexed;
    if ((compression == kRle8 && bits != 8) || (compression == kRle4 && bits != 4) || (compression && !bottomUp) ||
        !PictureSizeAcceptable(width, height)) {
        return IndexedBmp::Refused;
    }
    // The colour table: as many entries as it claims and the bytes before the pixels hold.
    const std::uint64_t tableStart = 14 + std::uint64_t{infoSize};
    const std::uint32_t claimed = used && used < (1u << bits) ? used : 1u << bits;
    const std::uint64_t room = offset > tableStart ? (offset - tableStart) / entrySize : 0;
    std::vector<unsigned char> table(std::min<std::uint64_t>(claimed, room) * entrySize);
    table.resize(read(tableStart, table.data(), table.size()) / entrySize * entrySize);
    if (table.empty()) return IndexedBmp::Refused;  // no colour at all comes from the file
    out.width = static_cast<std::uint32_t>(width);
    out.height = static_cast<std::uint32_t>(height);
    out.stride = (out.width + 3) & ~3u;
    out.colours.assign(256, 0);
    for (std::size_t i = 0; i < 256; ++i) {
        const unsigned char* entry = table.data() + (i * entrySize < table.size() ? i * entrySize : 0);
        out.colours[i] = (std::uint32_t{entry[2]} << 16) | (std::uint32_t{entry[1]} << 8) | entry[0];
    }
    out.indices.assign(std::size_t{out.stride} * out.height, 0);
    // No sane encoding needs more than two bytes a pixel and an end of line a row.
    const std::uint64_t needed = compression ? 2 * width * height + 2 * height + 2 : (width * bits + 31) / 32 * 4 * height;
    std::vector<unsigned char> data;  // grown as bytes come, so a short file claims little memory
    for (std::size_t at = 0, n = 1; at < needed && n > 0; at += n) {
        data.resize(static_cast<std::size_t>(std::min<std::uint64_t>(needed, at + (1u << 20))));
        n = read(offset + std::uint64_t{at}, data.data() + at, data.size() - at);
        data.resize(at + n);
    }
    if (compression) {
        DecodeRle(data, bits, Canvas{out, bottomUp});
    } else {
        DecodePlain(data, bits, Canvas{out, bottomUp});
    }
    return IndexedBmp::Decoded;
}

}  // namespace vx
