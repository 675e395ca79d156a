#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "commands/bmp_layout.h"
#include "commands/file_format.h"
#include "commands/picture_header.h"
#include "commands/print_fit.h"
#include "platform/text.h"

namespace vx {
namespace {

TEST(PictureFormat, FormatFollowsTheExtensionOfTheLastComponent) {
    EXPECT_EQ(FormatForPath(L"C:\\a\\shot.JPG"), PictureFileFormat::Jpeg);
    EXPECT_EQ(FormatForPath(L"C:\\a\\shot.jpeg"), PictureFileFormat::Jpeg);
    EXPECT_EQ(FormatForPath(L"C:\\a\\shot.Png"), PictureFileFormat::Png);
    EXPECT_EQ(FormatForPath(L"C:\\a\\shot.bmp"), PictureFileFormat::Bmp);
    EXPECT_EQ(FormatForPath(L"C:\\a\\shot.gif"), PictureFileFormat::Gif);
    EXPECT_EQ(FormatForPath(L"C:\\a\\shot.TIFF"), PictureFileFormat::Tiff);
    EXPECT_EQ(FormatForPath(L"C:\\a\\shot"), PictureFileFormat::Bmp);
    EXPECT_EQ(FormatForPath(L"C:\\x.png\\shot"), PictureFileFormat::Bmp);  // a folder's dot is no extension
    EXPECT_EQ(FormatForPath(L"C:\\a\\shot.jpg.bmp"), PictureFileFormat::Bmp);
}

TEST(PictureFormat, DialogFilterKeepsTheTwoEntriesAndAddsPng) {
    const std::wstring f = DialogFilter(kPictureFilter);
    const std::wstring first(L"Bmp (*.bmp)\0*.bmp\0JPGE(*.jpg)\0*.jpg\0", 35);
    EXPECT_EQ(f.substr(0, first.size()), first);
    EXPECT_EQ(f.substr(f.size() - 3), std::wstring(L"\0\0", 2).insert(0, 1, L'f'));
}

TEST(PictureFormat, BmpLayoutPadsRowsAndPlacesTheColourTable) {
    BmpLayout l;
    ASSERT_TRUE(MakeBmpLayout(3, 2, 24, l));
    EXPECT_EQ(l.stride, 12u);  // 9 bytes padded to 12
    EXPECT_EQ(l.pixelOffset, 54u);
    EXPECT_EQ(l.fileSize, 54u + 24u);
    ASSERT_TRUE(MakeBmpLayout(5, 3, 8, l));
    EXPECT_EQ(l.stride, 8u);
    EXPECT_EQ(l.colours, 256u);
    EXPECT_EQ(l.pixelOffset, 54u + 1024u);
    EXPECT_EQ(l.fileSize, 54u + 1024u + 24u);
    ASSERT_TRUE(MakeBmpLayout(3840, 2160, 24, l));
    EXPECT_EQ(l.imageBytes, 3840u * 3 * 2160);
    // Too big for the 32-bit size fields, or no picture at all.
    EXPECT_FALSE(MakeBmpLayout(70000, 70000, 24, l));
    EXPECT_FALSE(MakeBmpLayout(0, 10, 24, l));
    EXPECT_FALSE(MakeBmpLayout(10, 10, 7, l));
}

TEST(PictureFormat, AbsurdSizesAreRefused) {
    EXPECT_TRUE(PictureSizeAcceptable(1, 1));
    EXPECT_TRUE(PictureSizeAcceptable(7680, 4320));
    EXPECT_TRUE(PictureSizeAcceptable(40000, 300));  // a stitched strip beyond 16 bits
    EXPECT_FALSE(PictureSizeAcceptable(100000, 100000));
    EXPECT_FALSE(PictureSizeAcceptable((1 << 20) + 1, 1));
    EXPECT_FALSE(PictureSizeAcceptable(20000, 20000));  // each side fine, too many pixels
    EXPECT_FALSE(PictureSizeAcceptable(0, 5));
    EXPECT_FALSE(PictureSizeAcceptable(0xFFFFFFFFull, 0xFFFFFFFFull));
}

std::vector<unsigned char> Bytes(std::initializer_list<int> values) {
    std::vector<unsigned char> v;
    for (int x : values) v.push_back(static_cast<unsigned char>(x));
    return v;
}

TEST(PictureFormat, SniffReadsTheClaimedSize) {
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
        PictureKind kind;
        bool known;
        uint64_t w, h;
    };
    const Case cases[] = {
        {"png", Bytes({0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 1, 0x86, 0xA0, 0, 0, 2, 0}),
         PictureKind::Png, true, 100000, 512},
        {"png truncated", Bytes({0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0}), PictureKind::Png, false, 0, 0},
        {"bmp info", Bytes({'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 0x80, 2, 0, 0, 0x20, 0xFE, 0xFF, 0xFF}),
         PictureKind::Bmp, true, 640, 480},  // height -480: top-down
        {"bmp core", Bytes({'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 26, 0, 0, 0, 12, 0, 0, 0, 16, 0, 8, 0}), PictureKind::Bmp, true,
         16, 8},
        {"bmp negative width", Bytes({'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0}),
         PictureKind::Bmp, true, 0, 1},
        {"jpeg after app0", Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 1, 2, 0xFF, 0xFF, 0xC0, 0, 11, 8, 0x01, 0xE0, 0x02, 0x80}),
         PictureKind::Jpeg, true, 640, 480},
        {"jpeg progressive", Bytes({0xFF, 0xD8, 0xFF, 0xC2, 0, 11, 8, 0xFF, 0xFF, 0xFF, 0xFF}), PictureKind::Jpeg, true,
         65535, 65535},
        {"jpeg segment beyond the end", Bytes({0xFF, 0xD8, 0xFF, 0xE1, 0xFF, 0xFF, 0, 0}), PictureKind::Jpeg, false, 0, 0},
        {"jpeg zero length", Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 0, 0xFF, 0xC0}), PictureKind::Jpeg, false, 0, 0},
        {"gif", Bytes({'G', 'I', 'F', '8', '9', 'a', 0x10, 0x27, 0x10, 0x27}), PictureKind::Gif, true, 10000, 10000},
        {"tiff", Bytes({'I', 'I', 42, 0, 8, 0, 0, 0}), PictureKind::Tiff, false, 0, 0},
        {"text", Bytes({'h', 'e', 'l', 'l', 'o'}), PictureKind::Unknown, false, 0, 0},
        {"empty", Bytes({}), PictureKind::Unknown, false, 0, 0},
    };
    for (const Case& c : cases) {
        const PictureHeader h = SniffPictureHeader(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(h.kind, c.kind) << c.name;
        EXPECT_EQ(h.sizeKnown, c.known) << c.name;
        if (c.known) {
            EXPECT_EQ(h.width, c.w) << c.name;
            EXPECT_EQ(h.height, c.h) << c.name;
        }
    }
}

TEST(PictureFormat, SniffNeverReadsPastTheBuffer) {
    // Every prefix of a JPEG with a long run of segments: ASan checks the reads.
    std::vector<unsigned char> jpeg = Bytes({0xFF, 0xD8});
    for (int i = 0; i < 20; ++i) {
        for (int b : {0xFF, 0xE2, 0, 6, 1, 2, 3, 4}) jpeg.push_back(static_cast<unsigned char>(b));
    }
    for (int b : {0xFF, 0xC0, 0, 11, 8, 0, 10, 0, 20}) jpeg.push_back(static_cast<unsigned char>(b));
    for (size_t n = 0; n <= jpeg.size(); ++n) {
        std::vector<unsigned char> prefix(jpeg.begin(), jpeg.begin() + static_cast<long>(n));
        const PictureHeader h = SniffPictureHeader(prefix.empty() ? nullptr : prefix.data(), prefix.size());
        if (h.sizeKnown) {
            EXPECT_EQ(h.width, 20u);
            EXPECT_EQ(h.height, 10u);
        }
    }
    EXPECT_TRUE(SniffPictureHeader(jpeg.data(), jpeg.size()).sizeKnown);
}

// Every width from 1 to 40 covers the sixteen-pixel path, its tail and the row padding;
// the destination starts dirty so that unwritten or stray bytes show.
TEST(PictureFormat, PackRows32To24KeepsColoursDropsTheFourthByteAndZeroesPadding) {
    for (std::uint32_t width = 1; width <= 40; ++width) {
        const std::uint32_t rows = 3;
        std::vector<std::uint8_t> wide(static_cast<size_t>(width) * 4 * rows);
        for (size_t i = 0; i < wide.size(); ++i) wide[i] = static_cast<std::uint8_t>(i % 4 == 3 ? 0xEE : i * 7 + 1);
        const std::uint32_t stride = BmpStride(width, 24);
        std::vector<std::uint8_t> packed(static_cast<size_t>(stride) * rows + 16, 0xCD);
        PackRows32To24(wide.data(), packed.data(), width, rows);
        for (std::uint32_t y = 0; y < rows; ++y) {
            for (std::uint32_t x = 0; x < width; ++x)
                for (int c = 0; c < 3; ++c)
                    ASSERT_EQ(packed[y * stride + x * 3 + c], wide[(y * width + x) * 4 + c]) << width << " " << x << " " << y;
            for (std::uint32_t pad = width * 3; pad < stride; ++pad) ASSERT_EQ(packed[y * stride + pad], 0) << width;
        }
        // Nothing written past the last row.
        for (size_t i = static_cast<size_t>(stride) * rows; i < packed.size(); ++i) ASSERT_EQ(packed[i], 0xCD) << width;
    }
}

TEST(PictureFormat, FitCenteredKeepsTheShape) {
    // 400x200 image on a 1000x1000 area: full width, centred vertically.
    PlacedRect r = FitCentered(400, 200, 1000, 1000, 600, 600);
    EXPECT_EQ(r.width, 1000);
    EXPECT_EQ(r.height, 500);
    EXPECT_EQ(r.x, 0);
    EXPECT_EQ(r.y, 250);
    // Tall image: full height, centred horizontally.
    r = FitCentered(100, 400, 1000, 1000, 300, 300);
    EXPECT_EQ(r.height, 1000);
    EXPECT_EQ(r.width, 250);
    EXPECT_EQ(r.x, 375);
    // Unequal printer resolution: twice the dots across for the same inches.
    r = FitCentered(100, 100, 2000, 500, 600, 300);
    EXPECT_EQ(r.height, 500);
    EXPECT_EQ(r.width, 1000);
    EXPECT_EQ(r.x, 500);
    EXPECT_EQ(FitCentered(0, 10, 100, 100, 96, 96).width, 0);
}

TEST(PictureFormat, TextHelpers) {
    EXPECT_EQ(FillText(L"无法保存文件：%1\n%2", {L"C:\\a.bmp", L"磁盘已满。"}), L"无法保存文件：C:\\a.bmp\n磁盘已满。");
    EXPECT_EQ(FillText(L"100% %3 %1", {L"x"}), L"100% %3 x");
}

}  // namespace
}  // namespace vx
