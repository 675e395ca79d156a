// Closing the window and the Exit command: the placement, the question about an
// unsaved image, and ending the help editor.
#include "platform/program_path.h"
#include "win_test_support.h"

namespace vx::test {
namespace {

bool PlacementStored() { return !RegString(HKEY_CURRENT_USER, L"Software\\Vellumox\\Settings", L"MainLeft").empty(); }

HANDLE Duplicate(HANDLE process) {
    HANDLE copy = nullptr;
    ::DuplicateHandle(::GetCurrentProcess(), process, ::GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS);
    return copy;
}

class ClosingTest : public MainWindowTest {
protected:
    void GiveUnsavedCapture() {
        form->PlacePicture(CaptureWindowArea(form->hwnd(), true, 0, 0, 48, 32));
        ASSERT_FALSE(form->Doc().PicBmp.Empty());
        form->Doc().ImageUnsaved = true;
    }
    void Expect67Question(const ScriptedDialogs& dialogs) {
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.boxes[0].text, L"  文件还没有保存，您要保存吗?");
        EXPECT_EQ(dialogs.boxes[0].title, ProgramName());
        EXPECT_EQ(dialogs.boxes[0].style, 67u);  // Yes/No/Cancel, Yes the default, information icon
    }
    // Editors started here are ended whatever a test left behind.
    std::vector<UniqueProcess> editors_;
    void TearDown() override {
        for (auto& editor : editors_) ::TerminateProcess(editor.get(), 0);
        MainWindowTest::TearDown();
    }
};

TEST_F(ClosingTest, FreshWindowClosesWithoutAQuestionAndStoresThePlacement) {
    ScriptedDialogs dialogs;
    EXPECT_TRUE(form->RequestClose());
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(form->hwnd(), nullptr);
    EXPECT_TRUE(PlacementStored());
}

TEST_F(ClosingTest, UnsavedImageCancelOrACancelledSaveStaysASavedOneCloses) {
    GiveUnsavedCapture();
    TempDir dir;
    const std::wstring file = dir.File(L"closing shot.bmp");
    const struct { int answer; std::wstring saveAs; bool closes; } cases[] = {
        {IDCANCEL, L"", false}, {IDYES, L"", false}, {IDYES, file, true}};
    for (const auto& c : cases) {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Vellumox");
        ScriptedDialogs dialogs;
        dialogs.boxAnswers = {c.answer};
        dialogs.fileAnswers = {c.saveAs};
        EXPECT_EQ(form->RequestClose(), c.closes) << Narrow(c.saveAs);
        Expect67Question(dialogs);
        EXPECT_TRUE(PlacementStored());  // stored even when the close is cancelled
        EXPECT_EQ(form->hwnd() == nullptr, c.closes);
        EXPECT_TRUE(c.closes || (form->Doc().ImageUnsaved && !form->Doc().PicBmp.Empty()));
    }
    EXPECT_EQ(ReadFileBytes(file).substr(0, 2), "BM");
}

TEST_F(ClosingTest, UnwritableSettingsStillAskAboutTheUnsavedImage) {
    GiveUnsavedCapture();
    // A volatile program key cannot hold the lasting Settings key: the store refuses.
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Vellumox");
    HKEY volatileKey = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Vellumox", 0, nullptr, REG_OPTION_VOLATILE,
                                KEY_ALL_ACCESS, nullptr, &volatileKey, nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(volatileKey);
    ASSERT_FALSE(form->SaveWindowPlacement()) << "the store should have refused the write";
    ScriptedDialogs dialogs;
    dialogs.boxAnswers = {IDCANCEL, IDNO};
    EXPECT_FALSE(form->RequestClose());
    Expect67Question(dialogs);
    EXPECT_FALSE(form->Doc().PicBmp.Empty());
    EXPECT_TRUE(form->RequestClose());  // No closes
    EXPECT_EQ(form->hwnd(), nullptr);
}

TEST_F(ClosingTest, ExitAsksLikeTheCloseBoxAndCancelKeepsTheEditor) {
    ScriptedDialogs dialogs;
    mnuHowto_Click(*form);
    ASSERT_TRUE(form->Doc().HelpViewer);
    editors_.emplace_back(Duplicate(form->Doc().HelpViewer.get()));
    GiveUnsavedCapture();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Vellumox");

    dialogs.boxAnswers = {IDCANCEL};
    form->mnuExit_Click();
    Expect67Question(dialogs);
    EXPECT_TRUE(::IsWindowVisible(form->hwnd()));
    EXPECT_TRUE(PlacementStored());
    EXPECT_EQ(::WaitForSingleObject(editors_[0].get(), 500), static_cast<DWORD>(WAIT_TIMEOUT));

    dialogs.boxAnswers = {IDNO};
    form->mnuExit_Click();
    EXPECT_EQ(form->hwnd(), nullptr);
    EXPECT_EQ(::WaitForSingleObject(editors_[0].get(), 5000), static_cast<DWORD>(WAIT_OBJECT_0));
}

TEST_F(ClosingTest, HelpTwiceThenExitEndsOnlyTheSecondEditor) {
    ScriptedDialogs dialogs;
    mnuHowto_Click(*form);
    ASSERT_TRUE(form->Doc().HelpViewer);
    editors_.emplace_back(Duplicate(form->Doc().HelpViewer.get()));
    mnuHowto_Click(*form);
    editors_.emplace_back(Duplicate(form->Doc().HelpViewer.get()));
    ASSERT_NE(::GetProcessId(editors_[0].get()), ::GetProcessId(editors_[1].get()));

    form->mnuExit_Click();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(form->hwnd(), nullptr);
    EXPECT_EQ(::WaitForSingleObject(editors_[1].get(), 5000), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(::WaitForSingleObject(editors_[0].get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

}  // namespace
}  // namespace vx::test
