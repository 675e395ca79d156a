// Picture files as arithmetic: the format a name asks for, BMP layouts and 32-to-24
// packing, the size a file's first bytes claim, and the printed page.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "commands/bmp_indexed.h"
#include "commands/bmp_layout.h"
#include "commands/file_format.h"
#include "commands/picture_header.h"
#include "commands/print_fit.h"

namespace vx {
namespace {

using Format = PictureFileFormat;

TEST(FileFormat, TheExtensionOfTheLastComponentDecides) {
    const struct { const wchar_t* path; Format format; } cases[] = {
        {L"C:\\a\\shot.JPG", Format::Jpeg}, {L"C:\\a\\shot.jpeg", Format::Jpeg}, {L"C:\\a\\shot.Png", Format::Png},
        {L"C:\\a\\shot.bmp", Format::Bmp},  {L"C:\\a\\shot.gif", Format::Gif},  {L"C:\\a\\shot.TIFF", Format::Tiff},   {L"C:\\a\\shot", Format::Bmp},
        {L"C:\\x.png\\shot", Format::Bmp},  // a folder's dot is no extension
        {L"C:\\a\\shot.jpg.bmp", Format::Bmp},
        {L"C:\\a\\x.png.", Format::Png}, {L"C:\\a\\x.png . .", Format::Png},  // as the system stores the name
    };
    for (const auto& c : cases) EXPECT_EQ(FormatForPath(c.path), c.format) << c.path;
    // Devices have no file behind them, with any extension, in any folder.
    for (const wchar_t* device : {L"CON", L"C:\\a\\nul.png", L"com1", L"LPT9.bmp", L"aux ", L"conout$"}) EXPECT_TRUE(IsDeviceName(device));
    for (const wchar_t* file : {L"C:\\con\\a.png", L"console.png", L"com10", L"nul2.bmp", L"lpt0"}) EXPECT_FALSE(IsDeviceName(file));
}

// Layouts within and beyond the 32-bit size fields; then every width from 1 to 40 packed
// (the sixteen-pixel path, its tail and the row padding) into a dirty destination, so
// that unwritten or stray bytes show.
TEST(BmpLayout, RowsArePaddedTheColourTableFollowsTheHeadersAndPackingKeepsColours) {
    const struct { std::uint32_t width, height; unsigned bits; bool ok; std::uint32_t stride, offset, size; } cases[] = {
        {3, 2, 24, true, 12, 54, 54 + 24},  // 9 bytes padded to 12
        {5, 3, 8, true, 8, 54 + 1024, 54 + 1024 + 24},
        {3840, 2160, 24, true, 3840 * 3, 54, 54 + 3840 * 3 * 2160},
        {70000, 70000, 24, false}, {0, 10, 24, false}, {10, 10, 7, false},
    };
    for (const auto& c : cases) {
        BmpLayout l;
        ASSERT_EQ(MakeBmpLayout(c.width, c.height, c.bits, l), c.ok) << c.width << "x" << c.height;
        EXPECT_TRUE((!c.ok || std::vector{l.stride, l.pixelOffset, l.fileSize} == std::vector{c.stride, c.offset, c.size}))
            << c.width << "x" << c.height << ": " << l.stride << ", " << l.pixelOffset << ", " << l.fileSize;
    }
    const std::uint32_t rows = 3;
    for (std::uint32_t width = 1; width <= 40; ++width) {
        std::vector<std::uint8_t> wide(static_cast<size_t>(width) * 4 * rows);
        for (size_t i = 0; i < wide.size(); ++i) wide[i] = static_cast<std::uint8_t>(i % 4 == 3 ? 0xEE : i * 7 + 1);
        const std::uint32_t stride = BmpStride(width, 24);
        std::vector<std::uint8_t> packed(static_cast<size_t>(stride) * rows + 16, 0xCD), expected = packed;
        for (std::uint32_t i = 0, x = 0; i < stride * rows; x = ++i % stride)  // x: the byte within its row
            expected[i] = x < width * 3 ? wide[(i / stride * width + x / 3) * 4 + x % 3] : 0;
        PackRows32To24(wide.data(), packed.data(), width, rows);
        ASSERT_EQ(packed, expected) << "width " << width;  // nothing written past the last row either
    }
}

std::vector<unsigned char> Bytes(std::initializer_list<int> values) { return {values.begin(), values.end()}; }

// Size limits; what a header claims, also from every shorter prefix of it; and every
// prefix of a JPEG with a long run of segments (ASan checks the reads).
TEST(PictureHeader, SizesAreReadFromTheHeaderWithinTheBytesAndAbsurdOnesRefused) {
    const struct { std::uint64_t width, height; bool acceptable; } sizes[] = {
        {1, 1, true}, {7680, 4320, true}, {40000, 300, true},  // a stitched strip beyond 16 bits
        {100000, 100000, false}, {(1 << 20) + 1, 1, false}, {20000, 20000, false},  // each side fine, too many pixels
        {0, 5, false}, {0xFFFFFFFFull, 0xFFFFFFFFull, false},
    };
    for (const auto& s : sizes) EXPECT_EQ(PictureSizeAcceptable(s.width, s.height), s.acceptable) << s.width << "x" << s.height;

    // A size is known where one is given (a negative BMP width claims 0).
    using K = PictureKind;
    const struct { const char* name; std::vector<unsigned char> bytes; K kind; std::uint64_t w, h; } cases[] = {
        {"png", Bytes({0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 1, 0x86, 0xA0, 0, 0, 2, 0}),
         K::Png, 100000, 512},
        {"png truncated", Bytes({0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0}), K::Png, 0, 0},
        {"bmp info, top-down",
         Bytes({'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 0x80, 2, 0, 0, 0x20, 0xFE, 0xFF, 0xFF}),
         K::Bmp, 640, 480},
        {"bmp core", Bytes({'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 26, 0, 0, 0, 12, 0, 0, 0, 16, 0, 8, 0}), K::Bmp, 16, 8},
        {"bmp negative width",
         Bytes({'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0}), K::Bmp, 0, 1},
        {"jpeg after app0", Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 1, 2, 0xFF, 0xFF, 0xC0, 0, 11, 8, 0x01, 0xE0, 0x02, 0x80}),
         K::Jpeg, 640, 480},
        {"jpeg progressive", Bytes({0xFF, 0xD8, 0xFF, 0xC2, 0, 11, 8, 0xFF, 0xFF, 0xFF, 0xFF}), K::Jpeg, 65535, 65535},
        {"jpeg segment beyond the end", Bytes({0xFF, 0xD8, 0xFF, 0xE1, 0xFF, 0xFF, 0, 0}), K::Jpeg, 0, 0},
        {"jpeg zero length", Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 0, 0xFF, 0xC0}), K::Jpeg, 0, 0},
        {"gif", Bytes({'G', 'I', 'F', '8', '9', 'a', 0x10, 0x27, 0x10, 0x27}), K::Gif, 10000, 10000},
        {"tiff", Bytes({'I', 'I', 42, 0, 8, 0, 0, 0}), K::Tiff, 0, 0},
        {"text", Bytes({'h', 'e', 'l', 'l', 'o'}), K::Unknown, 0, 0},
        {"empty", Bytes({}), K::Unknown, 0, 0},
    };
    for (const auto& c : cases) {
        const PictureHeader h = SniffPictureHeader(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(h.kind, c.kind) << c.name;
        EXPECT_EQ(h.sizeKnown, c.w || c.h) << c.name;
        EXPECT_EQ(std::pair(h.width, h.height), std::pair(c.w, c.h)) << c.name;
        for (size_t n = 0; n < c.bytes.size(); ++n)  // every shorter prefix, read within its bytes (ASan)
            SniffPictureHeader(std::vector<unsigned char>(c.bytes.begin(), c.bytes.begin() + static_cast<long>(n)).data(), n);
    }

    std::vector<unsigned char> jpeg = Bytes({0xFF, 0xD8});
    for (int i = 0; i < 20; ++i) jpeg.insert(jpeg.end(), {0xFF, 0xE2, 0, 6, 1, 2, 3, 4});
    jpeg.insert(jpeg.end(), {0xFF, 0xC0, 0, 11, 8, 0, 10, 0, 20});
    for (size_t n = 0; n <= jpeg.size(); ++n) {
        const std::vector<unsigned char> prefix(jpeg.begin(), jpeg.begin() + static_cast<long>(n));
        const PictureHeader h = SniffPictureHeader(prefix.empty() ? nullptr : prefix.data(), prefix.size());
        EXPECT_EQ(h.sizeKnown, n == jpeg.size()) << n;
        if (h.sizeKnown) { EXPECT_EQ(std::tuple(h.width, h.height), std::tuple(20u, 10u)) << n; }
    }
}

void Put16(std::vector<unsigned char>& v, unsigned x, bool big = false) {
    v.insert(v.end(), {static_cast<unsigned char>(big ? x >> 8 : x), static_cast<unsigned char>(big ? x : x >> 8)});
}

// Whatever the header cannot bound is refused: a JPEG frame header behind 300 KB of
// comments, over the limit and just within it; GIF frames larger than their screen or
// too many together; TIFF sizes in either byte order, or none.
TEST(PictureHeader, SizesHiddenDeepInAFileAreFoundAndBounded) {
    const auto jpeg = [](unsigned width, unsigned height) {
        std::vector<unsigned char> v = Bytes({0xFF, 0xD8});
        for (int i = 0; i < 5; ++i) v.insert(v.end(), {0xFF, 0xFE, 0xFF, 0xFF}), v.resize(v.size() + 0xFFFD, 'c');
        v.insert(v.end(), {0xFF, 0xC0, 0, 11, 8});
        Put16(v, height, true), Put16(v, width, true);
        return v;
    };
    const auto gif = [](int frames, unsigned side) {
        std::vector<unsigned char> v = Bytes({'G', 'I', 'F', '8', '9', 'a', 100, 0, 100, 0, 0x80, 0, 0, 1, 2, 3, 4, 5, 6});
        for (int i = 0; i < frames; ++i) {
            v.insert(v.end(), {0x21, 0xF9, 4, 0, 0, 0, 0, 0, 0x2C, 0, 0, 0, 0});
            Put16(v, side), Put16(v, side);
            v.insert(v.end(), {0, 2, 2, 0x4C, 0x01, 0});
        }
        return v.push_back(0x3B), v;
    };
    const auto tiff = [](bool big, unsigned type) {
        std::vector<unsigned char> v = big ? Bytes({'M', 'M', 0, 42, 0, 0, 0, 8, 0, 2}) : Bytes({'I', 'I', 42, 0, 0x78, 0x11, 1, 0});
        if (!big) v.resize(70008), v.insert(v.end(), {2, 0});  // a directory far behind the start
        for (unsigned tag : {256u, 257u}) {
            Put16(v, tag, big), Put16(v, type, big), Put16(v, big ? 0 : 1, big), Put16(v, big ? 1 : 0, big);
            type == 3 ? (Put16(v, 3000, big), Put16(v, 0, big)) : (Put16(v, 0, big), Put16(v, 3000, big));
        }
        return v;
    };
    const struct { const char* name; std::vector<unsigned char> bytes; bool acceptable; std::uint64_t w, h; } cases[] = {
        {"jpeg deep, over the limit", jpeg(65500, 65500), false, 65500, 65500},
        {"jpeg deep, at the limit", jpeg(8192, 8192), true, 8192, 8192},
        {"jpeg without a frame header", Bytes({0xFF, 0xD8, 0xFF, 0xDA, 0, 2}), false, 0, 0},
        {"gif, three frames", gif(3, 100), true, 100, 100},
        {"gif frame far larger than its screen", gif(1, 30000), false, 30000, 30000},
        {"gif, twenty frames of 8000", gif(20, 8000), false, 100, 100},
        {"tiff little-endian", tiff(false, 3), true, 3000, 3000},
        {"tiff big-endian, long", tiff(true, 4), true, 3000, 3000},
        {"tiff without a directory", Bytes({'I', 'I', 42, 0, 0xFF, 0, 0, 0}), false, 0, 0},
    };
    for (const auto& c : cases) {
        const PictureHeader h = SniffPictureHeader(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(std::tuple(PictureHeaderAcceptable(h), h.width, h.height), std::tuple(c.acceptable, c.w, c.h)) << c.name;
    }
}

// Indexed BMPs decoded in the program: a pixel comes from the file or is index 0's colour,
// also for RLE data that ends early, jumps past the last row or holds only the end,
// and for indices past a short colour table.
TEST(BmpIndexed, EveryPixelIsTheFilesOrIndexZeros) {
    const auto bmp = [](unsigned bits, unsigned compression, std::vector<unsigned char> pixels, int entries = 3) {
        std::vector<unsigned char> v = Bytes({'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 40, 0, 0, 0, 4, 0, 0, 0, 2, 0, 0, 0, 1, 0});
        v.insert(v.end(), {static_cast<unsigned char>(bits), 0, static_cast<unsigned char>(compression), 0, 0, 0});
        v.resize(54);
        for (int i = 0; i < entries; ++i) v.insert(v.end(), {static_cast<unsigned char>(0x10 * (i + 1)), 0x20, 0x30, 0});
        v[10] = static_cast<unsigned char>(v.size());
        return v.insert(v.end(), pixels.begin(), pixels.end()), v;
    };
    // Indices expected top row first (4 x 2); the file's rows are bottom-up.
    const struct { const char* name; std::vector<unsigned char> bytes; IndexedBmp result; std::vector<int> expected; } cases[] = {
        {"rle8 that ends early", bmp(8, 1, Bytes({3, 2})), IndexedBmp::Decoded, {0, 0, 0, 0, 2, 2, 2, 0}},
        {"rle8 jumping past the last row", bmp(8, 1, Bytes({1, 1, 0, 2, 1, 9, 4, 2, 0, 0, 2, 1})), IndexedBmp::Decoded,
         {0, 0, 0, 0, 1, 0, 0, 0}},
        {"rle8 end marker only", bmp(8, 1, Bytes({0, 1, 3, 2})), IndexedBmp::Decoded, {0, 0, 0, 0, 0, 0, 0, 0}},
        {"rle8 index past the table", bmp(8, 1, Bytes({2, 200, 2, 1, 0, 0, 9, 2})), IndexedBmp::Decoded, {2, 2, 2, 2, 0, 0, 1, 1}},
        {"rle4 literal, odd count, then a run", bmp(4, 2, Bytes({0, 3, 0x12, 0x20, 1, 0x10, 0, 0, 4, 0x21})), IndexedBmp::Decoded,
         {2, 1, 2, 1, 1, 2, 2, 1}},
        {"plain 4 bits, rows cut short", bmp(4, 0, Bytes({0x12, 0x0F})), IndexedBmp::Decoded, {0, 0, 0, 0, 0, 0, 0, 0}},
        {"plain 4 bits", bmp(4, 0, Bytes({0x12, 0x0F, 0, 0, 0x21, 0x11, 0, 0})), IndexedBmp::Decoded, {2, 1, 1, 1, 1, 2, 0, 15}},
        {"no colour table", bmp(8, 1, Bytes({0, 1}), 0), IndexedBmp::Refused, {}},
        {"rle4 at 8 bits", bmp(8, 2, Bytes({0, 1})), IndexedBmp::Refused, {}},
        {"24 bits", bmp(24, 0, Bytes({0, 1})), IndexedBmp::NotIndexed, {}},
    };
    for (const auto& c : cases) {
        IndexedPicture out;
        ASSERT_EQ(DecodeIndexedBmp(ReadFromMemory(c.bytes.data(), c.bytes.size()), out), c.result) << c.name;
        std::vector<std::uint32_t> shown, expected;
        for (size_t i = 0; i < c.expected.size(); ++i) {
            shown.push_back(out.colours[out.indices[i / 4 * out.stride + i % 4]]);
            expected.push_back(0x302010 + 0x10 * static_cast<std::uint32_t>(c.expected[i] < 3 ? c.expected[i] : 0));
        }
        EXPECT_EQ(shown, expected) << c.name;
    }
}

// The largest rectangle with the picture's shape, centred; in inches, so a printer with
// unequal resolutions keeps the shape.
TEST(PrintFit, ThePictureFillsThePageWithItsShapeKept) {
    // Expected: left, top, width, height.
    const struct { long w, h, areaW, areaH, dpiX, dpiY; std::vector<int32_t> expected; } cases[] = {
        {400, 200, 1000, 1000, 600, 600, {0, 250, 1000, 500}},   // full width, centred vertically
        {100, 400, 1000, 1000, 300, 300, {375, 0, 250, 1000}},   // full height, centred horizontally
        {100, 100, 2000, 500, 600, 300, {500, 0, 1000, 500}},    // twice the dots across for the same inches
        {0, 10, 100, 100, 96, 96, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        const Rect r = FitCentered(c.w, c.h, c.areaW, c.areaH, c.dpiX, c.dpiY);
        EXPECT_EQ((std::vector{r.left, r.top, r.Width(), r.Height()}), c.expected) << c.w << "x" << c.h;
    }
}

}  // namespace
}  // namespace vx
