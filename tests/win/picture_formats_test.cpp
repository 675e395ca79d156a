// Pictures from other programs: every pixel format opens as a reference decoder shows
// it, transparency flattened onto white.
#include <map>
#include <sstream>

#include "commands/picture_io_win.h"
#include "document/picture_limits.h"
#include "win_test_support.h"

#include <psapi.h>

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

struct HostileFiles : MainWindowTest {
    ScriptedDialogs dialogs;
};

// Hostile files (tests/tools/make_pictures.py: hostile.txt names each and what opening it
// gives), each opened from the menu after a magenta picture the decoder read: refused in
// the program's words with the picture kept, or shown without one magenta pixel; each in
// seconds, the peak of memory within about two frames of the size limit, the window
// answering at the end.
TEST_F(HostileFiles, AreRefusedOrShowOnlyTheirOwnPixelsInBoundedTimeAndMemory) {
    const std::wstring dir = TestProgram(L"pictures\\");
    const auto peak = [] {  // Wine keeps no peak of private bytes; the resident high-water mark is one
        PROCESS_MEMORY_COUNTERS c{sizeof c};
        ::GetProcessMemoryInfo(::GetCurrentProcess(), &c, sizeof c);
        return std::max(c.PeakPagefileUsage, c.PeakWorkingSetSize);
    };
    const std::map<std::string, unsigned> messages = {{"shown", 0}, {"toolarge", IDS_DOC_TOO_LARGE}, {"damaged", IDS_DOC_CANNOT_DECODE}};
    const size_t before = peak();
    std::istringstream table(ReadFileBytes(dir + L"hostile.txt"));
    std::string name, expected;
    int rows = 0;
    for (; table >> name >> expected; ++rows) {
        dialogs.fileAnswers = {dir + L"magenta.bmp", dir + L"hostile\\" + std::wstring(name.begin(), name.end())};
        mnuOpen_Click(*form);
        IPicture* magenta = form->Doc().PicBmp.Picture.get();
        dialogs.boxes.clear();
        const DWORD start = ::GetTickCount();
        mnuOpen_Click(*form);
        const DWORD took = ::GetTickCount() - start;
        const std::vector<std::uint32_t> shown = PixelsOf(form->Doc().PicBmp.Bitmap());
        const unsigned message = messages.at(expected);
        const std::wstring box = dialogs.boxes.empty() ? L"" : dialogs.boxes[0].text;
        EXPECT_EQ(std::tuple(dialogs.boxes.size(), box.substr(0, 6), form->Doc().PicBmp.Picture.get() == magenta),
                  std::tuple(size_t{message != 0}, message ? LoadText(message).substr(0, 6) : L"", message != 0)) << name;
        EXPECT_EQ(message ? 0 : std::count(shown.begin(), shown.end(), 0xFF00FFu), 0) << name << ": the picture before came back";
        EXPECT_LT(took, 5000u) << name;
    }
    EXPECT_GE(rows, 15) << "no table: the win.pictures_made test makes it";
    EXPECT_LT(peak() - before, 2 * kMaxPicturePixels * 4) << "peak private bytes";
    DWORD_PTR answer = 0;
    EXPECT_TRUE(::SendMessageTimeoutW(form->hwnd(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer));
}

}  // namespace
}  // namespace vx::test
