// The toolbar road: real clicks on Toolbar1 run the commands of their buttons, and no
// failure there is shown, while the same command from the menu tells it.
#include "win_test_support.h"

namespace vx::test {
namespace {

class ToolbarRoad : public MainWindowTest {
protected:
    // Presses and releases the mouse on button `index` (1-based) as a person would.
    void Click(int index) {
        RECT r{};
        ASSERT_TRUE(::SendMessageW(form->Toolbar1(), TB_GETITEMRECT, index - 1, reinterpret_cast<LPARAM>(&r)));
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        ::SendMessageW(form->Toolbar1(), WM_MOUSEMOVE, 0, at);
        ::SendMessageW(form->Toolbar1(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageW(form->Toolbar1(), WM_LBUTTONUP, 0, at);
        Pump();
    }
    // The menu item for the command the button carries.
    void Menu(int index) {
        TBBUTTON b{};
        ASSERT_TRUE(::SendMessageW(form->Toolbar1(), TB_GETBUTTON, index - 1, reinterpret_cast<LPARAM>(&b)));
        ::SendMessageW(form->hwnd(), WM_COMMAND, MAKEWPARAM(b.idCommand, 0), 0);
        Pump();
    }
};

TEST_F(ToolbarRoad, FailuresAreSilentFromTheToolbarAndToldFromTheMenu) {
    ScriptedDialogs dialogs;
    TempDir dir;
    WriteFileBytes(dir.File(L"broken.bmp"), std::string("BM\x10\0\0\0garbage", 13));
    const std::wstring readOnly = dir.File(L"read-only.bmp");
    WriteFileBytes(readOnly, "old");
    ::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L"Paint.Picture");
    int printDialogs = 0;
    dialogs.print = [&](PRINTDLGW&) { ++printDialogs; return false; };
    std::unique_ptr<ClipboardHolder> holder;
    auto none = [&] { form->PlacePicture(nullptr); };
    auto picture = [&] { form->PlacePicture(PatternPicture(40, 30)); };
    const struct { const char* what; int button; std::function<void()> setup, finish; } cases[] = {
        {"save without a picture", 3, none},
        {"Paint without a picture", 12, none},
        {"wallpaper without a picture", 13, none},
        {"print without a picture", 14, none},
        {"open of a file that cannot be decoded", 2, [&] { dialogs.fileAnswers = {dir.File(L"broken.bmp")}; }},
        {"save over a read-only file", 3, [&] { picture(); dialogs.fileAnswers = {readOnly}; }},
        {"Paint with none registered", 12, picture},
        {"print without a printer", 14, picture},
        {"region with the clipboard held", 6, [&] { holder = std::make_unique<ClipboardHolder>(); },
         [&] { Drag(300, 300, 340, 320); holder.reset(); }},
    };
    for (const auto& c : cases) {
        for (bool toolbar : {true, false}) {
            dialogs.boxes.clear();
            c.setup();
            toolbar ? Click(c.button) : Menu(c.button);
            if (c.finish) c.finish();
            EXPECT_TRUE(dialogs.fileAnswers.empty()) << c.what << " did not ask for its file";
            EXPECT_EQ(dialogs.boxes.size(), toolbar ? 0u : 1u) << c.what << (toolbar ? " from the toolbar" : " from the menu");
        }
    }
    ::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFileBytes(readOnly), "old");
    EXPECT_EQ(printDialogs, 0) << "a print dialog without a printer";
    EXPECT_EQ(::FindWindowW(nullptr, L"Error"), nullptr) << "the shell showed a box of its own";
    EXPECT_FALSE(form->Silent());

    // Gaps, the separator and indices outside the toolbar run nothing.
    const std::wstring title = WindowTitle(form->hwnd());
    const size_t requests = dialogs.fileRequests.size();
    dialogs.boxes.clear();
    for (int index : {1, 4, 11, 15}) Click(index);
    for (int index : {0, 18, -1}) form->Toolbar1_ButtonClick(index);
    form->RunCommand(IDM_SCROLL);  // the greyed scrolling capture
    EXPECT_TRUE(dialogs.boxes.empty() && dialogs.fileRequests.size() == requests);
    EXPECT_EQ(WindowTitle(form->hwnd()), title);
    EXPECT_FALSE(form->Doc().PicBmp.Empty());
}

}  // namespace
}  // namespace vx::test
