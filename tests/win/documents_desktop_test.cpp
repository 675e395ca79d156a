// Clear, wallpaper, edit in Paint and print through the real commands.
#include <shlobj.h>

#include "commands/picture_io.h"
#include "documents_support.h"
#include "platform/program_path.h"
#include "resources/resource.h"

namespace vx::test {
namespace {

using DocumentDesktop = MainWindowTest;

std::wstring CurrentWallpaper() {
    wchar_t path[MAX_PATH] = {};
    ::SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0);
    return path;
}

std::wstring RegistryWallpaper() { return RegString(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper"); }

// The file decodes to exactly the picture in the view.
bool HoldsTheView(const std::wstring& path, const FrmMain& form) {
    Outcome outcome;
    return PixelsOf(BitmapOf(LoadPictureFile(path, outcome))) == PixelsOf(form.Doc().PicBmp.Bitmap());
}

TEST_F(DocumentDesktop, ClearEmptiesTheViewAndFreesThePicture) {
    const int bitmaps = CountGdiObjects(OBJ_BITMAP);
    form->PlacePicture(PatternPicture(50, 40));
    form->Doc().ImageUnsaved = true;
    EXPECT_EQ(CountGdiObjects(OBJ_BITMAP), bitmaps + 1);
    mnuClear_Click(*form);
    EXPECT_TRUE(form->Doc().PicBmp.Empty());
    EXPECT_FALSE(form->Doc().ImageUnsaved);  // nothing left to ask about at exit
    EXPECT_EQ(CountGdiObjects(OBJ_BITMAP), bitmaps);
    mnuClear_Click(*form);  // again, with nothing there
    EXPECT_TRUE(form->Doc().PicBmp.Empty());
}

TEST_F(DocumentDesktop, WallpaperWritesTheFileSetsItAndClears) {
    ScriptedDialogs dialogs;
    const std::wstring fixed = L"c:\\windows\\wallpaper.bmp";
    ::SetFileAttributesW(fixed.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(fixed.c_str());

    // No image: told so, no file, the setting untouched.
    mnuClearWall_Click(*form);
    mnuWallpaper_Click(*form);
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_FALSE(FileExists(fixed));
    EXPECT_EQ(CurrentWallpaper(), L"");

    form->PlacePicture(PatternPicture(120, 90, 7));
    mnuWallpaper_Click(*form);
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(Lower(CurrentWallpaper()), fixed);
    EXPECT_EQ(Lower(RegistryWallpaper()), fixed);
    EXPECT_TRUE(HoldsTheView(fixed, *form));

    // Again with another picture: the file is replaced.
    form->PlacePicture(PatternPicture(60, 30, 8));
    mnuWallpaper_Click(*form);
    EXPECT_TRUE(HoldsTheView(fixed, *form));

    mnuClearWall_Click(*form);
    EXPECT_EQ(CurrentWallpaper(), L"");
    EXPECT_EQ(RegistryWallpaper(), L"");
}

TEST_F(DocumentDesktop, WallpaperFallsBackToTheUserFolderWhenTheFixedFileIsLocked) {
    ScriptedDialogs dialogs;
    const std::wstring fixed = L"c:\\windows\\wallpaper.bmp";
    const std::string stale = "a stale wallpaper from an earlier run";
    ::SetFileAttributesW(fixed.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(WriteFileBytes(fixed, stale));
    ::SetFileAttributesW(fixed.c_str(), FILE_ATTRIBUTE_READONLY);

    form->PlacePicture(PatternPicture(80, 60, 9));
    mnuWallpaper_Click(*form);
    ::SetFileAttributesW(fixed.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_TRUE(ReadFileBytes(fixed) == stale);
    PWSTR local = nullptr;
    ASSERT_HRESULT_SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &local));
    const std::wstring expected = std::wstring(local) + L"\\Vellumox\\wallpaper.bmp";
    ::CoTaskMemFree(local);
    EXPECT_EQ(Lower(CurrentWallpaper()), Lower(expected));
    EXPECT_TRUE(HoldsTheView(expected, *form));
    mnuClearWall_Click(*form);
    ::DeleteFileW(fixed.c_str());
}

// Paint is played by a recorder registered as the edit command of Paint.Picture.
class DocumentPaint : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        log_ = logDir_.File(L"paint.log");
        ::SetEnvironmentVariableW(L"VX_PAINT_LOG", log_.c_str());
        ASSERT_TRUE(SetRegString(HKEY_CLASSES_ROOT, L"Paint.Picture\\shell\\edit\\command", nullptr,
                                 L"\"" + TestProgram(L"paint_recorder.exe") + L"\" \"%1\""));
        scratch_ = ProgramFolder() + L"\\Temp\\temp.bmp";
        ::DeleteFileW(scratch_.c_str());
    }
    void TearDown() override {
        ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L"Paint.Picture");
        ::CreateDirectoryW((ProgramFolder() + L"\\Temp").c_str(), nullptr);
        MainWindowTest::TearDown();
    }
    // The recorder's lines once there are `count` of them (or what came within 15 s).
    std::vector<std::string> WaitForLines(size_t count) {
        std::vector<std::string> lines;
        for (int i = 0; i < 300; ++i) {
            lines.clear();
            std::string text = ReadFileBytes(log_);
            for (size_t start = text.compare(0, 3, "\xEF\xBB\xBF") ? 0 : 3, end;
                 (end = text.find('\n', start)) != std::string::npos; start = end + 1)
                lines.push_back(text.substr(start, end - start - (end > start && text[end - 1] == '\r')));
            if (lines.size() >= count) break;
            Pump(50);
        }
        return lines;
    }
    TempDir logDir_;
    std::wstring log_, scratch_;
};

TEST_F(DocumentPaint, EachRunWritesTheScratchFileAndAsksTheShellAgain) {
    ScriptedDialogs dialogs;
    // No image: told so, no file, no request.
    mnuMspaint_Click(*form);
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_FALSE(FileExists(scratch_));

    form->PlacePicture(PatternPicture(70, 50, 11));
    mnuMspaint_Click(*form);
    auto lines = WaitForLines(1);
    ASSERT_EQ(lines.size(), 1u);
    const std::string first = ReadFileBytes(scratch_);
    EXPECT_EQ(lines[0], Narrow(scratch_) + "\t" + std::to_string(first.size()));
    EXPECT_TRUE(HoldsTheView(scratch_, *form));

    // A second run overwrites the file and makes a second request.
    form->PlacePicture(PatternPicture(71, 50, 12));
    mnuMspaint_Click(*form);
    lines = WaitForLines(2);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(HoldsTheView(scratch_, *form));
    EXPECT_FALSE(ReadFileBytes(scratch_) == first);
    EXPECT_EQ(dialogs.boxes.size(), 1u);
}

TEST_F(DocumentPaint, AMissingTempFolderIsMade) {
    ScriptedDialogs dialogs;
    const std::wstring folder = ProgramFolder() + L"\\Temp";
    ASSERT_TRUE(::RemoveDirectoryW(folder.c_str()));
    form->PlacePicture(PatternPicture(30, 20));
    mnuMspaint_Click(*form);
    EXPECT_EQ(WaitForLines(1).size(), 1u);
    EXPECT_TRUE(FileExists(scratch_));
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(DocumentPaint, NoPaintRegisteredIsToldFromTheMenuOnly) {
    ScriptedDialogs dialogs;
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L"Paint.Picture");
    form->PlacePicture(PatternPicture(30, 20));
    form->Toolbar1_ButtonClick(12);
    EXPECT_TRUE(dialogs.boxes.empty());
    mnuMspaint_Click(*form);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text.substr(0, 5), LoadText(IDS_DOC_SHELL_FAILED).substr(0, 5));
    Pump(200);
    // Nothing of the shell's own on the screen either.
    EXPECT_EQ(::FindWindowW(nullptr, L"Error"), nullptr);
    EXPECT_TRUE(WaitForLines(0).empty());
}

TEST_F(DocumentDesktop, PrintWithoutImageOrPrinterSaysSoAndShowsNoDialog) {
    ScriptedDialogs dialogs;
    int shown = 0;
    dialogs.print = [&](PRINTDLGW&) { ++shown; return false; };
    mnuprint_Click(*form);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, LoadText(IDS_DOC_NO_IMAGE));
    // The test prefix has no printer.
    form->PlacePicture(PatternPicture(30, 20));
    mnuprint_Click(*form);
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[1].text, LoadText(IDS_DOC_NO_PRINTER));
    form->Toolbar1_ButtonClick(14);
    EXPECT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(shown, 0);
}

}  // namespace
}  // namespace vx::test
