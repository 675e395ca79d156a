// Open, save, wallpaper and Paint through the real commands with scripted dialogs;
// damaged files; a long session of captures, saves and opens.
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <random>
#include <tuple>

#include <shlobj.h>

#include "commands/picture_io.h"
#include "commands/title_text.h"
#include "platform/program_path.h"
#include "win_test_support.h"

namespace vx::test {
namespace {

using Documents = MainWindowTest;

ComPtr<IPicture> Decode(const std::wstring& path) {
    Outcome outcome;
    return LoadPictureFile(path, outcome);
}

std::uint32_t Le32(const std::string& b, size_t at) {
    std::uint32_t v = 0;
    for (size_t i = at + 4; i-- > at;) v = v << 8 | static_cast<unsigned char>(b[i]);
    return v;
}

// A temporary file of the writer left in a directory.
bool TemporaryFileIn(const TempDir& dir) {
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(dir.File(L"*.tmp").c_str(), &found);
    return search != INVALID_HANDLE_VALUE && ::FindClose(search);
}

// Mean difference per colour channel between two pictures of one size.
double MeanError(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
    double error = 0;
    for (size_t i = 0; i < a.size(); ++i)
        for (int shift : {0, 8, 16}) error += std::abs(int((a[i] >> shift) & 0xFF) - int((b[i] >> shift) & 0xFF));
    return error / (a.size() * 3.0);
}

// An 8-bit picture with a 16-colour palette is written at 8 bits, the palette's colours
// in its colour table (blue, green, red, 0), and reads back the same.
TEST_F(Documents, APictureWithAPaletteIsWrittenAtEightBitsWithItsColours) {
    struct { WORD version, count; PALETTEENTRY entries[16]; } logical{0x300, 16, {}};
    struct { BITMAPINFOHEADER header; RGBQUAD colours[256]; } info{{sizeof(BITMAPINFOHEADER), 40, -30, 1, 8, BI_RGB}, {}};
    for (int i = 0; i < 16; ++i) {
        logical.entries[i] = {BYTE(i * 16), BYTE(255 - i * 16), BYTE(i * 5), 0};
        info.colours[i] = {BYTE(i * 5), BYTE(255 - i * 16), BYTE(i * 16), 0};
    }
    void* bits = nullptr;
    UniqueBitmap bitmap(::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_TRUE(bits);
    for (int i = 0; i < 40 * 30; ++i) static_cast<BYTE*>(bits)[i] = static_cast<BYTE>((i % 40 / 3 + i / 40) % 16);
    UniquePalette palette(::CreatePalette(reinterpret_cast<LOGPALETTE*>(&logical)));
    form->PlacePicture(CreatePictureFromBitmap(std::move(bitmap), std::move(palette)));
    TempDir dir;
    ScriptedDialogs dialogs;
    dialogs.fileAnswers = {dir.File(L"palette.bmp")};
    mnusave_Click(*form);
    const std::string file = ReadFileBytes(dir.File(L"palette.bmp"));
    ASSERT_EQ(file.size(), 54u + 1024u + 40u * 30u);
    EXPECT_EQ(static_cast<unsigned char>(file[28]), 8);
    EXPECT_EQ(Le32(file, 10), 54u + 1024u);
    EXPECT_EQ(file.substr(54, 64), std::string(reinterpret_cast<char*>(info.colours), 64));
    EXPECT_EQ(PixelsOf(BitmapOf(Decode(dir.File(L"palette.bmp")))), PixelsOf(form->Doc().PicBmp.Bitmap()));
}

// A save that cannot be completed leaves the old file byte for byte, the flag as it
// was, no temporary file, and says why once.
TEST_F(Documents, AFailedSaveKeepsTheOldFile) {
    TempDir dir;
    ScriptedDialogs dialogs;
    form->PlacePicture(PatternPicture(64, 48, 3));
    const std::wstring target = dir.File(L"old.bmp"), missing = dir.File(L"missing\\new.bmp");
    const std::string old = "old contents that must survive";
    ASSERT_TRUE(WriteFileBytes(target, old));
    std::optional<UniqueFile> held;
    const struct { const char* what; std::wstring path; unsigned reason; std::function<void(bool)> around; } cases[] = {
        {"read-only", target, IDS_DOC_REASON_ACCESS_DENIED,
         [&](bool on) { ::SetFileAttributesW(target.c_str(), on ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL); }},
        {"held open without sharing", target, IDS_DOC_REASON_ACCESS_DENIED,
         [&](bool on) { on ? (void)held.emplace(::CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr))
                           : held.reset(); }},
        {"folder gone", missing, IDS_DOC_REASON_NOT_FOUND, [](bool) {}},
    };
    for (const auto& c : cases) {
        form->Doc().ImageUnsaved = true;
        dialogs.boxes.clear();
        dialogs.fileAnswers = {c.path};
        c.around(true);
        mnusave_Click(*form);
        c.around(false);
        EXPECT_TRUE(ReadFileBytes(target) == old) << c.what;
        EXPECT_TRUE(form->Doc().ImageUnsaved) << c.what;
        ASSERT_EQ(dialogs.boxes.size(), 1u) << c.what;
        EXPECT_NE(dialogs.boxes[0].text.find(c.path), std::wstring::npos) << c.what;
        EXPECT_NE(dialogs.boxes[0].text.find(LoadText(c.reason)), std::wstring::npos) << c.what;
    }
    EXPECT_FALSE(FileExists(missing));
    EXPECT_FALSE(TemporaryFileIn(dir));
}

void Put32(std::string& s, size_t at, std::uint32_t v, bool bigEndian) {
    for (int i = 0; i < 4 && at + 3 < s.size(); ++i) s[at + i] = static_cast<char>(v >> (bigEndian ? 24 - 8 * i : 8 * i));
}

// About 80 damaged variants of one valid file: cuts; flipped bits in the headers, then
// anywhere and maybe cut; absurd claimed sizes; and where a BMP keeps its pixel offset
// and depth, values that point nowhere.
std::vector<std::string> Mutations(const std::string& good, PictureFileFormat format, std::mt19937& random) {
    std::vector<std::string> out;
    for (size_t n : {0, 1, 2, 8, 16, 30, 54, 100}) out.push_back(good.substr(0, n));
    for (size_t n : {good.size() / 3, good.size() / 2, good.size() - 10, good.size() - 1}) out.push_back(good.substr(0, n));
    for (int i = 0; i < 48; ++i) {
        std::string s = good;
        const size_t span = i < 24 ? std::min<size_t>(s.size(), 80) : s.size();
        for (int f = 1 + static_cast<int>(random() % (i < 24 ? 4 : 16)); f > 0; --f) s[random() % span] ^= char(1 << random() % 8);
        if (i >= 24 && random() % 3 == 0) s.resize(random() % s.size());
        out.push_back(s);
    }
    const size_t sof = good.find("\xFF\xC0");
    for (std::uint32_t value : {0u, 1u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 100000u, 65535u, 32768u}) {
        std::string& s = out.emplace_back(good);
        if (format == PictureFileFormat::Png) Put32(s, 16, value, true), Put32(s, 20, value ^ 0x5A, true);
        if (format == PictureFileFormat::Bmp) Put32(s, 18, value, false), Put32(s, 22, value / 2 + 1, false);
        if (format == PictureFileFormat::Jpeg && sof != std::string::npos)  // height, width and beyond
            Put32(s, sof + 5, (value & 0xFFFF) << 16 | (value >> 16 & 0xFF) << 8 | value >> 24, true);
    }
    for (std::uint32_t offset : {0u, 13u, 0xFFFFFFF0u}) Put32(out.emplace_back(good), 10, offset, false);
    for (char bits : {0, 3, 7, 64}) out.emplace_back(good)[28] = bits;
    return out;
}

// No crash, no hang, bounded memory, and a file that cannot be shown changes nothing.
// Besides the damaged files: a header that claims 100000 x 100000 pixels, a text file
// and a missing file, each refused in its own words.
TEST_F(Documents, DamagedFilesNeverCrashAndChangeNothingWhenRefused) {
    TempDir dir;
    ScriptedDialogs dialogs;
    std::mt19937 random(20240601);
    const std::string png("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\x01\x86\xa0\0\x01\x86\xa0\x08\x02\0\0\0", 29);
    std::vector<std::tuple<std::wstring, std::string, unsigned>> corpus = {
        {dir.File(L"huge.png"), png + std::string(64, '\0'), IDS_DOC_TOO_LARGE},
        {dir.File(L"text.bmp"), "just some text, not a picture", IDS_DOC_CANNOT_DECODE},
        {dir.File(L"absent.bmp"), "", IDS_DOC_CANNOT_READ}};
    for (const auto& [ext, format] : {std::pair{L"bmp", PictureFileFormat::Bmp}, std::pair{L"jpg", PictureFileFormat::Jpeg},
                                      std::pair{L"png", PictureFileFormat::Png}}) {
        const std::wstring good = dir.File(std::wstring(L"good.") + ext);
        ASSERT_TRUE(SavePictureFile(BitmapOf(PatternPicture(64, 48, 5)), nullptr, good, format).ok());
        for (std::string& bytes : Mutations(ReadFileBytes(good), format, random))
            corpus.emplace_back(dir.File(L"bad" + std::to_wstring(corpus.size()) + L"." + ext), std::move(bytes), 0u);
    }
    // Twice through: the first pass lets Wine fill its caches (its decoders keep a few
    // bitmaps after the first very wide picture), the second must leave nothing more.
    form->PlacePicture(PatternPicture(10, 10));
    const size_t memory = PrivateBytes();
    int bitmaps = 0;
    size_t refused = 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (const auto& [path, bytes, failure] : corpus) {
            ASSERT_TRUE(failure == IDS_DOC_CANNOT_READ || WriteFileBytes(path, bytes));
            IPicture* picture = form->Doc().PicBmp.Picture.get();
            const std::wstring title = WindowTitle(form->hwnd());
            const size_t boxes = dialogs.boxes.size();
            dialogs.fileAnswers = {path};
            mnuOpen_Click(*form);
            if (dialogs.boxes.size() != boxes) {
                refused += pass;
                EXPECT_EQ(dialogs.boxes.size(), boxes + 1) << Narrow(path);
                EXPECT_EQ(form->Doc().PicBmp.Picture.get(), picture) << Narrow(path);
                EXPECT_EQ(WindowTitle(form->hwnd()), title) << Narrow(path);
                EXPECT_TRUE(!failure || dialogs.boxes.back().text.substr(0, 6) == LoadText(failure).substr(0, 6)) << Narrow(path);
            } else {  // damage the decoder tolerated: the picture is shown and named
                EXPECT_FALSE(failure) << Narrow(path) << " was opened";
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

// A long session in one running program: captures of every kind, save, clear and
// open, over and over. The first cycles check each file (its kind by the name, a BMP's
// padded rows) and that it opens as the capture, larger than the view; then nothing
// may pile up: GDI objects, handles, memory, files.
TEST_F(Documents, FiveHundredCyclesOfCaptureSaveClearAndOpen) {
    TempDir dir;
    ScriptedDialogs dialogs;
    const struct { const wchar_t* name; const char* magic; double error; } files[] = {
        {L"a.bmp", "BM", 0}, {L"b.png", "\x89PNG", 0}, {L"c.jpg", "\xFF\xD8", 12}};
    auto cycle = [&](int i) {
        if (i % 100 == 0) mnuScreen_Click(*form);
        else if (i % 2) mnuClient_Click(*form);
        else mnuTitleBar_Click(*form);
        Pump();  // the view paints each picture
        const auto& f = files[i % 3];
        const Pixels shot = i < 6 ? ReadPixels(form->Doc().PicBmp.Bitmap()) : Pixels();
        dialogs.fileAnswers = {dir.File(f.name), dir.File(f.name)};
        mnusave_Click(*form);
        EXPECT_FALSE(form->Doc().ImageUnsaved);
        mnuClear_Click(*form);
        if (i < 6) {  // small and without scroll bars before the open
            form->PlacePicture(PatternPicture(8, 8));
            form->Relayout();
        }
        mnuOpen_Click(*form);
        Pump();
        if (i >= 6) return;
        EXPECT_FALSE(form->Doc().ImageUnsaved) << i;  // what was read from a file is saved
        // Named with its size in the title, the scroll bars laid out for it.
        EXPECT_EQ(WindowTitle(form->hwnd()), OpenedTitle(ProgramName(), f.name, shot.width, shot.height)) << i;
        EXPECT_TRUE(::IsWindowVisible(form->HScroll1().hwnd) && ::IsWindowVisible(form->VScroll1().hwnd)) << i;
        const std::string bytes = ReadFileBytes(dir.File(f.name));
        EXPECT_EQ(bytes.substr(0, strlen(f.magic)), f.magic) << i;
        if (i % 3 == 0) {
            EXPECT_EQ(bytes.size(), 54 + (shot.width * 3u + 3) / 4 * 4 * shot.height) << i;
            EXPECT_EQ(static_cast<unsigned char>(bytes[28]), 24) << i;
        }
        const auto back = PixelsOf(form->Doc().PicBmp.Bitmap());
        ASSERT_EQ(back.size(), shot.values.size()) << i;
        EXPECT_LE(MeanError(back, shot.values), f.error) << i;
    };
    for (int i = 0; i < 6; ++i) cycle(i);  // warm-up: caches filled, every file exists
    const int bitmaps = CountGdiObjects(OBJ_BITMAP), palettes = CountGdiObjects(OBJ_PAL);
    const int memoryDcs = CountGdiObjects(OBJ_MEMDC), dcs = CountGdiObjects(OBJ_DC);
    DWORD handles = 0, handlesAfter = 0;
    ::GetProcessHandleCount(::GetCurrentProcess(), &handles);
    const size_t memory = PrivateBytes();
    for (int i = 6; i < 506; ++i) cycle(i);
    EXPECT_TRUE(dialogs.boxes.empty()) << "no failure was reported";
    EXPECT_EQ(CountGdiObjects(OBJ_BITMAP), bitmaps);
    EXPECT_EQ(CountGdiObjects(OBJ_PAL), palettes);
    EXPECT_EQ(CountGdiObjects(OBJ_MEMDC), memoryDcs);
    EXPECT_EQ(CountGdiObjects(OBJ_DC), dcs);
    ::GetProcessHandleCount(::GetCurrentProcess(), &handlesAfter);
    EXPECT_LE(handlesAfter, handles + handles / 20);
    EXPECT_LT(static_cast<double>(PrivateBytes()) / static_cast<double>(memory), 1.05);
    EXPECT_FALSE(TemporaryFileIn(dir));
}

TEST_F(Documents, WallpaperIsWrittenSetAndClearedOrFallsBackToTheUserFolder) {
    ScriptedDialogs dialogs;
    auto current = [] {
        wchar_t path[MAX_PATH] = {};
        ::SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0);
        return std::wstring(path);
    };
    PWSTR local = nullptr;
    ASSERT_HRESULT_SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &local));
    const std::wstring fixed = L"c:\\windows\\wallpaper.bmp", fallback = local + std::wstring(L"\\Vellumox\\wallpaper.bmp");
    ::CoTaskMemFree(local);
    // Then a fixed file that cannot be replaced stays; the picture goes to the user's folder.
    const std::string stale = "a stale wallpaper from an earlier run";
    int seed = 7;
    for (const std::wstring& expected : {fixed, fallback}) {
        form->PlacePicture(PatternPicture(120, 90, seed++));
        ::SetFileAttributesW(fixed.c_str(), FILE_ATTRIBUTE_NORMAL);
        ASSERT_TRUE(expected == fixed || WriteFileBytes(fixed, stale));
        ::SetFileAttributesW(fixed.c_str(), expected == fixed ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY);
        mnuWallpaper_Click(*form);
        EXPECT_EQ(_wcsicmp(current().c_str(), expected.c_str()), 0) << Narrow(current());
        EXPECT_EQ(PixelsOf(BitmapOf(Decode(expected))), PixelsOf(form->Doc().PicBmp.Bitmap())) << Narrow(expected);
        mnuClearWall_Click(*form);
        EXPECT_EQ(current(), L"");
    }
    ::SetFileAttributesW(fixed.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(ReadFileBytes(fixed) == stale);
    ::DeleteFileW(fixed.c_str());
    EXPECT_TRUE(dialogs.boxes.empty());
}

// Paint is played by a recorder registered as the edit command of Paint.Picture: the
// scratch file is written beside the program (its missing folder made) and handed to
// the shell.
TEST_F(Documents, EditInPaintWritesTheScratchFileAndAsksTheShell) {
    ScriptedDialogs dialogs;
    TempDir logDir;
    const std::wstring log = logDir.File(L"paint.log"), folder = ProgramFolder() + L"\\Temp";
    const std::wstring scratch = folder + L"\\temp.bmp", command = L"\"" + TestProgram(L"paint_recorder.exe") + L"\" \"%1\"";
    ::SetEnvironmentVariableW(L"VX_PAINT_LOG", log.c_str());
    ::DeleteFileW(scratch.c_str());
    ASSERT_TRUE(::RemoveDirectoryW(folder.c_str()));
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CLASSES_ROOT, L"Paint.Picture\\shell\\edit\\command", nullptr, REG_SZ, command.c_str(),
                                static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))), ERROR_SUCCESS);
    form->PlacePicture(PatternPicture(70, 50, 11));
    mnuMspaint_Click(*form);
    std::string line;  // the recorder's line: the file it was given, a tab, its size
    for (int i = 0; i < 300 && line.find('\n') == std::string::npos; ++i, Pump(50)) line = ReadFileBytes(log);
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L"Paint.Picture");
    EXPECT_NE(line.find(Narrow(scratch) + "\t" + std::to_string(ReadFileBytes(scratch).size())), std::string::npos) << line;
    EXPECT_EQ(PixelsOf(BitmapOf(Decode(scratch))), PixelsOf(form->Doc().PicBmp.Bitmap()));
    EXPECT_TRUE(dialogs.boxes.empty());
}

}  // namespace
}  // namespace vx::test
