// Closing the window and the Exit command: the placement, the question about an
// unsaved image, and ending the help editor.
#include "win_test_support.h"

namespace vx::test {
namespace {

using ClosingTest = MainWindowTest;

// Stored even when the close is cancelled; a settings store that refuses writes (a
// volatile program key cannot hold a lasting Settings key) still gets the question.
TEST_F(ClosingTest, TheUnsavedImageQuestionDecidesAndThePlacementIsStoredAnyway) {
    TempDir dir;
    const struct { const char* what; int answer; std::wstring saveAs; bool closes, stored = true; } cases[] = {
        {"Cancel", IDCANCEL, L"", false},
        {"Yes, then the save is cancelled", IDYES, L"", false},
        {"Yes, then saved", IDYES, dir.File(L"closing shot.bmp"), true},
        {"No, with settings that refuse writes", IDNO, L"", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (!form->hwnd()) MainWindowTest::SetUp();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Vellumox");
        HKEY key = nullptr;
        if (!c.stored && !::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Vellumox", 0, nullptr, REG_OPTION_VOLATILE,
                                            KEY_ALL_ACCESS, nullptr, &key, nullptr)) ::RegCloseKey(key);
        form->PlacePicture(CaptureWindowArea(form->hwnd(), true, 0, 0, 48, 32));
        form->Doc().ImageUnsaved = true;
        ScriptedDialogs dialogs;
        dialogs.boxAnswers = {c.answer};
        dialogs.fileAnswers = {c.saveAs};
        EXPECT_EQ(form->RequestClose(), c.closes);
        EXPECT_EQ(std::tuple(form->hwnd() == nullptr, !RegString(HKEY_CURRENT_USER, L"Software\\Vellumox\\Settings",
                                                                 L"MainLeft").empty()), std::tuple(c.closes, c.stored));
        if (!c.closes) { EXPECT_EQ(std::tuple(form->Doc().ImageUnsaved, form->Doc().PicBmp.Empty()), std::tuple(true, false)); }
        EXPECT_EQ(dialogs.Texts(), std::vector{LoadText(IDS_MSG_UNSAVED)});
    }
    EXPECT_EQ(ReadFileBytes(dir.File(L"closing shot.bmp")).substr(0, 2), "BM");
}

// Help starts an editor each time. Exit asks like the close box and ends only the last
// editor.
TEST_F(ClosingTest, ExitAsksLikeTheCloseBoxAndEndsOnlyTheLastHelpEditor) {
    ScriptedDialogs dialogs;
    struct Editors : std::vector<UniqueProcess> { ~Editors() { for (auto& e : *this) ::TerminateProcess(e.get(), 0); } } editors;
    for (int i = 0; i < 2; ++i) {
        mnuHowto_Click(*form);
        ASSERT_TRUE(form->Doc().HelpViewer);
        editors.emplace_back(::OpenProcess(PROCESS_ALL_ACCESS, FALSE, ::GetProcessId(form->Doc().HelpViewer.get())));
    }
    form->PlacePicture(PatternPicture(8, 8));
    form->Doc().ImageUnsaved = true;
    dialogs.boxAnswers = {IDCANCEL, IDNO};
    form->mnuExit_Click();
    EXPECT_TRUE(::IsWindowVisible(form->hwnd())) << "the window closed after a cancelled Exit";
    EXPECT_EQ(::WaitForSingleObject(editors[1].get(), 500), WAIT_TIMEOUT) << "the editor ended after a cancelled Exit";
    form->mnuExit_Click();
    EXPECT_EQ(std::tuple(dialogs.boxes.size(), form->hwnd()), std::tuple(2u, HWND{}));
    EXPECT_EQ(::WaitForSingleObject(editors[1].get(), 5000), WAIT_OBJECT_0) << "the last editor still runs";
    EXPECT_EQ(::WaitForSingleObject(editors[0].get(), 0), WAIT_TIMEOUT) << "an earlier editor was ended";
}

}  // namespace
}  // namespace vx::test
