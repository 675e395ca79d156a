// Closing the window and the Exit command: the placement, the question about an
// unsaved image, and ending the help editor.
#include "win_test_support.h"

namespace vx::test {
namespace {

bool PlacementStored() { return !RegString(HKEY_CURRENT_USER, L"Software\\Vellumox\\Settings", L"MainLeft").empty(); }

class ClosingTest : public MainWindowTest {
protected:
    // Editors started here are ended whatever a test left behind.
    std::vector<UniqueProcess> editors_;
    void TearDown() override {
        for (auto& editor : editors_) ::TerminateProcess(editor.get(), 0);
        MainWindowTest::TearDown();
    }
};

TEST_F(ClosingTest, TheUnsavedImageQuestionDecidesAndThePlacementIsStoredAnyway) {
    TempDir dir;
    const std::wstring file = dir.File(L"closing shot.bmp");
    const struct { const char* what; bool unsaved, writable; int answer; std::wstring saveAs; bool closes; } cases[] = {
        {"a capture, then Clear", false, true, 0, L"", true},
        {"Cancel", true, true, IDCANCEL, L"", false},
        {"Yes, then the save is cancelled", true, true, IDYES, L"", false},
        {"Yes, then saved", true, true, IDYES, file, true},
        {"No, and settings that cannot be written", true, false, IDNO, L"", true},
    };
    for (const auto& c : cases) {
        if (!form->hwnd()) MainWindowTest::SetUp();
        // A volatile program key cannot hold the lasting Settings key: the store refuses.
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Vellumox");
        HKEY key = nullptr;
        if (!c.writable && ::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Vellumox", 0, nullptr, REG_OPTION_VOLATILE,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS)
            ::RegCloseKey(key);
        form->PlacePicture(CaptureWindowArea(form->hwnd(), true, 0, 0, 48, 32));
        form->Doc().ImageUnsaved = true;
        if (!c.unsaved) mnuClear_Click(*form);
        ScriptedDialogs dialogs;
        dialogs.boxAnswers = {c.answer};
        dialogs.fileAnswers = {c.saveAs};
        EXPECT_EQ(form->RequestClose(), c.closes) << c.what;
        EXPECT_EQ(form->hwnd() == nullptr, c.closes) << c.what;
        EXPECT_EQ(PlacementStored(), c.writable) << c.what;  // stored even when the close is cancelled
        EXPECT_TRUE(c.closes || (form->Doc().ImageUnsaved && !form->Doc().PicBmp.Empty())) << c.what;
        ASSERT_EQ(dialogs.boxes.size(), c.unsaved ? 1u : 0u) << c.what;
        if (c.unsaved) {
            EXPECT_EQ(dialogs.boxes[0].text, LoadText(IDS_MSG_UNSAVED));
            EXPECT_EQ(dialogs.boxes[0].style, static_cast<UINT>(MB_YESNOCANCEL | MB_ICONINFORMATION));
        }
    }
    EXPECT_EQ(ReadFileBytes(file).substr(0, 2), "BM");
}

TEST_F(ClosingTest, ExitAsksLikeTheCloseBoxAndEndsOnlyTheLastHelpEditor) {
    ScriptedDialogs dialogs;
    for (int i = 0; i < 2; ++i) {
        mnuHowto_Click(*form);
        ASSERT_TRUE(form->Doc().HelpViewer);
        HANDLE copy = nullptr;
        ::DuplicateHandle(::GetCurrentProcess(), form->Doc().HelpViewer.get(), ::GetCurrentProcess(), &copy, 0, FALSE,
                          DUPLICATE_SAME_ACCESS);
        editors_.emplace_back(copy);
    }
    ASSERT_NE(::GetProcessId(editors_[0].get()), ::GetProcessId(editors_[1].get()));
    form->PlacePicture(PatternPicture(8, 8));
    form->Doc().ImageUnsaved = true;
    dialogs.boxAnswers = {IDCANCEL, IDNO};
    form->mnuExit_Click();
    EXPECT_TRUE(::IsWindowVisible(form->hwnd()));
    EXPECT_EQ(::WaitForSingleObject(editors_[1].get(), 500), static_cast<DWORD>(WAIT_TIMEOUT)) << "ended by a cancelled Exit";
    form->mnuExit_Click();
    EXPECT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(form->hwnd(), nullptr);
    EXPECT_EQ(::WaitForSingleObject(editors_[1].get(), 5000), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(::WaitForSingleObject(editors_[0].get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

}  // namespace
}  // namespace vx::test
