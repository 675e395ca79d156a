// Pictures from other programs: every pixel format opens as a reference decoder shows
// it, transparency flattened onto white.
#include <sstream>

#include "commands/picture_io.h"
#include "win_test_support.h"

namespace vx::test {
namespace {

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
        const Pixels shown = ReadPixels(BitmapOf(opened.value));
        const std::string reference = ReadFileBytes(path + L".rgb");
        int worst = shown.values.size() * 3 == reference.size() ? 0 : 256;  // 256: not shown at its size
        for (size_t i = 0; worst < 256 && i < reference.size(); ++i)
            worst = std::max(worst, std::abs(int(shown.values[i / 3] >> (16 - i % 3 * 8) & 255) - std::uint8_t(reference[i])));
        EXPECT_TRUE(allowed < 0 ? opened.outcome.status == Status::CannotDecode : worst <= allowed) << name << ": " << worst;
    }
    EXPECT_GT(rows, 80) << "no pictures: the win.pictures_made test makes them";
}

}  // namespace
}  // namespace vx::test
