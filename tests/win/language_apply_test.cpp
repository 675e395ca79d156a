// Language files re-captioning the real window: title, status panel 1, 23 menu items.
#include <cwctype>
#include <random>

#include "language/language_file.h"
#include "language/language_loader.h"
#include "main_window/menu_definition.h"
#include "main_window/toolbar_definition.h"
#include "platform/program_path.h"
#include "resources/resource.h"
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
    std::vector<std::wstring> out = {WindowTitle(form.hwnd()), StatusText(form.StatusBar1(), 0)};
    for (unsigned id : kLanguageMenuOrder) {
        std::wstring text = MenuText(form.Menu(), id);
        for (const auto& entry : kMenuDefinition) {
            if (entry.id != id || !entry.shortcut) continue;
            const std::wstring tail = std::wstring(L"\t") + entry.shortcut;
            EXPECT_TRUE(text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0)
                << Narrow(text);
            text.resize(text.size() >= tail.size() ? text.size() - tail.size() : 0);
        }
        out.push_back(text);
    }
    return out;
}

std::vector<std::wstring> BuiltInTexts(const FrmMain& form) {
    std::vector<std::wstring> out;
    for (unsigned id = IDS_TITLE; id <= IDS_MNU_HOWTO; ++id) out.push_back(LoadText(id));
    return out;
}

// Every menu's item ids, separators and grey items: the structure a file must not touch.
std::wstring MenuShape(HMENU menu) {
    std::wstring shape;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        MENUITEMINFOW info{sizeof info};
        info.fMask = MIIM_FTYPE | MIIM_SUBMENU | MIIM_ID | MIIM_STATE;
        ::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        shape += (info.fType & MFT_SEPARATOR) ? L"-" : std::to_wstring(info.wID) + (info.fState & MFS_GRAYED ? L"g" : L"");
        if (info.hSubMenu) shape += L"(" + MenuShape(info.hSubMenu) + L")";
        shape += L",";
    }
    return shape;
}

std::string CrLfFile(const std::vector<std::wstring>& lines) {
    std::string bytes = "\xEF\xBB\xBF";
    for (const auto& line : lines) bytes += Narrow(line) + "\r\n";
    return bytes;
}

// The captions the lines of a file should give: split by the core reader (tested on
// its own), decoded as UTF-8 after the mark and in the ANSI code page otherwise.
std::vector<std::wstring> Decoded(const std::string& bytes) {
    const LanguageLines split = SplitLanguageFile(bytes);
    std::vector<std::wstring> out;
    for (const std::string& line : split.lines) {
        std::wstring text(line.size(), L'\0');
        text.resize(static_cast<size_t>(::MultiByteToWideChar(split.encoding == LanguageEncoding::Utf8 ? CP_UTF8 : CP_ACP,
                                                               0, line.data(), static_cast<int>(line.size()),
                                                               text.data(), static_cast<int>(text.size()))));
        out.push_back(text);
    }
    return out;
}

class LanguageTest : public MainWindowTest {};

TEST_F(LanguageTest, ChineseFileReproducesTheBuiltInInterface) {
    ScriptedDialogs dialogs;
    const auto builtIn = Targets(*form);
    ASSERT_EQ(builtIn, BuiltInTexts(*form));
    const std::wstring shape = MenuShape(form->Menu());

    mnuEnglish_Click(*form);
    ASSERT_NE(Targets(*form), builtIn);
    mnuChinese_Click(*form);
    EXPECT_EQ(Targets(*form), builtIn);
    EXPECT_EQ(MenuShape(form->Menu()), shape);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(LanguageTest, EnglishFileGivesEnglishCaptionsAndLeavesMessagesChinese) {
    ScriptedDialogs dialogs;
    const std::wstring shape = MenuShape(form->Menu());
    mnuEnglish_Click(*form);

    // The shipped file: UTF-8 after the mark, every target in plain English.
    const std::string bytes = ReadFileBytes(ProgramFolder() + L"\\language\\English.lng");
    ASSERT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    const auto targets = Targets(*form);
    EXPECT_EQ(targets, Decoded(bytes));
    for (const auto& text : targets)
        for (wchar_t c : text) EXPECT_LT(c, 0x80) << Narrow(text);
    EXPECT_EQ(targets[0], L"Vellumox v2.30");
    EXPECT_EQ(MenuText(form->Menu(), IDM_SAVE), L"&Save...\tCtrl+S");
    EXPECT_EQ(MenuShape(form->Menu()), shape);

    // Tooltips, the About box and the close question keep their built-in texts.
    EXPECT_EQ(TooltipOf(form->hwnd(), ToolbarButtonId(2)), L"打开");
    mnuAbout_Click(*form);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].title, L"关于");
    EXPECT_EQ(dialogs.boxes[0].text, L"Vellumox\r\n\r\nhttps://vellumox.example/");
    EXPECT_EQ(dialogs.boxes[0].style, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    form->PlacePicture(PatternPicture(10, 10));
    form->Doc().ImageUnsaved = true;
    dialogs.boxAnswers = {IDCANCEL};
    EXPECT_FALSE(form->RequestClose());
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[1].text, L"  文件还没有保存，您要保存吗?");
}

TEST_F(LanguageTest, LinesReachTheirTargetsWhateverTheLineEnds) {
    ScriptedDialogs dialogs;
    TempDir dir;
    const auto builtIn = BuiltInTexts(*form);

    // Line 10 empty: only mnuExit loses its caption (its shortcut stays).
    std::vector<std::wstring> lines = builtIn;
    lines[9].clear();
    WriteFileBytes(dir.File(L"gap.lng"), CrLfFile(lines));
    ASSERT_TRUE(ApplyLanguageFile(*form, dir.path(), L"\\gap.lng"));
    EXPECT_EQ(Targets(*form), lines);
    EXPECT_EQ(MenuText(form->Menu(), IDM_EXIT), L"\tCtrl+Q");

    // Line feeds alone, without the mark, plain ASCII: still 25 lines, blanks kept.
    std::string lf;
    std::vector<std::wstring> expected;
    for (int i = 1; i <= 30; ++i) {
        const std::string text = " item " + std::to_string(i) + "  ";
        lf += text + "\n";
        if (i <= kLanguageLineCount) expected.push_back(std::wstring(text.begin(), text.end()));
    }
    WriteFileBytes(dir.File(L"lf.lng"), lf);
    ASSERT_TRUE(ApplyLanguageFile(*form, dir.path(), L"\\lf.lng"));
    EXPECT_EQ(Targets(*form), expected);

    // Three lines, the last without a terminator: only the first three targets change.
    WriteFileBytes(dir.File(L"short.lng"), "T\rS\r\nF");
    mnuChinese_Click(*form);
    ASSERT_TRUE(ApplyLanguageFile(*form, dir.path(), L"\\short.lng"));
    std::vector<std::wstring> partial = builtIn;
    partial[0] = L"T";
    partial[1] = L"S";
    partial[2] = L"F";
    EXPECT_EQ(Targets(*form), partial);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(LanguageTest, MissingFileChangesNothingAndSaysWhichFile) {
    ScriptedDialogs dialogs;
    const std::wstring shipped = ProgramFolder() + L"\\language\\English.lng";
    const std::wstring hidden = shipped + L".hidden";
    ASSERT_TRUE(::MoveFileExW(shipped.c_str(), hidden.c_str(), MOVEFILE_REPLACE_EXISTING));
    struct Restore {
        std::wstring from, to;
        ~Restore() { ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING); }
    } restore{hidden, shipped};

    const auto before = Targets(*form);
    mnuEnglish_Click(*form);
    EXPECT_EQ(Targets(*form), before);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_NE(dialogs.boxes[0].text.find(shipped), std::wstring::npos) << Narrow(dialogs.boxes[0].text);

    // From the toolbar road the same failure would be silent; a folder is no file either.
    TempDir dir;
    EXPECT_FALSE(ApplyLanguageFile(*form, dir.path(), L""));
    EXPECT_EQ(Targets(*form), before);
}

TEST_F(LanguageTest, FileAtADriveRootIsFoundThroughTheDoubledSeparator) {
    const std::wstring path = L"C:\\vx_language_root_test.lng";
    WriteFileBytes(path, CrLfFile({L"Root title", L"Root status", L"Root &File"}));
    const bool applied = ApplyLanguageFile(*form, L"C:\\", L"\\vx_language_root_test.lng");
    ::DeleteFileW(path.c_str());
    ASSERT_TRUE(applied);
    const auto targets = Targets(*form);
    EXPECT_EQ(targets[0], L"Root title");
    EXPECT_EQ(targets[2], L"Root &File");
}

// Needs a prefix whose ANSI code page is 936 (tests/e2e/language_gbk_test.sh makes one).
TEST_F(LanguageTest, GbkFileWithoutMarkDecodesInCodePage936) {
    if (::GetACP() != 936) GTEST_SKIP() << "ANSI code page is " << ::GetACP() << ", not 936";
    TempDir dir;
    // "文件(&F)" and "欢迎" in GBK, no byte-order mark, CR LF.
    WriteFileBytes(dir.File(L"gbk.lng"), "\xCE\xC4\xBC\xFE(&F)\r\n\xBB\xB6\xD3\xAD\r\n\xCE\xC4\xBC\xFE(&F)\r\n");
    ASSERT_TRUE(ApplyLanguageFile(*form, dir.path(), L"\\gbk.lng"));
    const auto targets = Targets(*form);
    EXPECT_EQ(targets[0], L"文件(&F)");
    EXPECT_EQ(targets[1], L"欢迎");
    EXPECT_EQ(targets[2], L"文件(&F)");
    // The shipped files carry the mark and read the same in this code page.
    mnuEnglish_Click(*form);
    mnuChinese_Click(*form);
    EXPECT_EQ(Targets(*form), BuiltInTexts(*form));
}

// How the status bar keeps a text: non-printing characters as blanks, and a text of
// blanks alone as nothing.
std::wstring Printable(std::wstring text) {
    for (auto& c : text) c = ::iswprint(c) ? c : L' ';
    return text.find_first_not_of(L' ') == std::wstring::npos ? std::wstring() : text;
}

std::string Generate(std::mt19937& random, int round) {
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    // Broken UTF-8 (lone continuation bytes, cut sequences, overlongs, surrogates), NUL
    // bytes inside text, plain text; then every mix of CR and LF.
    static const std::string kPieces[] = {"\x80", "\xE6\x96", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                                          "\xFF", "\xE6\x96\x87", std::string("ab\0\0cd", 6), "x"};
    static const char* const kEnds[] = {"\r\n", "\r", "\n", "\n\r", "\r\r\n", "", "\r\n\r\n"};
    std::string bytes = pick(2) ? "\xEF\xBB\xBF" : "";
    for (int part = 1 + pick(40); part > 0; --part) {
        if (round % 3 == 0) {  // random bytes
            for (int i = pick(200); i > 0; --i) bytes += static_cast<char>(random());
        } else if (round % 3 == 1) {  // very long lines
            bytes += std::string(static_cast<size_t>(pick(3) == 0 ? 20000 + pick(50000) : pick(300)), 'A');
        } else {
            bytes += kPieces[pick(9)];
        }
        bytes += kEnds[pick(7)];
    }
    return bytes;
}

TEST_F(LanguageTest, GeneratedBadFilesNeverCrashAndOnlySetDecodedText) {
    TempDir dir;
    const std::wstring shape = MenuShape(form->Menu());
    std::mt19937 random(20240607);
    auto targets = Targets(*form);
    const DWORD start = ::GetTickCount();
    for (int round = 0; round < 1000; ++round) {
        const std::string bytes = Generate(random, round);
        WriteFileBytes(dir.File(L"bad.lng"), bytes);
        ASSERT_TRUE(ApplyLanguageFile(*form, dir.path(), L"\\bad.lng")) << "round " << round;
        const auto expected = Decoded(bytes);
        for (size_t i = 0; i < expected.size(); ++i) targets[i] = expected[i];
        auto seen = Targets(*form);
        targets[1] = Printable(targets[1]);
        seen[1] = Printable(seen[1]);
        ASSERT_EQ(seen, targets) << "round " << round;
        if (HasFailure()) return;
    }
    EXPECT_EQ(MenuShape(form->Menu()), shape);
    EXPECT_LT(::GetTickCount() - start, 60000u);
}

}  // namespace
}  // namespace vx::test
