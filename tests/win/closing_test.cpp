// Closing the window and the Exit command: the placement, the question about an
// unsaved image, and ending the help editor.
#include "platform/program_path.h"
#include "win_test_support.h"

namespace vx::test {
namespace {

using ClosingTest = MainWindowTest;

TEST_F(ClosingTest, TheUnsavedImageQuestionDecidesAndThePlacementIsStoredAnyway) {
    TempDir dir;
    const struct { const char* what; bool writable; int answer; std::wstring saveAs; bool closes; } cases[] = {
        {"Cancel", true, IDCANCEL, L"", false},
        {"Yes, then the save is cancelled", true, IDYES, L"", false},
        {"Yes, then saved", true, IDYES, dir.File(L"closing shot.bmp"), true},
        {"No, and settings that cannot be written", false, IDNO, L"", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (!form->hwnd()) MainWindowTest::SetUp();
        // A volatile program key cannot hold the lasting Settings key: the store refuses.
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Vellumox");
        HKEY key = nullptr;
        if (!c.writable && ::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Vellumox", 0, nullptr, REG_OPTION_VOLATILE,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS)
            ::RegCloseKey(key);
        form->PlacePicture(CaptureWindowArea(form->hwnd(), true, 0, 0, 48, 32));
        form->Doc().ImageUnsaved = true;
        ScriptedDialogs dialogs;
        dialogs.boxAnswers = {c.answer};
        dialogs.fileAnswers = {c.saveAs};
        EXPECT_TRUE(form->RequestClose() == c.closes && (form->hwnd() == nullptr) == c.closes);
        // Stored even when the close is cancelled.
        EXPECT_EQ(RegString(HKEY_CURRENT_USER, L"Software\\Vellumox\\Settings", L"MainLeft").empty(), !c.writable);
        EXPECT_TRUE(c.closes || (form->Doc().ImageUnsaved && !form->Doc().PicBmp.Empty()));
        EXPECT_TRUE(dialogs.boxes.size() == 1 && dialogs.boxes[0].text == LoadText(IDS_MSG_UNSAVED));
    }
    EXPECT_EQ(ReadFileBytes(dir.File(L"closing shot.bmp")).substr(0, 2), "BM");
}

// Help starts an editor each time, the first without a readme (the editor says so
// itself; the program adds no box of its own). Exit asks like the close box and ends
// only the last editor.
TEST_F(ClosingTest, ExitAsksLikeTheCloseBoxAndEndsOnlyTheLastHelpEditor) {
    ScriptedDialogs dialogs;
    struct Editors : std::vector<UniqueProcess> { ~Editors() { for (auto& e : *this) ::TerminateProcess(e.get(), 0); } } editors;
    const std::wstring readme = ProgramFolder() + L"\\readme.txt", away = readme + L".away";
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(i || ::MoveFileW(readme.c_str(), away.c_str()));
        mnuHowto_Click(*form);
        ::MoveFileW(away.c_str(), readme.c_str());
        ASSERT_TRUE(form->Doc().HelpViewer);
        editors.emplace_back(::OpenProcess(PROCESS_ALL_ACCESS, FALSE, ::GetProcessId(form->Doc().HelpViewer.get())));
    }
    form->PlacePicture(PatternPicture(8, 8));
    form->Doc().ImageUnsaved = true;
    dialogs.boxAnswers = {IDCANCEL, IDNO};
    form->mnuExit_Click();
    EXPECT_TRUE(::IsWindowVisible(form->hwnd()) && ::WaitForSingleObject(editors[1].get(), 500) == WAIT_TIMEOUT)
        << "the window closed or the editor ended after a cancelled Exit";
    form->mnuExit_Click();
    EXPECT_TRUE(dialogs.boxes.size() == 2 && form->hwnd() == nullptr);
    EXPECT_TRUE(::WaitForSingleObject(editors[1].get(), 5000) == WAIT_OBJECT_0 &&
                ::WaitForSingleObject(editors[0].get(), 0) == WAIT_TIMEOUT);
}

}  // namespace
}  // namespace vx::test
