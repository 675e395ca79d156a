// The toolbar road: real clicks on Toolbar1 run the commands of their buttons, and no
// failure there is shown, while the same command from the menu tells it.
#include "win_test_support.h"

namespace vx::test {
namespace {

using ToolbarRoad = MainWindowTest;

// Presses and releases the mouse on button `index` (1-based) as a person would, or
// sends the command the button carries as its menu item does.
void Press(FrmMain& form, int index, bool fromMenu) {
    RECT r{};
    TBBUTTON b{};
    ASSERT_TRUE(::SendMessageW(form.Toolbar1(), TB_GETBUTTON, index - 1, reinterpret_cast<LPARAM>(&b)) &&
                ::SendMessageW(form.Toolbar1(), TB_GETITEMRECT, index - 1, reinterpret_cast<LPARAM>(&r)));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    if (fromMenu) ::SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(b.idCommand, 0), 0);
    for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP})
        if (!fromMenu) ::SendMessageW(form.Toolbar1(), message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, at);
    Pump();
}

TEST_F(ToolbarRoad, FailuresAreSilentFromTheToolbarAndToldFromTheMenu) {
    ScriptedDialogs dialogs;
    TempDir dir;
    const std::wstring readOnly = dir.File(L"read-only.bmp");
    WriteFileBytes(readOnly, "old");
    ::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L"Paint.Picture");
    dialogs.print = [](PRINTDLGW&) { ADD_FAILURE() << "a print dialog without a printer"; return false; };
    std::unique_ptr<ClipboardHolder> holder;
    auto none = [&] { form->PlacePicture(nullptr); };
    auto picture = [&] { form->PlacePicture(PatternPicture(40, 30)); };
    const struct { const char* what; int button; std::function<void()> setup, finish; } cases[] = {
        {"save without a picture", 3, none},
        {"Paint without a picture", 12, none},
        {"wallpaper without a picture", 13, none},
        {"print without a picture", 14, none},
        {"open of a missing file", 2, [&] { dialogs.fileAnswers = {dir.File(L"missing.bmp")}; }},
        {"save over a read-only file", 3, [&] { picture(); dialogs.fileAnswers = {readOnly}; }},
        {"Paint with none registered", 12, picture},
        {"print without a printer", 14, picture},
        {"region with the clipboard held", 6, [&] { holder = std::make_unique<ClipboardHolder>(); },
         [&] { Drag(300, 300, 340, 320); holder.reset(); }},
    };
    for (const auto& c : cases) {
        for (bool fromMenu : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (fromMenu ? " from the menu" : " from the toolbar"));
            dialogs.boxes.clear();
            c.setup();
            Press(*form, c.button, fromMenu);
            if (c.finish) c.finish();
            EXPECT_TRUE(dialogs.fileAnswers.empty()) << "its file was not asked for";
            EXPECT_EQ(dialogs.boxes.size(), fromMenu ? 1u : 0u);
        }
    }
    ::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(::FindWindowW(nullptr, L"Error"), nullptr) << "the shell showed a box of its own";
    EXPECT_FALSE(form->Silent());

    // Gaps, the separator, indices outside the toolbar and the greyed scrolling capture
    // run nothing.
    const std::wstring title = WindowTitle(form->hwnd());
    dialogs.boxes.clear();
    dialogs.fileAnswers = {L""};  // a file dialog would take it
    for (int index : {1, 4, 11, 15}) Press(*form, index, false);
    for (int index : {0, 18, -1}) form->Toolbar1_ButtonClick(index);
    form->RunCommand(IDM_SCROLL);
    EXPECT_TRUE(dialogs.boxes.empty() && dialogs.fileAnswers.size() == 1);
    EXPECT_TRUE(WindowTitle(form->hwnd()) == title && !form->Doc().PicBmp.Empty());
}

}  // namespace
}  // namespace vx::test
