// Damaged picture files through the open command: truncated, bit-flipped and with
// absurd header fields. No crash, no hang, bounded memory, and a file that cannot be
// shown changes nothing.
#include <random>

#include "commands/picture_io.h"
#include "commands/title_text.h"
#include "documents_support.h"

namespace vx::test {
namespace {

using DocumentCorpus = MainWindowTest;

void Put32(std::string& s, size_t at, std::uint32_t v, bool bigEndian) {
    for (int i = 0; i < 4 && at + 3 < s.size(); ++i) s[at + i] = static_cast<char>(v >> (bigEndian ? 24 - 8 * i : 8 * i));
}

// About 70 damaged variants of one valid file.
std::vector<std::string> Mutations(const std::string& good, PictureFileFormat format, std::mt19937& random) {
    std::vector<std::string> out;
    for (size_t n : {size_t{0}, size_t{1}, size_t{2}, size_t{8}, size_t{16}, size_t{30}, size_t{54}, size_t{100},
                     good.size() / 3, good.size() / 2, good.size() - 10, good.size() - 1})
        if (n < good.size()) out.push_back(good.substr(0, n));
    for (int i = 0; i < 48; ++i) {  // flips in the headers, then flips anywhere and maybe a cut
        std::string s = good;
        const size_t span = i < 24 ? std::min<size_t>(s.size(), 80) : s.size();
        for (int f = 1 + static_cast<int>(random() % (i < 24 ? 4 : 16)); f > 0; --f)
            s[random() % span] ^= static_cast<char>(1u << (random() % 8));
        if (i >= 24 && random() % 3 == 0) s.resize(random() % s.size());
        out.push_back(s);
    }
    const size_t sof = good.find("\xFF\xC0");
    for (std::uint32_t value : {0u, 1u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 100000u, 65535u, 32768u}) {
        std::string s = good;  // claimed sizes
        if (format == PictureFileFormat::Png) Put32(s, 16, value, true), Put32(s, 20, value ^ 0x5A, true);
        if (format == PictureFileFormat::Bmp) Put32(s, 18, value, false), Put32(s, 22, value / 2 + 1, false);
        if (format == PictureFileFormat::Jpeg && sof != std::string::npos)  // height, width and beyond
            Put32(s, sof + 5, (value & 0xFFFF) << 16 | (value >> 16 & 0xFF) << 8 | value >> 24, true);
        out.push_back(s);
    }
    if (format == PictureFileFormat::Bmp) {  // offsets and depths that point nowhere
        for (std::uint32_t offset : {0u, 13u, 0xFFFFFFF0u}) out.push_back(good), Put32(out.back(), 10, offset, false);
        for (char bits : {0, 3, 7, 64}) out.push_back(good), out.back()[28] = bits;
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

    // Twice through: the first pass lets Wine fill its caches (its decoders keep a few
    // bitmaps after the first very wide picture), the second must leave nothing more.
    form->PlacePicture(PatternPicture(10, 10));
    const size_t memory = PrivateBytes();
    int bitmaps = 0;
    size_t refused = 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (const auto& [path, bytes] : corpus) {
            ASSERT_TRUE(WriteFileBytes(path, bytes));
            IPicture* picture = form->Doc().PicBmp.Picture.get();
            const std::wstring title = WindowTitle(form->hwnd());
            const size_t boxes = dialogs.boxes.size();
            dialogs.fileAnswers.push_back(path);
            mnuOpen_Click(*form);
            if (dialogs.boxes.size() != boxes) {
                refused += pass;
                EXPECT_EQ(dialogs.boxes.size(), boxes + 1) << Narrow(path);
                EXPECT_EQ(form->Doc().PicBmp.Picture.get(), picture) << Narrow(path);
                EXPECT_EQ(WindowTitle(form->hwnd()), title) << Narrow(path);
            } else {
                // Damage the decoder tolerated: the picture is shown and named.
                EXPECT_FALSE(form->Doc().PicBmp.Empty()) << Narrow(path);
                EXPECT_NE(WindowTitle(form->hwnd()).find(GetFileName(path)), std::wstring::npos) << Narrow(path);
            }
        }
        if (pass == 0) bitmaps = CountGdiObjects(OBJ_BITMAP);
    }
    EXPECT_GT(refused, corpus.size() / 3);
    EXPECT_LT(PrivateBytes(), memory + (64u << 20)) << "private bytes grew";
    EXPECT_LE(CountGdiObjects(OBJ_BITMAP), bitmaps);
}

}  // namespace
}  // namespace vx::test
