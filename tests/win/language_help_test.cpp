// Help: the system's notepad on readme.txt, never a notepad.exe found elsewhere.
#include <fstream>

#include "language/help_viewer.h"
#include "main_window/program_path.h"
#include "win_test_support.h"

namespace vx::test {
namespace {

std::wstring ImagePath(HANDLE process) {
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (!::QueryFullProcessImageNameW(process, 0, path, &size)) return std::wstring();
    return path;
}

std::wstring Lower(std::wstring text) {
    for (auto& c : text) c = static_cast<wchar_t>(::towlower(c));
    return text;
}

struct FindData {
    DWORD pid;
    HWND found;
};

// The text in the editor's edit box, once its window is up.
std::wstring EditorText(HANDLE process) {
    ::WaitForInputIdle(process, 10000);
    FindData data{::GetProcessId(process), nullptr};
    for (int attempt = 0; attempt < 200 && !data.found; ++attempt) {
        ::EnumWindows(
            [](HWND w, LPARAM p) -> BOOL {
                auto* d = reinterpret_cast<FindData*>(p);
                DWORD pid = 0;
                ::GetWindowThreadProcessId(w, &pid);
                if (pid != d->pid || !::IsWindowVisible(w)) return TRUE;
                d->found = ::FindWindowExW(w, nullptr, L"Edit", nullptr);
                return d->found ? FALSE : TRUE;
            },
            reinterpret_cast<LPARAM>(&data));
        if (!data.found) ::Sleep(50);
    }
    if (!data.found) return L"<no editor window>";
    DWORD_PTR length = 0;
    ::SendMessageTimeoutW(data.found, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
    std::wstring text(length + 1, L'\0');
    ::SendMessageTimeoutW(data.found, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                          SMTO_ABORTIFHUNG, 5000, nullptr);
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

class Planted {
public:
    // A copy of another program named notepad.exe, where a search would look first.
    explicit Planted(const std::wstring& folder) : path_(folder + L"\\notepad.exe") {
        const std::wstring probe = ProgramFolder() + L"\\vxprobe.exe";
        ok_ = ::CopyFileW(probe.c_str(), path_.c_str(), FALSE) != FALSE;
    }
    ~Planted() { ::DeleteFileW(path_.c_str()); }
    bool ok() const { return ok_; }

private:
    std::wstring path_;
    bool ok_ = false;
};

TEST(HelpViewer, SystemNotepadOpensTheQuotedReadmeInAFolderWithSpaces) {
    TempDir base;
    const std::wstring folder = base.File(L"Program Files With Spaces");
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    {
        std::ofstream readme((folder + L"\\readme.txt").c_str(), std::ios::binary);
        readme << "help text beside a program in a folder with spaces\r\n";
    }
    // notepad.exe planted beside the program and in the current folder must not run.
    Planted besideTests(ProgramFolder());
    Planted inFolder(folder);
    ASSERT_TRUE(besideTests.ok() && inFolder.ok());
    wchar_t previous[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ::SetCurrentDirectoryW(folder.c_str());

    UniqueProcess editor = StartHelpViewer(folder);
    ::SetCurrentDirectoryW(previous);
    ASSERT_TRUE(editor);
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    EXPECT_EQ(Lower(ImagePath(editor.get())), Lower(std::wstring(system) + L"\\notepad.exe"));
    EXPECT_EQ(EditorText(editor.get()), L"help text beside a program in a folder with spaces\r\n");
    ::TerminateProcess(editor.get(), 0);
    ::WaitForSingleObject(editor.get(), 5000);
}

class HelpCommandTest : public MainWindowTest {};

TEST_F(HelpCommandTest, HelpOpensTheShippedReadmeAndKeepsTheEditor) {
    ScriptedDialogs dialogs;
    form->mnuHowto_Click();
    ASSERT_TRUE(form->HelpViewer);
    EXPECT_TRUE(dialogs.boxes.empty());
    const std::wstring text = EditorText(form->HelpViewer.get());
    EXPECT_NE(text.find(L"Vellumox"), std::wstring::npos) << Narrow(text.substr(0, 80));
    EXPECT_NE(text.find(L"Where files go"), std::wstring::npos);
    EXPECT_NE(text.find(L"文件位置"), std::wstring::npos);
    ::TerminateProcess(form->HelpViewer.get(), 0);
    ::WaitForSingleObject(form->HelpViewer.get(), 5000);
}

}  // namespace
}  // namespace vx::test
