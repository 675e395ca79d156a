// The toolbar road: real clicks on Toolbar1 run the commands of their buttons, and no
// failure there is shown, while the same command from the menu tells it.
#include "main_window/toolbar_definition.h"
#include "win_test_support.h"

namespace vx::test {
namespace {

using ToolbarRoad = MainWindowTest;

// A person's click on toolbar button `index` (1-based).
void Click(FrmMain& form, int index) {
    RECT r{};
    ::SendMessageW(form.Toolbar1(), TB_GETITEMRECT, index - 1, reinterpret_cast<LPARAM>(&r));
    ::MapWindowPoints(form.Toolbar1(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    Drag((r.left + r.right) / 2, (r.top + r.bottom) / 2, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

TEST_F(ToolbarRoad, FailuresAreSilentFromTheToolbarAndToldFromTheMenu) {
    ScriptedDialogs dialogs;
    TempDir dir;
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L"Paint.Picture");
    std::unique_ptr<ClipboardHolder> holder;
    const struct { const char* what; unsigned command; std::function<void()> setup, finish; } cases[] = {
        {"save without a picture", IDM_SAVE},  // the window starts without one
        {"Paint without a picture", IDM_MSPAINT},
        {"wallpaper without a picture", IDM_WALLPAPER},
        {"print without a picture", IDM_PRINT},
        {"open of a missing file", IDM_OPEN, [&] { dialogs.fileAnswers = {dir.File(L"missing.bmp")}; }},
        {"save into a missing folder", IDM_SAVE,
         [&] { form->PlacePicture(PatternPicture(40, 30)); dialogs.fileAnswers = {dir.File(L"missing\\a.bmp")}; }},
        {"Paint with none registered", IDM_MSPAINT},  // the picture placed for the save
        {"print without a printer", IDM_PRINT},  // a print dialog would be cancelled, no box
        // The click or the menu arms the selection; the drag takes an area the view shows.
        {"region with the clipboard held", IDM_DISTRICT, [&] { holder = std::make_unique<ClipboardHolder>(); },
         [&] { Drag(300, 300, 340, 320); holder.reset(); EXPECT_EQ(form->Doc().PicBmp.PixelHeight(), 20); }},
    };
    for (const auto& c : cases) {
        for (bool fromMenu : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (fromMenu ? " from the menu" : " from the toolbar"));
            dialogs.boxes.clear();
            if (c.setup) c.setup();
            fromMenu ? (void)::SendMessageW(form->hwnd(), WM_COMMAND, c.command, 0) : Click(*form, ToolbarIndexOf(c.command));
            if (c.finish) c.finish();
            EXPECT_EQ(std::tuple(dialogs.fileAnswers.size(), dialogs.boxes.size()), std::tuple(0u, fromMenu ? 1u : 0u));
        }
    }
    EXPECT_EQ(::FindWindowW(nullptr, L"Error"), nullptr) << "the shell showed a box of its own";
    EXPECT_FALSE(form->Silent());

}

}  // namespace
}  // namespace vx::test
