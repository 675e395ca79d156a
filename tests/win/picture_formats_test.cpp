// Pictures from and for other programs: every pixel format opens as a reference
// decoder shows it, transparency flattened onto white; GIF and TIFF names get GIF and
// TIFF files.
#include <sstream>

#include "commands/picture_io.h"
#include "win_test_support.h"

namespace vx::test {
namespace {

Pixels Opened(const std::wstring& path) {
    const Result<ComPtr<IPicture>> opened = LoadPictureFile(path);
    return opened.ok() ? ReadPixels(BitmapOf(opened.value)) : Pixels{};
}

// The pictures and their table come from tests/tools/make_pictures.py (the
// win.pictures_made fixture): a row per picture with the largest difference per channel
// from ImageMagick's view over white (16 bits to 8, alpha over white, JPEG's decoders
// round apart), or -1 for the few the platform cannot decode, refused as damaged.
TEST(PictureFormats, EveryPixelFormatOpensAsTheReferenceShowsIt) {
    const std::wstring dir = TestProgram(L"pictures\\");
    std::istringstream table(ReadFileBytes(dir + L"pictures.txt"));
    std::string name;
    int allowed = 0, rows = 0;
    for (; table >> name >> allowed; ++rows) {
        const std::wstring path = dir + std::wstring(name.begin(), name.end());
        const Result<ComPtr<IPicture>> opened = LoadPictureFile(path);
        if (allowed < 0) {
            EXPECT_EQ(opened.outcome.status, Status::CannotDecode) << name;
            continue;
        }
        const Pixels shown = opened.ok() ? ReadPixels(BitmapOf(opened.value)) : Pixels{};
        const std::string reference = ReadFileBytes(path + L".rgb");
        if (shown.values.size() * 3 != reference.size()) {
            ADD_FAILURE() << name << ": " << shown.width << " x " << shown.height << " shown";
            continue;
        }
        int worst = 0;
        for (size_t i = 0; i < reference.size(); ++i) {
            const int channel = shown.values[i / 3] >> (16 - i % 3 * 8) & 255;
            worst = std::max(worst, std::abs(channel - static_cast<std::uint8_t>(reference[i])));
        }
        EXPECT_LE(worst, allowed) << name;
    }
    EXPECT_GT(rows, 80) << "no pictures: the win.pictures_made test makes them";
}

TEST(PictureFormats, GifAndTiffNamesGetThoseFormatsAndComeBackExact) {
    TempDir dir;
    // Few colours, so a GIF's palette holds them all.
    auto stripes = [](int x, int y) {
        static const std::uint32_t colours[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00};
        return colours[(x / 3 + y) % 4];
    };
    ComPtr<IPicture> picture = PictureOf(50, 30, stripes);
    const struct { const wchar_t* name; std::string signature; } files[] = {
        {L"a.gif", "GIF8"}, {L"a.tif", "II*"}, {L"a.TIFF", "II*"}};
    for (const auto& f : files) {
        const std::wstring path = dir.File(f.name);
        ASSERT_TRUE(SavePictureFile(BitmapOf(picture), nullptr, path, FormatForPath(path)).ok()) << Narrow(path);
        EXPECT_EQ(ReadFileBytes(path).substr(0, f.signature.size()), f.signature) << Narrow(path);
        const Pixels p = Opened(path);
        ASSERT_EQ(p.width, 50);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 50; ++x) ASSERT_EQ(p.At(x, y), stripes(x, y)) << Narrow(path) << " " << x << "," << y;
    }
}

}  // namespace
}  // namespace vx::test
