// Open, save, wallpaper and Paint through the real commands with scripted dialogs;
// damaged files; a long session of captures, saves and opens.
#include <filesystem>
#include <random>
#include <tuple>

#include "commands/clipboard_formats.h"
#include "commands/picture_drag_win.h"
#include "commands/picture_io_win.h"
#include "platform/program_path.h"
#include "unattended.h"
#include "win_test_support.h"

namespace vx::test {
namespace {

struct Documents : MainWindowTest {
    // The pixels of the picture on show.
    std::vector<std::uint32_t> Shown() const { return PixelsOf(form->Doc().PicBmp.Bitmap()); }
    // Files in the directory: what the test wrote, no temporary file of the writer.
    long FileCount() const { return std::distance(std::filesystem::directory_iterator(dir.path), {}); }
    ScriptedDialogs dialogs;
    TempDir dir;
};

// A save that cannot be completed (a read-only file, a folder gone, ...) leaves the old file
// byte for byte, the flag as it was, no temporary file, and says why once.
TEST_F(Documents, AFailedSaveKeepsTheOldFile) {
    form->PlacePicture(PatternPicture(64, 48, 3));
    const std::wstring target = dir.File(L"old.bmp"), missing = dir.File(L"missing\\new.bmp");
    const std::string old = "old contents that must survive";
    ASSERT_TRUE(WriteFileBytes(target, old));
    ::CreateDirectoryW(dir.File(L"folder.png").c_str(), nullptr);
    // Each in its own words: a folder, a device and a path past the classic limit are not "missing" or "locked".
    for (const auto& [path, reason] : {std::pair{target, IDS_DOC_REASON_ACCESS_DENIED}, std::pair{missing, IDS_DOC_REASON_NOT_FOUND},
                                       std::pair{dir.File(L"folder.png"), IDS_DOC_REASON_IS_FOLDER}, std::pair{dir.File(L"con.png"), IDS_DOC_REASON_DEVICE},
                                       std::pair{dir.File(std::wstring(300, L'x') + L".png"), IDS_DOC_REASON_TOO_LONG}}) {
        form->Doc().ImageUnsaved = true;
        dialogs.boxes.clear();
        dialogs.fileAnswers = {path};
        ::SetFileAttributesW(target.c_str(), path == target ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
        mnusave_Click(*form);
        ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        ASSERT_EQ(std::tuple(ReadFileBytes(target) == old, form->Doc().ImageUnsaved, dialogs.boxes.size()),
                  std::tuple(true, true, 1u)) << Narrow(path);
        const std::wstring& text = dialogs.boxes[0].text;  // the file and the reason
        EXPECT_EQ(std::tuple(text.find(path) != text.npos, text.find(LoadText(reason)) != text.npos),
                  std::tuple(true, true)) << Narrow(text);
    }
    EXPECT_EQ(FileCount(), 2);  // the file and the folder
}

// Every road that writes a picture over a larger file of the same name leaves exactly
// the bytes the same picture gets under a new name: nothing of the old file behind.
TEST_F(Documents, EveryRoadReplacesALargerFileWhole) {
    form->PlacePicture(PatternPicture(64, 48, 5));
    const PictureBox& picture = form->Doc().PicBmp;
    const std::string larger(3 << 20, 'x');
    auto fresh = [&](PictureFileFormat format) { return SavePictureFile(picture.Bitmap(), picture.Palette(), dir.File(L"fresh"), format), ReadFileBytes(dir.File(L"fresh")); };
    // The dragged file is named by the second: the drag goes first, early in a second.
    SYSTEMTIME now{}, start{};
    ::GetLocalTime(&start);
    PumpUntil([&] { return ::GetLocalTime(&now), now.wSecond != start.wSecond; }, 2000);
    PictureDrag drag;  // no button held: the drag ends at once, its file written
    CaptureRequest request{CaptureRequest::Kind::Region, 0, 0, 50, 40, dir.File(L"cmd.bmp")};
    const struct { const wchar_t* road; std::wstring path; std::function<void()> run; std::function<std::string()> expected; } roads[] = {
        {L"drag", (std::filesystem::temp_directory_path() / DragOutFileName(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond)).wstring(),
         [&] { drag.Run(picture); }, [&] { return fresh(PictureFileFormat::Png); }},
        {L"BMP", dir.File(L"a.bmp"), [&] { mnusave_Click(*form); }, [&] { return fresh(PictureFileFormat::Bmp); }},
        {L"JPEG", dir.File(L"a.jpg"), [&] { mnusave_Click(*form); }, [&] { return fresh(PictureFileFormat::Jpeg); }},
        {L"PNG", dir.File(L"a.png"), [&] { mnusave_Click(*form); }, [&] { return fresh(PictureFileFormat::Png); }},
        {L"GIF", dir.File(L"a.gif"), [&] { mnusave_Click(*form); }, [&] { return fresh(PictureFileFormat::Gif); }},
        {L"TIFF", dir.File(L"a.tif"), [&] { mnusave_Click(*form); }, [&] { return fresh(PictureFileFormat::Tiff); }},
        {L"wallpaper", L"c:\\windows\\wallpaper.bmp", [&] { mnuWallpaper_Click(*form), mnuClearWall_Click(*form); }, [&] { return fresh(PictureFileFormat::Bmp); }},
        {L"Paint", ProgramFolder() + L"\\Temp\\temp.bmp", [&] { mnuMspaint_Click(*form); }, [&] { return fresh(PictureFileFormat::Bmp); }},
        {L"/capture", request.savePath, [&] { RunUnattendedCapture(request); },
         [&] { request.savePath = dir.File(L"fresh"); RunUnattendedCapture(request); return ReadFileBytes(request.savePath); }},
    };
    for (const auto& r : roads) {
        ::SetFileAttributesW(r.path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ASSERT_TRUE(WriteFileBytes(r.path, larger)) << Narrow(r.road);
        dialogs.fileAnswers = {r.path};
        r.run();
        const std::string written = ReadFileBytes(r.path);
        EXPECT_TRUE(written.size() < larger.size() && written == r.expected()) << Narrow(r.road);
    }
}

// No crash, no hang, bounded memory, and a file that cannot be shown changes nothing.
// Besides the damaged files: a header that claims 100000 x 100000 pixels, a text file
// and a missing file, each refused in its own words.
TEST_F(Documents, DamagedFilesNeverCrashAndChangeNothingWhenRefused) {
    std::mt19937 random(20240601);
    const std::string png("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\x01\x86\xa0\0\x01\x86\xa0\x08\x02\0\0\0", 29);
    std::vector<std::tuple<std::wstring, std::string, unsigned>> corpus = {
        {dir.File(L"huge.png"), png + std::string(64, '\0'), IDS_DOC_TOO_LARGE},
        {dir.File(L"text.bmp"), "just some text, not a picture", IDS_DOC_CANNOT_DECODE},
        {dir.File(L"absent.bmp"), "", IDS_DOC_CANNOT_READ}};
    // About 60 damaged variants of each valid file: cuts; flipped bits in the headers (claimed
    // sizes among them; the huge PNG is the size guard), then anywhere and maybe cut.
    for (const auto& [ext, format] : {std::pair{L"bmp", PictureFileFormat::Bmp}, std::pair{L"jpg", PictureFileFormat::Jpeg},
                                      std::pair{L"png", PictureFileFormat::Png}}) {
        const std::wstring name = dir.File(std::wstring(L"good.") + ext);
        ASSERT_TRUE(SavePictureFile(BitmapOf(PatternPicture(64, 48, 5)), nullptr, name, format).ok());
        const std::string good = ReadFileBytes(name);
        const size_t n = good.size();
        auto add = [&, ext = ext](std::string bytes) -> std::string& {
            return std::get<1>(corpus.emplace_back(dir.File(L"bad" + std::to_wstring(corpus.size()) + L"." + ext), bytes, 0u));
        };
        for (size_t cut : std::initializer_list<size_t>{0, 1, 2, 8, 16, 30, 54, 100, n / 3, n / 2, n - 10, n - 1})
            add(good.substr(0, cut));
        for (int i = 0; i < 48; ++i) {
            std::string& s = add(good);
            const size_t span = i < 24 ? std::min<size_t>(n, 80) : n;
            for (int f = 1 + random() % (i < 24 ? 4 : 16); f > 0; --f) s[random() % span] ^= char(1 << random() % 8);
            if (i >= 24 && random() % 3 == 0) s.resize(random() % n);
        }
    }
    // Twice through: the first pass lets Wine fill its caches (its decoders keep a few
    // bitmaps after the first very wide picture), the second must leave nothing more.
    form->PlacePicture(PatternPicture(10, 10));
    const size_t memory = PrivateBytes();
    int bitmaps = 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (const auto& [path, bytes, failure] : corpus) {
            SCOPED_TRACE(Narrow(path));
            ASSERT_TRUE(failure == IDS_DOC_CANNOT_READ || WriteFileBytes(path, bytes));
            IPicture* picture = form->Doc().PicBmp.Picture.get();
            const std::wstring title = WindowTitle(form->hwnd());
            dialogs.boxes.clear();
            dialogs.fileAnswers = {path};
            mnuOpen_Click(*form);
            // Refused: one box (in its own words for the huge, text and missing files), the
            // picture and its name stay. Damage the decoder tolerated: shown and named.
            const bool refused = !dialogs.boxes.empty();
            const std::wstring now = WindowTitle(form->hwnd());
            EXPECT_EQ(std::tuple(dialogs.boxes.size() <= 1, form->Doc().PicBmp.Picture.get() == picture,
                                 refused ? now == title : now.find(GetFileName(path)) != now.npos),
                      std::tuple(true, refused, true)) << "one box at most, picture kept, title";
            if (failure) {
                ASSERT_EQ(dialogs.boxes.size(), 1u);
                EXPECT_EQ(dialogs.boxes[0].text.substr(0, 6), LoadText(failure).substr(0, 6));
            }
        }
        if (pass == 0) bitmaps = CountGdiObjects(OBJ_BITMAP);
    }
    EXPECT_LT(PrivateBytes(), memory + (64u << 20)) << "private bytes grew";
    EXPECT_LE(CountGdiObjects(OBJ_BITMAP), bitmaps);
}

// A long session in one running program: captures of every kind, save, clear and
// open, over and over. The first cycles check a file of each kind the name can ask for
// (its kind) and that it opens as the capture (a GIF's palette
// within 256 colours); then nothing may pile up: GDI objects,
// handles, memory, files.
TEST_F(Documents, FiveHundredCyclesOfCaptureSaveClearAndOpen) {
    const struct { const wchar_t* name; const char* magic; double error; } files[] = {
        {L"a.bmp", "BM", 0}, {L"b.png", "\x89PNG", 0}, {L"c.jpg", "\xFF\xD8", 12}, {L"d.gif", "GIF8", 6}, {L"e.TIFF", "II*", 0}};
    auto cycle = [&](int i) {
        i % 100 == 0 ? mnuScreen_Click(*form) : i % 2 ? mnuClient_Click(*form) : mnuTitleBar_Click(*form);
        Pump();  // the view paints each picture
        const auto& f = files[i < 6 ? i % 5 : i % 3];
        const Pixels shot = i < 6 ? ReadPixels(form->Doc().PicBmp.Bitmap()) : Pixels();
        dialogs.fileAnswers = {dir.File(f.name), dir.File(f.name)};
        mnusave_Click(*form);
        EXPECT_FALSE(form->Doc().ImageUnsaved);
        mnuClear_Click(*form);
        mnuOpen_Click(*form);
        Pump();
        if (i >= 6) return;
        const std::string bytes = ReadFileBytes(dir.File(f.name));
        const auto back = Shown();
        ASSERT_EQ(std::tuple(bytes.rfind(f.magic, 0), back.size()), std::tuple(0u, shot.values.size())) << i;
        double error = 0;  // mean difference per colour channel
        for (size_t k = 0; k < back.size() * 3; ++k)
            error += std::abs(int(back[k / 3] >> k % 3 * 8 & 255) - int(shot.values[k / 3] >> k % 3 * 8 & 255));
        EXPECT_LE(error / back.size() / 3, f.error) << i;
    };
    for (int i = 0; i < 6; ++i) cycle(i);  // warm-up: caches filled, every file exists
    auto counts = [n = DWORD()]() mutable {
        return ::GetProcessHandleCount(::GetCurrentProcess(), &n), std::vector{CountGdiObjects(OBJ_BITMAP),
               CountGdiObjects(OBJ_PAL), CountGdiObjects(OBJ_MEMDC), CountGdiObjects(OBJ_DC), int(n)};
    };
    const std::vector<int> before = counts();
    const size_t memory = PrivateBytes();
    for (int i = 6; i < 506; ++i) cycle(i);
    std::vector<int> after = counts();
    after[4] = std::max(before[4], after[4] - before[4] / 20);  // a few handles come and go
    EXPECT_EQ(after, before) << "bitmaps, palettes, memory and window contexts, handles";
    EXPECT_TRUE(dialogs.boxes.empty()) << "no failure was reported";
    EXPECT_LT(static_cast<double>(PrivateBytes()) / memory, 1.05);
    EXPECT_EQ(FileCount(), 5);
}

// The wallpaper is set and cleared; then a fixed file that cannot be replaced stays and
// the picture goes to the user's folder. Paint is played by a recorder registered as the
// edit command of Paint.Picture: the scratch file is written beside the program (its
// missing folder made) and handed to the shell.
TEST_F(Documents, WallpaperWithItsFallbackAndPaintGetTheirFiles) {
    auto current = [] { return RegString(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper"); };
    const std::wstring fixed = L"c:\\windows\\wallpaper.bmp";
    const std::wstring fallback = _wgetenv(L"LOCALAPPDATA") + std::wstring(L"\\Vellumox\\wallpaper.bmp");
    const std::string stale = "a stale wallpaper from an earlier run";
    for (bool readOnly : {false, true}) {
        const std::wstring& expected = readOnly ? fallback : fixed;
        form->PlacePicture(PatternPicture(120, 90, 7 + readOnly));
        ::SetFileAttributesW(fixed.c_str(), FILE_ATTRIBUTE_NORMAL);
        ASSERT_TRUE(!readOnly || WriteFileBytes(fixed, stale)) << "the stale file";
        ASSERT_TRUE(!readOnly || ::SetFileAttributesW(fixed.c_str(), FILE_ATTRIBUTE_READONLY)) << "read-only";
        mnuWallpaper_Click(*form);
        EXPECT_EQ(_wcsicmp(current().c_str(), expected.c_str()), 0) << Narrow(current());
        EXPECT_EQ(PixelsOf(BitmapOf(LoadPictureFile(expected).value)), Shown()) << Narrow(expected);
        mnuClearWall_Click(*form);
        EXPECT_EQ(current(), L"");
    }
    ASSERT_TRUE(::SetFileAttributesW(fixed.c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(ReadFileBytes(fixed) == stale) << "the stale file was overwritten";
    ::DeleteFileW(fixed.c_str());

    const std::wstring log = dir.File(L"paint.log"), folder = ProgramFolder() + L"\\Temp", scratch = folder + L"\\temp.bmp";
    const std::wstring command = L"\"" + TestProgram(L"paint_recorder.exe") + L"\" \"%1\"";
    ::SetEnvironmentVariableW(L"VX_PAINT_LOG", log.c_str());
    ASSERT_TRUE((::DeleteFileW(scratch.c_str()), ::RemoveDirectoryW(folder.c_str())));
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CLASSES_ROOT, L"Paint.Picture\\shell\\edit\\command", nullptr, REG_SZ, command.c_str(),
                                (command.size() + 1) * sizeof(wchar_t)), ERROR_SUCCESS);
    mnuMspaint_Click(*form);
    std::string line;  // the recorder's line: the file it was given, a tab, its size
    PumpUntil([&] { return (line = ReadFileBytes(log)).find('\n') != std::string::npos; }, 15000);
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L"Paint.Picture");
    EXPECT_NE(line.find(Narrow(scratch) + "\t" + std::to_string(ReadFileBytes(scratch).size())), std::string::npos) << line;
    EXPECT_EQ(std::tuple(PixelsOf(BitmapOf(LoadPictureFile(scratch).value)) == Shown(), dialogs.boxes.size()), std::tuple(true, 0u));
}

}  // namespace
}  // namespace vx::test
