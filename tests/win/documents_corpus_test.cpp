// Damaged picture files through the open command: truncated, bit-flipped and with
// absurd header fields. No crash, no hang, bounded memory, and a file that cannot be
// shown changes nothing.
#include <random>

#include "commands/picture_io.h"
#include "commands/title_text.h"
#include "documents_support.h"

#include <psapi.h>

namespace vx::test {
namespace {

using DocumentCorpus = MainWindowTest;

void PutBe32(std::string& s, size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (24 - 8 * i)) & 0xFF);
}
void PutLe32(std::string& s, size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// About 70 damaged variants of one valid file.
std::vector<std::string> Mutations(const std::string& good, PictureFileFormat format, std::mt19937& random) {
    std::vector<std::string> out;
    for (size_t n : {size_t{0}, size_t{1}, size_t{2}, size_t{8}, size_t{16}, size_t{30}, size_t{54}, size_t{100},
                     good.size() / 3, good.size() / 2, good.size() - 10, good.size() - 1}) {
        if (n < good.size()) out.push_back(good.substr(0, n));
    }
    for (int i = 0; i < 24; ++i) {  // flips in the headers
        std::string s = good;
        const int flips = 1 + static_cast<int>(random() % 4);
        for (int f = 0; f < flips; ++f) s[random() % std::min<size_t>(s.size(), 80)] ^= static_cast<char>(1u << (random() % 8));
        out.push_back(s);
    }
    for (int i = 0; i < 24; ++i) {  // flips anywhere, then maybe cut
        std::string s = good;
        const int flips = 1 + static_cast<int>(random() % 16);
        for (int f = 0; f < flips; ++f) s[random() % s.size()] ^= static_cast<char>(1u << (random() % 8));
        if (random() % 3 == 0) s.resize(random() % s.size());
        out.push_back(s);
    }
    const std::uint32_t absurd[] = {0, 1, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 100000, 65535, 32768};
    for (std::uint32_t value : absurd) {  // claimed sizes
        std::string s = good;
        switch (format) {
            case PictureFileFormat::Png: PutBe32(s, 16, value); PutBe32(s, 20, value ^ 0x5A); break;
            case PictureFileFormat::Bmp: PutLe32(s, 18, value); PutLe32(s, 22, value / 2 + 1); break;
            case PictureFileFormat::Jpeg: {
                const size_t sof = s.find("\xFF\xC0");
                if (sof != std::string::npos) {
                    s[sof + 5] = static_cast<char>(value >> 8); s[sof + 6] = static_cast<char>(value);
                    s[sof + 7] = static_cast<char>(value >> 16); s[sof + 8] = static_cast<char>(value >> 24);
                }
                break;
            }
        }
        out.push_back(s);
    }
    if (format == PictureFileFormat::Bmp) {  // offsets and depths that point nowhere
        for (std::uint32_t offset : {0u, 13u, 0xFFFFFFF0u}) { std::string s = good; PutLe32(s, 10, offset); out.push_back(s); }
        for (char bits : {0, 3, 7, 64}) { std::string s = good; s[28] = bits; out.push_back(s); }
    }
    return out;
}

TEST_F(DocumentCorpus, DamagedFilesNeverCrashAndChangeNothingWhenRefused) {
    TempDir dir;
    ScriptedDialogs dialogs;
    ComPtr<IPicture> source = PatternPicture(64, 48, 5);
    std::mt19937 random(20240601);
    std::vector<std::pair<std::wstring, std::string>> corpus;
    for (const auto& [ext, format] : {std::pair{L"bmp", PictureFileFormat::Bmp}, std::pair{L"jpg", PictureFileFormat::Jpeg},
                                      std::pair{L"png", PictureFileFormat::Png}}) {
        const std::wstring good = dir.File(std::wstring(L"good.") + ext);
        ASSERT_TRUE(SavePictureFile(BitmapOf(source), nullptr, good, format).ok());
        int n = 0;
        for (std::string& bytes : Mutations(ReadFileBytes(good), format, random))
            corpus.emplace_back(dir.File(L"bad" + std::to_wstring(n++) + L"." + ext), std::move(bytes));
    }
    ASSERT_GE(corpus.size(), 200u);

    form->PlacePicture(PatternPicture(10, 10));
    PROCESS_MEMORY_COUNTERS before{};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &before, sizeof before);
    const int bitmaps = CountGdiObjects(OBJ_BITMAP);
    size_t refused = 0;
    for (const auto& [path, bytes] : corpus) {
        ASSERT_TRUE(WriteFileBytes(path, bytes));
        IPicture* picture = form->PicBmp.Picture.get();
        const std::wstring title = WindowTitle(form->hwnd());
        const size_t boxes = dialogs.boxes.size();
        dialogs.fileAnswers.push_back(path);
        form->mnuOpen_Click();
        if (dialogs.boxes.size() != boxes) {
            ++refused;
            EXPECT_EQ(dialogs.boxes.size(), boxes + 1) << Narrow(path);
            EXPECT_EQ(form->PicBmp.Picture.get(), picture) << Narrow(path);
            EXPECT_EQ(WindowTitle(form->hwnd()), title) << Narrow(path);
        } else {
            // Damage the decoder tolerated: the picture is shown and named.
            EXPECT_FALSE(form->PicBmp.Empty()) << Narrow(path);
            EXPECT_NE(WindowTitle(form->hwnd()).find(GetFileName(path)), std::wstring::npos) << Narrow(path);
        }
    }
    EXPECT_GT(refused, corpus.size() / 3);
    PROCESS_MEMORY_COUNTERS after{};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &after, sizeof after);
    EXPECT_LT(after.PagefileUsage, before.PagefileUsage + (64u << 20)) << "private bytes grew";
    EXPECT_LE(CountGdiObjects(OBJ_BITMAP), bitmaps);
    std::printf("%zu damaged files, %zu refused\n", corpus.size(), refused);
}

}  // namespace
}  // namespace vx::test
