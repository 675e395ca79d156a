// Language files re-captioning the real window (title, status panel 1, 23 menu items),
// the shortcuts, and Help: the system's notepad on readme.txt.
#include <filesystem>

#include "help/help_viewer.h"
#include "language/language_loader.h"
#include "main_window/menu_definition.h"
#include "platform/program_path.h"
#include "win_test_support.h"

namespace vx::test {
namespace {

// What a person sees in the 25 places a language file reaches, in file order: the
// title, status panel 1 and the menu items (with their shortcuts).
std::vector<std::wstring> Targets(const FrmMain& form) {
    wchar_t text[8192] = {};  // room for the longest line a file may give
    ::SendMessageW(form.StatusBar1(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    std::vector<std::wstring> out = {WindowTitle(form.hwnd()), text};
    for (unsigned id : kLanguageMenuOrder) {
        ::GetMenuStringW(form.Menu(), id, text, 8192, MF_BYCOMMAND);
        out.push_back(text);
    }
    return out;
}

// The targets showing `captions` and the built-in texts after them, every shortcut kept.
std::vector<std::wstring> Expected(std::vector<std::wstring> captions = {}) {
    for (unsigned id = IDS_TITLE + captions.size(); id <= IDS_MNU_HOWTO; ++id) captions.push_back(LoadText(id));
    for (size_t i = 2; i < captions.size(); ++i)
        for (const auto& entry : kMenuDefinition)
            if (entry.id == kLanguageMenuOrder[i - 2] && entry.shortcut) captions[i] += std::wstring(L"\t") + entry.shortcut;
    return captions;
}

struct LanguageTest : MainWindowTest {
    ScriptedDialogs dialogs;
    TempDir dir;
};

// A missing file, or a folder, changes nothing, and the missing file is named. Line n
// reaches target n; a shorter file changes fewer targets; an empty caption keeps its
// shortcut; broken UTF-8 is replaced (the splitting of lines is the core tests'). Then
// English, all in ASCII, and Chinese gives back every built-in caption.
TEST_F(LanguageTest, ChineseFileReproducesTheBuiltInInterfaceAfterEnglish) {
    ASSERT_EQ(Targets(*form), Expected());
    const std::wstring shipped = ProgramFolder() + L"\\language\\English.lng", hidden = shipped + L".hidden";
    ASSERT_TRUE(::MoveFileExW(shipped.c_str(), hidden.c_str(), MOVEFILE_REPLACE_EXISTING));
    mnuEnglish_Click(*form);
    ::MoveFileExW(hidden.c_str(), shipped.c_str(), MOVEFILE_REPLACE_EXISTING);
    EXPECT_FALSE(ApplyLanguageFile(*form, dir.path, L""));
    EXPECT_EQ(Targets(*form), Expected());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_NE(dialogs.boxes[0].text.find(shipped), shipped.npos) << Narrow(dialogs.boxes[0].text);

    WriteFileBytes(dir.File(L"test.lng"), "\xEF\xBB\xBF" "T\r\nS\na\x80z\r\xE6\x96\x87\r\n\r\nab\r\n\xE6\x96z\r\n\r\n\r\n\r\nF");
    ASSERT_TRUE(ApplyLanguageFile(*form, dir.path, L"\\test.lng"));
    EXPECT_EQ(Targets(*form), Expected({L"T", L"S", L"a\xFFFDz", L"\x6587", L"", L"ab", L"\xFFFDz", L"", L"", L"", L"F"}));

    mnuEnglish_Click(*form);
    const auto english = Targets(*form), builtIn = Expected();
    for (size_t i = 0; i < english.size(); ++i)
        EXPECT_EQ(std::tuple(english[i] != builtIn[i], Narrow(english[i]).size()), std::tuple(true, english[i].size())) << i;
    mnuChinese_Click(*form);
    EXPECT_EQ(std::tuple(Targets(*form), dialogs.boxes.size()), std::tuple(builtIn, 1u));
}

// Needs a prefix whose ANSI code page is 936 (tests/e2e/language_gbk_test.sh makes one).
// "文件(&F)" and "欢迎" in GBK, no byte-order mark (the shipped files carry the mark, and a
// mark decides whatever the code page).
TEST_F(LanguageTest, GbkFileWithoutMarkDecodesInCodePage936) {
    if (::GetACP() != 936) GTEST_SKIP() << "ANSI code page is " << ::GetACP() << ", not 936";
    WriteFileBytes(dir.File(L"gbk.lng"), "\xCE\xC4\xBC\xFE(&F)\r\n\xBB\xB6\xD3\xAD\r\n\xCE\xC4\xBC\xFE(&F)\r\n");
    ASSERT_TRUE(ApplyLanguageFile(*form, dir.path, L"\\gbk.lng"));
    EXPECT_EQ(Targets(*form), Expected({L"文件(&F)", L"欢迎", L"文件(&F)"}));
}

// A program in a folder with spaces, and a notepad.exe planted beside the tests and in
// that folder (the current folder while Help starts): neither may run, and the system's
// notepad shows that folder's readme.
TEST_F(LanguageTest, HelpRunsTheSystemNotepadOnTheQuotedReadme) {
    const std::wstring folder = dir.File(L"Program Files With Spaces");
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(folder + L"\\readme.txt", "help text beside a program in a folder with spaces\r\n"));
    const std::wstring planted[] = {ProgramFolder() + L"\\notepad.exe", folder + L"\\notepad.exe"};
    for (const auto& path : planted) ASSERT_TRUE(::CopyFileW(TestProgram(L"vxprobe.exe").c_str(), path.c_str(), FALSE));
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    UniqueProcess editor = StartHelpViewer(folder);
    std::filesystem::current_path(previous);
    ::DeleteFileW(planted[0].c_str());
    ASSERT_TRUE(editor);
    wchar_t image[MAX_PATH] = {}, text[4096] = {};
    DWORD size = MAX_PATH;
    ::QueryFullProcessImageNameW(editor.get(), 0, image, &size);
    EXPECT_EQ(_wcsicmp(image, (_wgetenv(L"SystemRoot") + std::wstring(L"\\system32\\notepad.exe")).c_str()), 0) << Narrow(image);
    HWND edit = nullptr;
    PumpUntil([&] { return (edit = ::FindWindowExW(::FindWindowW(L"Notepad", nullptr), nullptr, L"Edit", nullptr)) != nullptr; }, 10000);
    ::SendMessageTimeoutW(edit, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
    EXPECT_STREQ(text, L"help text beside a program in a folder with spaces\r\n");
    ::TerminateProcess(editor.get(), 0);
}

std::vector<std::uint32_t> DrawChar(const LOGFONTW& font, const wchar_t* text) {
    UniqueWindowDc screen = UniqueWindowDc::Client(nullptr);
    UniqueCreatedDc memory(::CreateCompatibleDC(screen.get()));
    UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), 64, 64));
    UniqueFont hfont(::CreateFontIndirectW(&font));
    {
        SelectGuard selectBitmap(memory.get(), bitmap.get());
        SelectGuard selectFont(memory.get(), hfont.get());
        RECT all{0, 0, 64, 64};
        ::FillRect(memory.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ::TextOutW(memory.get(), 4, 4, text, 1);
    }
    return PixelsOf(bitmap.get());
}

// Chinese captions need a glyph behind the interface fonts (menus, tooltips and status
// bar, message boxes, controls): in a prefix without a CJK font linked, "文" draws as
// the same empty box as an unassigned private-use character.
TEST(Fonts, ChineseHasGlyphsInEveryInterfaceFont) {
    NONCLIENTMETRICSW metrics{sizeof metrics};
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    LOGFONTW controls{};
    ASSERT_TRUE(::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof controls, &controls));
    for (const LOGFONTW& font : {metrics.lfMenuFont, metrics.lfStatusFont, metrics.lfMessageFont, controls})
        EXPECT_TRUE(DrawChar(font, L"\u6587") != DrawChar(font, L"\uE000"))
            << "no Chinese glyph behind \"" << Narrow(font.lfFaceName) << "\": captions would be boxes";
}

}  // namespace
}  // namespace vx::test
