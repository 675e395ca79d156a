// Help: the system's notepad on readme.txt, never a notepad.exe found elsewhere.
#include "language/help_viewer.h"
#include "platform/program_path.h"
#include "win_test_support.h"

namespace vx::test {
namespace {

// The text in the editor's edit box, once its window is up.
std::wstring EditorText(HANDLE process) {
    ::WaitForInputIdle(process, 10000);
    struct Find { DWORD pid; HWND edit; } find{::GetProcessId(process), nullptr};
    for (int attempt = 0; attempt < 200 && !find.edit; ++attempt) {
        ::EnumWindows(
            [](HWND w, LPARAM p) -> BOOL {
                auto* f = reinterpret_cast<Find*>(p);
                DWORD pid = 0;
                ::GetWindowThreadProcessId(w, &pid);
                if (pid == f->pid && ::IsWindowVisible(w)) f->edit = ::FindWindowExW(w, nullptr, L"Edit", nullptr);
                return !f->edit;
            },
            reinterpret_cast<LPARAM>(&find));
        if (!find.edit) ::Sleep(50);
    }
    std::wstring text(65536, L'\0');
    ::SendMessageTimeoutW(find.edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                          5000, nullptr);
    return text.c_str();
}

class HelpCommandTest : public MainWindowTest {};

TEST_F(HelpCommandTest, SystemNotepadOpensTheQuotedReadmeAndHelpKeepsTheEditor) {
    // A program in a folder with spaces, and a notepad.exe planted beside the tests and
    // in that folder (the current folder while Help starts): neither may run.
    TempDir base;
    const std::wstring folder = base.File(L"Program Files With Spaces");
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
    EXPECT_EQ(Lower(image), Lower(std::wstring(system) + L"\\notepad.exe"));
    EXPECT_EQ(EditorText(editor.get()), L"help text beside a program in a folder with spaces\r\n");
    ::TerminateProcess(editor.get(), 0);
    ::WaitForSingleObject(editor.get(), 5000);

    // The command shows the shipped readme, in both languages, and keeps the editor.
    ScriptedDialogs dialogs;
    mnuHowto_Click(*form);
    ASSERT_TRUE(form->Doc().HelpViewer);
    EXPECT_TRUE(dialogs.boxes.empty());
    const std::wstring text = EditorText(form->Doc().HelpViewer.get());
    EXPECT_NE(text.find(L"Vellumox"), std::wstring::npos) << Narrow(text.substr(0, 80));
    EXPECT_NE(text.find(L"Where files go"), std::wstring::npos);
    EXPECT_NE(text.find(L"文件位置"), std::wstring::npos);
    ::TerminateProcess(form->Doc().HelpViewer.get(), 0);
    ::WaitForSingleObject(form->Doc().HelpViewer.get(), 5000);
}

TEST_F(HelpCommandTest, MissingReadmeStillOpensTheEditorAndShowsNothing) {
    // The editor says itself that the file is missing; the program adds no box of its own.
    const std::wstring readme = ProgramFolder() + L"\\readme.txt", away = readme + L".away";
    ASSERT_TRUE(::MoveFileW(readme.c_str(), away.c_str()));
    ScriptedDialogs dialogs;
    mnuHowto_Click(*form);
    ::MoveFileW(away.c_str(), readme.c_str());
    ASSERT_TRUE(form->Doc().HelpViewer);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_TRUE(::IsWindowVisible(form->hwnd()));
    ::TerminateProcess(form->Doc().HelpViewer.get(), 0);
    ::WaitForSingleObject(form->Doc().HelpViewer.get(), 5000);
}

}  // namespace
}  // namespace vx::test
