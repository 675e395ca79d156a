// The toolbar road: real clicks on Toolbar1 reach the same commands as the menu, and
// nothing that fails there is shown.
#include "documents_support.h"
#include "resources/resource.h"

namespace vx::test {
namespace {

class ToolbarRoad : public MainWindowTest {
protected:
    // Presses and releases the mouse on button `index` (1-based) as a person would.
    void Click(int index) {
        RECT r{};
        ASSERT_TRUE(::SendMessageW(form->Toolbar1(), TB_GETITEMRECT, static_cast<WPARAM>(index - 1),
                                   reinterpret_cast<LPARAM>(&r)));
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        ::SendMessageW(form->Toolbar1(), WM_MOUSEMOVE, 0, at);
        ::SendMessageW(form->Toolbar1(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageW(form->Toolbar1(), WM_LBUTTONUP, 0, at);
        Pump();
    }
    void Menu(int id) {
        ::SendMessageW(form->hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
        Pump();
    }
};

TEST_F(ToolbarRoad, ButtonsRunTheDocumentCommandsAndGapsRunNothing) {
    ScriptedDialogs dialogs;
    dialogs.fileAnswers = {L"", L""};
    form->PlacePicture(PatternPicture(40, 30));
    IPicture* picture = form->Doc().PicBmp.Picture.get();
    const std::wstring title = WindowTitle(form->hwnd());

    // Gaps, the separator and indices outside the toolbar: nothing at all.
    for (int index : {1, 4, 11, 15}) Click(index);
    form->Toolbar1_ButtonClick(0);
    form->Toolbar1_ButtonClick(18);
    form->Toolbar1_ButtonClick(-1);
    EXPECT_TRUE(dialogs.fileRequests.empty());
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(form->Doc().PicBmp.Picture.get(), picture);
    EXPECT_EQ(WindowTitle(form->hwnd()), title);

    // 2 opens, 3 saves: the file dialogs appear in that order.
    Click(2);
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests[0].lpstrTitle, nullptr);  // the open dialog's own title
    Click(3);
    ASSERT_EQ(dialogs.fileRequests.size(), 2u);
    EXPECT_EQ(std::wstring(dialogs.fileRequests[1].lpstrTitle), L"保存");

    // 13 sets the wallpaper.
    char empty[1] = "";
    ::SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, empty, SPIF_UPDATEINIFILE);
    Click(13);
    wchar_t wallpaper[MAX_PATH] = {};
    ::SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, wallpaper, 0);
    EXPECT_EQ(_wcsicmp(wallpaper, L"c:\\windows\\wallpaper.bmp"), 0);
    ::SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, empty, SPIF_UPDATEINIFILE);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(ToolbarRoad, FailuresAreSilentFromTheToolbarAndToldFromTheMenu) {
    ScriptedDialogs dialogs;
    TempDir dir;
    WriteFileBytes(dir.File(L"broken.bmp"), std::string("BM\x10\0\0\0garbage", 13));
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L"Paint.Picture");

    // No image: save, Paint, wallpaper and print each fail.
    const struct { int button, menu; } commands[] = {
        {3, IDM_SAVE}, {12, IDM_MSPAINT}, {13, IDM_WALLPAPER}, {14, IDM_PRINT}};
    for (const auto& c : commands) {
        Click(c.button);
        EXPECT_TRUE(dialogs.boxes.empty()) << "button " << c.button;
        Menu(c.menu);
        EXPECT_EQ(dialogs.boxes.size(), 1u) << "menu of button " << c.button;
        EXPECT_EQ(dialogs.boxes.back().text, LoadText(IDS_DOC_NO_IMAGE));
        dialogs.boxes.clear();
    }
    // A file that cannot be decoded, opened from button 2 and from the menu.
    const std::wstring title = WindowTitle(form->hwnd());
    dialogs.fileAnswers = {dir.File(L"broken.bmp"), dir.File(L"broken.bmp")};
    Click(2);
    EXPECT_TRUE(dialogs.boxes.empty());
    Menu(IDM_OPEN);
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_TRUE(form->Doc().PicBmp.Empty());
    EXPECT_EQ(WindowTitle(form->hwnd()), title);
    // The silence ends with the toolbar command.
    EXPECT_FALSE(form->Silent());
}

}  // namespace
}  // namespace vx::test
