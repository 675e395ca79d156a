// Picture files as arithmetic: the format a name asks for, BMP layouts and 32-to-24
// packing, the size a file's first bytes claim, and the printed page.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

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
    };
    for (const auto& c : cases) EXPECT_EQ(FormatForPath(c.path), c.format) << c.path;
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
