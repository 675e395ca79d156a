// Language files re-captioning the real window (title, status panel 1, 23 menu items),
// the shortcuts, and Help: the system's notepad on readme.txt.
#include <algorithm>

#include "language/help_viewer.h"
#include "language/language_loader.h"
#include "main_window/menu_definition.h"
#include "platform/program_path.h"
#include "win_test_support.h"

namespace vx::test {
namespace {

std::wstring MenuText(HMENU menu, unsigned id) {
    std::wstring text(8192, L'\0');  // room for the longest line a file may give
    ::GetMenuStringW(menu, id, text.data(), static_cast<int>(text.size()), MF_BYCOMMAND);
    return text.c_str();
}

// What a person sees in the 25 places a language file reaches, in file order (menu
// captions without their shortcut, which must survive every re-captioning).
std::vector<std::wstring> Targets(const FrmMain& form) {
    wchar_t status[8192] = {};
    ::SendMessageW(form.StatusBar1(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(status));
    std::vector<std::wstring> out = {WindowTitle(form.hwnd()), status};
    for (unsigned id : kLanguageMenuOrder) {
        std::wstring text = MenuText(form.Menu(), id);
        const auto entry = std::find_if(kMenuDefinition.begin(), kMenuDefinition.end(), [&](auto& e) { return e.id == id; });
        if (entry->shortcut) {
            const std::wstring tail = std::wstring(L"\t") + entry->shortcut;
            EXPECT_TRUE(text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail) << Narrow(text);
            text.resize(text.size() - std::min(text.size(), tail.size()));
        }
        out.push_back(text);
    }
    return out;
}

std::vector<std::wstring> BuiltInTexts() {
    std::vector<std::wstring> out;
    for (unsigned id = IDS_TITLE; id <= IDS_MNU_HOWTO; ++id) out.push_back(LoadText(id));
    return out;
}

class LanguageTest : public MainWindowTest {
protected:
    ScriptedDialogs dialogs;
    TempDir dir;
};

// A missing file changes nothing and is named; English then Chinese gives back every
// built-in caption.
TEST_F(LanguageTest, ChineseFileReproducesTheBuiltInInterfaceAfterEnglish) {
    const auto builtIn = Targets(*form);
    ASSERT_EQ(builtIn, BuiltInTexts());
    const std::wstring shipped = ProgramFolder() + L"\\language\\English.lng", hidden = shipped + L".hidden";
    ASSERT_TRUE(::MoveFileExW(shipped.c_str(), hidden.c_str(), MOVEFILE_REPLACE_EXISTING));
    mnuEnglish_Click(*form);
    ::MoveFileExW(hidden.c_str(), shipped.c_str(), MOVEFILE_REPLACE_EXISTING);
    EXPECT_FALSE(ApplyLanguageFile(*form, dir.path, L""));  // a folder is no file either
    EXPECT_EQ(Targets(*form), builtIn);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_NE(dialogs.boxes[0].text.find(shipped), std::wstring::npos) << Narrow(dialogs.boxes[0].text);
    mnuEnglish_Click(*form);
    const auto english = Targets(*form);
    for (size_t i = 0; i < english.size(); ++i)  // in ASCII
        EXPECT_TRUE(english[i] != builtIn[i] && Narrow(english[i]).size() == english[i].size()) << i;
    mnuChinese_Click(*form);
    EXPECT_EQ(Targets(*form), builtIn);
    EXPECT_EQ(dialogs.boxes.size(), 1u);
}

// Line n reaches target n; a shorter file changes fewer targets; an empty caption keeps
// its shortcut; broken UTF-8 is replaced (the splitting of lines is the core's).
TEST_F(LanguageTest, LinesReachTheirTargetsWhateverTheLineEnds) {
    WriteFileBytes(dir.File(L"test.lng"), "\xEF\xBB\xBF" "T\r\nS\na\x80z\r\xE6\x96\x87\r\n\r\nab\r\n\xE6\x96z\r\n\r\n\r\n\r\nF");
    ASSERT_TRUE(ApplyLanguageFile(*form, dir.path, L"\\test.lng"));
    auto expected = BuiltInTexts();
    const std::wstring lines[] = {L"T", L"S", L"a\xFFFDz", L"\x6587", L"", L"ab", L"\xFFFDz", L"", L"", L"", L"F"};
    std::copy(std::begin(lines), std::end(lines), expected.begin());
    EXPECT_EQ(Targets(*form), expected);  // line 10 empties Exit, its shortcut stays
    EXPECT_TRUE(dialogs.boxes.empty());
}

// Needs a prefix whose ANSI code page is 936 (tests/e2e/language_gbk_test.sh makes one).
// "文件(&F)" and "欢迎" in GBK, no byte-order mark; the shipped files carry the mark and
// read the same in this code page.
TEST_F(LanguageTest, GbkFileWithoutMarkDecodesInCodePage936) {
    if (::GetACP() != 936) GTEST_SKIP() << "ANSI code page is " << ::GetACP() << ", not 936";
    WriteFileBytes(dir.File(L"gbk.lng"), "\xCE\xC4\xBC\xFE(&F)\r\n\xBB\xB6\xD3\xAD\r\n\xCE\xC4\xBC\xFE(&F)\r\n");
    ASSERT_TRUE(ApplyLanguageFile(*form, dir.path, L"\\gbk.lng"));
    const auto targets = Targets(*form);
    EXPECT_EQ(std::vector(targets.begin(), targets.begin() + 3), (std::vector<std::wstring>{L"文件(&F)", L"欢迎", L"文件(&F)"}));
    mnuEnglish_Click(*form);
    mnuChinese_Click(*form);
    EXPECT_EQ(Targets(*form), BuiltInTexts());
}

// The text in the system notepad's edit box, once it is up.
std::wstring EditorText(HANDLE process) {
    ::WaitForInputIdle(process, 10000);
    HWND edit = nullptr;
    for (int attempt = 0; attempt < 200 && !edit; ++attempt, ::Sleep(50))
        if (HWND editor = ::FindWindowW(L"Notepad", nullptr)) edit = ::FindWindowExW(editor, nullptr, L"Edit", nullptr);
    std::wstring text(65536, L'\0');
    ::SendMessageTimeoutW(edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 5000, nullptr);
    return text.c_str();
}

// A program in a folder with spaces, and a notepad.exe planted beside the tests and in
// that folder (the current folder while Help starts): neither may run. (Help without a
// readme is in the closing tests.)
TEST_F(LanguageTest, HelpRunsTheSystemNotepadOnTheQuotedReadme) {
    const std::wstring folder = dir.File(L"Program Files With Spaces");
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(folder + L"\\readme.txt", "help text beside a program in a folder with spaces\r\n"));
    const std::wstring planted[] = {ProgramFolder() + L"\\notepad.exe", folder + L"\\notepad.exe"};
    for (const auto& path : planted) ASSERT_TRUE(::CopyFileW(TestProgram(L"vxprobe.exe").c_str(), path.c_str(), FALSE));
    wchar_t previous[MAX_PATH] = {}, system[MAX_PATH] = {}, image[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ::SetCurrentDirectoryW(folder.c_str());
    UniqueProcess editor = StartHelpViewer(folder);
    ::SetCurrentDirectoryW(previous);
    ::DeleteFileW(planted[0].c_str());
    ASSERT_TRUE(editor);
    ::GetSystemDirectoryW(system, MAX_PATH);
    DWORD size = MAX_PATH;
    ::QueryFullProcessImageNameW(editor.get(), 0, image, &size);
    EXPECT_EQ(_wcsicmp(image, (std::wstring(system) + L"\\notepad.exe").c_str()), 0) << Narrow(image);
    EXPECT_EQ(EditorText(editor.get()), L"help text beside a program in a folder with spaces\r\n");
    ::TerminateProcess(editor.get(), 0);
}

}  // namespace
}  // namespace vx::test
