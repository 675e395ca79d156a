// Language files re-captioning the real window: title, status panel 1, 23 menu items.
#include <fstream>
#include <cwctype>
#include <random>

#include "language/language_loader.h"
#include "main_window/menu_definition.h"
#include "main_window/program_path.h"
#include "resources/resource.h"
#include "win_test_support.h"

namespace vx::test {
namespace {

constexpr int kTargets = 25;

std::wstring MenuText(HMENU menu, unsigned id) {
    MENUITEMINFOW info{sizeof info};
    info.fMask = MIIM_STRING;
    if (!::GetMenuItemInfoW(menu, id, FALSE, &info)) return L"<missing>";
    std::wstring text(info.cch + 1, L'\0');
    info.dwTypeData = text.data();
    info.cch = static_cast<UINT>(text.size());
    ::GetMenuItemInfoW(menu, id, FALSE, &info);
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

const wchar_t* ShortcutOf(unsigned id) {
    for (const auto& entry : kMenuDefinition) {
        if (entry.id == id) return entry.shortcut;
    }
    return nullptr;
}

// What a person sees in the 25 places a language file reaches, in file order (menu
// captions without their shortcut part).
std::vector<std::wstring> Targets(const FrmMain& form) {
    std::vector<std::wstring> out;
    std::wstring title(static_cast<size_t>(::GetWindowTextLengthW(form.hwnd())) + 1, L'\0');
    title.resize(static_cast<size_t>(::GetWindowTextW(form.hwnd(), title.data(), static_cast<int>(title.size()))));
    out.push_back(title);
    const LRESULT length = ::SendMessageW(form.StatusBar1, SB_GETTEXTLENGTHW, 0, 0);
    std::wstring status(LOWORD(length) + 1u, L'\0');
    ::SendMessageW(form.StatusBar1, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(status.data()));
    status.resize(wcsnlen(status.c_str(), status.size()));
    out.push_back(status);
    for (unsigned id : kLanguageMenuOrder) {
        std::wstring text = MenuText(form.menu, id);
        if (const wchar_t* shortcut = ShortcutOf(id)) {
            const std::wstring tail = std::wstring(L"\t") + shortcut;
            // The shortcut must survive every re-captioning.
            EXPECT_TRUE(text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0)
                << Narrow(text);
            text = text.substr(0, text.size() >= tail.size() ? text.size() - tail.size() : 0);
        }
        out.push_back(text);
    }
    return out;
}

std::vector<std::wstring> BuiltInTexts(const FrmMain& form) {
    std::vector<std::wstring> out;
    for (unsigned id = IDS_TITLE; id <= IDS_MNU_HOWTO; ++id) out.push_back(form.LoadText(id));
    return out;
}

// Every menu's item count and separator positions: the structure a file must not touch.
std::wstring MenuShape(HMENU menu) {
    std::wstring shape;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{sizeof info};
        info.fMask = MIIM_FTYPE | MIIM_SUBMENU | MIIM_ID | MIIM_STATE;
        ::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        shape += (info.fType & MFT_SEPARATOR) ? L"-" : std::to_wstring(info.wID);
        if (info.fState & MFS_GRAYED) shape += L"g";
        if (info.hSubMenu) shape += L"(" + MenuShape(info.hSubMenu) + L")";
        shape += L",";
    }
    return shape;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Utf8(const std::wstring& text) { return Narrow(text); }

std::string CrLfFile(const std::vector<std::wstring>& lines) {
    std::string bytes = "\xEF\xBB\xBF";
    for (const auto& line : lines) bytes += Utf8(line) + "\r\n";
    return bytes;
}

class LanguageTest : public MainWindowTest {};

TEST_F(LanguageTest, ChineseFileReproducesTheBuiltInInterface) {
    ScriptedDialogs dialogs;
    const auto builtIn = Targets(*form);
    ASSERT_EQ(builtIn, BuiltInTexts(*form));
    const std::wstring shape = MenuShape(form->menu);

    form->mnuEnglish_Click();
    ASSERT_NE(Targets(*form), builtIn);
    form->mnuChinese_Click();
    EXPECT_EQ(Targets(*form), builtIn);
    EXPECT_EQ(MenuShape(form->menu), shape);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(LanguageTest, EnglishFileGivesEnglishCaptionsAndLeavesMessagesChinese) {
    ScriptedDialogs dialogs;
    const std::wstring shape = MenuShape(form->menu);
    form->mnuEnglish_Click();

    // The shipped file read independently: UTF-8 after the mark, CR LF line ends.
    std::string bytes = ReadBytes(ProgramFolder() + L"\\language\\English.lng");
    ASSERT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    std::vector<std::string> lines;
    for (size_t at = 3, end; (end = bytes.find("\r\n", at)) != std::string::npos; at = end + 2) {
        lines.push_back(bytes.substr(at, end - at));
    }
    ASSERT_EQ(lines.size(), 25u);
    const auto targets = Targets(*form);
    for (int i = 0; i < kTargets; ++i) {
        EXPECT_EQ(Utf8(targets[static_cast<size_t>(i)]), lines[static_cast<size_t>(i)]) << "line " << i + 1;
        for (wchar_t c : targets[static_cast<size_t>(i)]) EXPECT_LT(c, 0x80) << "line " << i + 1;
    }
    EXPECT_EQ(targets[0], L"Vellumox v2.30");
    EXPECT_EQ(MenuText(form->menu, IDM_SAVE), L"&Save...\tCtrl+S");
    EXPECT_EQ(MenuShape(form->menu), shape);

    // Tooltips, the About box and the close question keep their built-in texts.
    NMTTDISPINFOW tip{};
    tip.hdr.hwndFrom = nullptr;
    tip.hdr.idFrom = IDM_TOOLBAR_BASE + 2;
    tip.hdr.code = TTN_GETDISPINFOW;
    ::SendMessageW(form->hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
    EXPECT_STREQ(tip.lpszText, L"打开");
    form->mnuAbout_Click();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].title, L"关于");
    EXPECT_EQ(dialogs.boxes[0].text, L"Vellumox\r\n\r\nhttps://vellumox.example/");
    EXPECT_EQ(dialogs.boxes[0].style, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    form->ImageUnsaved = true;
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
    WriteBytes(dir.File(L"gap.lng"), CrLfFile(lines));
    ASSERT_TRUE(ApplyLanguageFile(*form, dir.path(), L"\\gap.lng"));
    EXPECT_EQ(Targets(*form), lines);
    EXPECT_EQ(MenuText(form->menu, IDM_EXIT), L"\tCtrl+Q");

    // Line feeds alone, without the mark, plain ASCII: still 25 lines, blanks kept.
    std::string lf;
    std::vector<std::wstring> expected;
    for (int i = 1; i <= 30; ++i) {
        const std::string text = " item " + std::to_string(i) + "  ";
        lf += text + "\n";
        if (i <= kTargets) expected.push_back(std::wstring(text.begin(), text.end()));
    }
    WriteBytes(dir.File(L"lf.lng"), lf);
    ASSERT_TRUE(ApplyLanguageFile(*form, dir.path(), L"\\lf.lng"));
    EXPECT_EQ(Targets(*form), expected);

    // Three lines, the last without a terminator: only the first three targets change.
    WriteBytes(dir.File(L"short.lng"), "T\rS\r\nF");
    form->mnuChinese_Click();
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
    form->mnuEnglish_Click();
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
    WriteBytes(path, CrLfFile({L"Root title", L"Root status", L"Root &File"}));
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
    WriteBytes(dir.File(L"gbk.lng"), "\xCE\xC4\xBC\xFE(&F)\r\n\xBB\xB6\xD3\xAD\r\n\xCE\xC4\xBC\xFE(&F)\r\n");
    ASSERT_TRUE(ApplyLanguageFile(*form, dir.path(), L"\\gbk.lng"));
    const auto targets = Targets(*form);
    EXPECT_EQ(targets[0], L"文件(&F)");
    EXPECT_EQ(targets[1], L"欢迎");
    EXPECT_EQ(targets[2], L"文件(&F)");
    // The shipped files carry the mark and read the same in this code page.
    form->mnuEnglish_Click();
    form->mnuChinese_Click();
    EXPECT_EQ(Targets(*form), BuiltInTexts(*form));
}

// An independent reading of the rules, whole-buffer, for the generated files below.
std::vector<std::wstring> Reference(const std::string& bytes) {
    size_t at = 0;
    UINT codePage = CP_ACP;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        at = 3;
        codePage = CP_UTF8;
    }
    std::vector<std::string> lines;
    std::string line;
    bool open = false;
    for (; at < bytes.size() && lines.size() < kTargets; ++at) {
        const char c = bytes[at];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            open = false;
            if (c == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n') ++at;
        } else {
            line += c;
            open = true;
        }
    }
    if (open && lines.size() < kTargets) lines.push_back(line);
    std::vector<std::wstring> out;
    for (std::string& l : lines) {
        l = l.substr(0, l.find('\0')).substr(0, kLanguageLineMaxBytes);
        std::wstring text(l.size() + 1, L'\0');
        const int n = l.empty() ? 0
                                : ::MultiByteToWideChar(codePage, 0, l.data(), static_cast<int>(l.size()), text.data(),
                                                        static_cast<int>(text.size()));
        text.resize(static_cast<size_t>(n));
        out.push_back(text);
    }
    return out;
}

// How the status bar keeps a text: non-printing characters as blanks, and a text of
// blanks alone as nothing.
std::wstring Printable(std::wstring text) {
    for (auto& c : text) {
        if (!::iswprint(c)) c = L' ';
    }
    const size_t first = text.find_first_not_of(L' ');
    return first == std::wstring::npos ? std::wstring() : text;
}

std::string Generate(std::mt19937& random, int round) {
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    std::string bytes;
    if (pick(2)) bytes = "\xEF\xBB\xBF";
    const int kind = round % 5;
    const int parts = 1 + pick(40);
    for (int p = 0; p < parts; ++p) {
        switch (kind) {
            case 0:  // random bytes
                for (int i = pick(200); i > 0; --i) bytes += static_cast<char>(random());
                break;
            case 1:  // very long lines
                bytes += std::string(static_cast<size_t>(pick(3) == 0 ? 20000 + pick(50000) : pick(300)),
                                     static_cast<char>('A' + pick(26)));
                break;
            case 2: {  // broken UTF-8: lone continuation bytes, cut sequences, overlongs, surrogates
                static const char* const kBroken[] = {"\x80", "\xE6\x96", "\xC0\xAF", "\xED\xA0\x80",
                                                      "\xF4\x90\x80\x80", "\xFF", "\xE6\x96\x87"};
                bytes += kBroken[pick(7)];
                break;
            }
            case 3:  // NUL bytes inside text
                bytes += "ab";
                bytes += std::string(static_cast<size_t>(1 + pick(3)), '\0');
                bytes += "cd";
                break;
            default:  // text with every mix of CR and LF
                bytes += "x" + std::to_string(p);
                break;
        }
        static const char* const kEnds[] = {"\r\n", "\r", "\n", "\n\r", "\r\r\n", "", "\r\n\r\n"};
        bytes += kEnds[pick(7)];
    }
    return bytes;
}

TEST_F(LanguageTest, GeneratedBadFilesNeverCrashAndOnlySetDecodedText) {
    TempDir dir;
    const std::wstring shape = MenuShape(form->menu);
    std::mt19937 random(20240607);
    auto targets = Targets(*form);
    const DWORD start = ::GetTickCount();
    for (int round = 0; round < 1000; ++round) {
        const std::string bytes = Generate(random, round);
        WriteBytes(dir.File(L"bad.lng"), bytes);
        ASSERT_TRUE(ApplyLanguageFile(*form, dir.path(), L"\\bad.lng")) << "round " << round;
        const auto expected = Reference(bytes);
        for (size_t i = 0; i < expected.size(); ++i) targets[i] = expected[i];
        auto seen = Targets(*form);
        targets[1] = Printable(targets[1]);
        seen[1] = Printable(seen[1]);
        for (size_t i = 0; i < seen.size(); ++i) {
            ASSERT_EQ(seen[i], targets[i]) << "round " << round << ", target " << i + 1;
        }
        if (HasFailure()) return;
    }
    EXPECT_EQ(MenuShape(form->menu), shape);
    EXPECT_LT(::GetTickCount() - start, 60000u);
}

}  // namespace
}  // namespace vx::test
