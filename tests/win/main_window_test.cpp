// The main window as a person finds it after start: title, menus, toolbar, status bar.
#include "win_test_support.h"

#include "resources/resource.h"

namespace vx::test {
namespace {

// "level caption" per item, "-" for separators, "(grey)" after a greyed item.
void WalkMenu(HMENU menu, int level, std::vector<std::wstring>& out) {
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        MENUITEMINFOW info{sizeof info};
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = 256;
        ASSERT_TRUE(::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info));
        std::wstring line = std::to_wstring(level) + L" " + ((info.fType & MFT_SEPARATOR) ? L"-" : text);
        if (info.fState & MFS_GRAYED) line += L" (grey)";
        if (info.fState & MFS_CHECKED) line += L" (checked)";
        out.push_back(line);
        if (info.hSubMenu) WalkMenu(info.hSubMenu, level + 1, out);
    }
}

TEST_F(MainWindowTest, TitleIsExact) {
    EXPECT_EQ(WindowTitle(form->hwnd()), L"Vellumoxv2.30");
}

TEST_F(MainWindowTest, MenuBarCaptionsOrderSeparatorsAndShortcuts) {
    std::vector<std::wstring> items;
    WalkMenu(::GetMenu(form->hwnd()), 1, items);
    const std::vector<std::wstring> expected = {
        L"1 文件(&F)", L"2 打开(&O)", L"2 保存(&S)\tCtrl+S", L"2 -", L"2 取消捕获(&C)", L"2 -",
        L"2 设置为墙纸\tCtrl+W", L"2 清除墙纸\tCtrl+C", L"2 -", L"2 打印(&P)", L"2 -", L"2 退出(&X)\tCtrl+Q",
        L"1 捕获(&C)", L"2 整个屏幕(&S)", L"2 自由捕获(&D)", L"2 -", L"2 延时捕获(&A)", L"2 当前工作区(&C)", L"2 -",
        L"2 当前窗口(&F)", L"2 滚动窗口(&S) (grey)",
        L"1 图像(&I)", L"2 用画图编辑", L"2 -", L"2 选择语言(&L)", L"3 简体中文(&C)", L"3 英语(&English)",
        L"1 帮助(&H)", L"2 帮助主题(H)", L"2 -", L"2 关于Vellumox(&A)...",
    };
    ASSERT_EQ(items.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(Narrow(items[i]), Narrow(expected[i])) << "item " << i;
}

TEST_F(MainWindowTest, ShortcutsAreAcceleratorsAndCtrlCClearsTheWallpaper) {
    HACCEL table = ::LoadAcceleratorsW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_ACCELERATORS));
    ASSERT_NE(table, nullptr);
    ACCEL entries[8] = {};
    const int n = ::CopyAcceleratorTableW(table, entries, 8);
    ASSERT_EQ(n, 4);
    auto command = [&](WORD key) {
        for (int i = 0; i < n; ++i) {
            if (entries[i].key == key && (entries[i].fVirt & FCONTROL) && (entries[i].fVirt & FVIRTKEY)) return entries[i].cmd;
        }
        return WORD{0};
    };
    EXPECT_EQ(command('S'), IDM_SAVE);
    EXPECT_EQ(command('W'), IDM_WALLPAPER);
    EXPECT_EQ(command('C'), IDM_CLEARWALL);
    EXPECT_EQ(command('Q'), IDM_EXIT);
}

TEST_F(MainWindowTest, ScrollingCaptureItemDoesNothing) {
    const bool unsaved = form->Doc().ImageUnsaved;
    ::SendMessageW(form->hwnd(), WM_COMMAND, MAKEWPARAM(IDM_SCROLL, 0), 0);
    Pump(20);
    EXPECT_TRUE(::IsWindow(form->hwnd()));
    EXPECT_EQ(form->Doc().ImageUnsaved, unsaved);
    EXPECT_TRUE(form->Doc().PicBmp.Empty());
}

TEST_F(MainWindowTest, ToolbarButtonsImagesAndTooltips) {
    HWND toolbar = form->Toolbar1();
    ASSERT_EQ(::SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0), 17);
    // image number (1-based, 0 = gap) and tooltip, by button index
    const struct { int image; const wchar_t* tip; } expected[17] = {
        {0, L""},        {1, L"打开"},         {2, L"保存图片"},       {0, L""},
        {6, L"捕获全屏"}, {3, L"区域到剪切板"}, {7, L"延时捕获活动窗口"}, {8, L"捕获当前窗口"},
        {9, L"捕获当前窗口"}, {10, L"捕获工作区"}, {0, L""},          {12, L"用画图编辑"},
        {20, L"设为墙纸"}, {21, L"打印"},       {-1, L""},            {23, L"帮助"},
        {18, L"关于"},
    };
    for (int i = 0; i < 17; ++i) {
        TBBUTTON b{};
        ASSERT_TRUE(::SendMessageW(toolbar, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b)));
        const int index = i + 1;
        if (expected[i].image == -1) {
            EXPECT_TRUE(b.fsStyle & BTNS_SEP) << "button " << index << " is the separator line";
        } else if (expected[i].image == 0) {
            EXPECT_EQ(b.iBitmap, I_IMAGENONE) << "button " << index << " is a gap";
        } else {
            EXPECT_EQ(b.iBitmap, expected[i].image - 1) << "button " << index;
            EXPECT_FALSE(b.fsStyle & BTNS_SEP);
        }
        EXPECT_TRUE(b.fsState & TBSTATE_ENABLED);
        EXPECT_EQ(Narrow(TooltipOf(form->hwnd(), static_cast<UINT_PTR>(b.idCommand))), Narrow(expected[i].tip))
            << "button " << index;
    }
    // The button strip holds 23 images of 16 x 16.
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(::SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0));
    EXPECT_EQ(::ImageList_GetImageCount(images), 23);
    int cx = 0, cy = 0;
    ::ImageList_GetIconSize(images, &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
}

TEST_F(MainWindowTest, StatusBarPanels) {
    HWND status = form->StatusBar1();
    int parts[4] = {};
    ASSERT_EQ(::SendMessageW(status, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(parts)), 2);
    EXPECT_EQ(Narrow(StatusText(status, 0)), Narrow(L"欢迎使用Vellumox v1.0 !"));
    const std::wstring started = StatusText(status, 1);
    EXPECT_GT(started.size(), 8u) << "panel 2 holds the start date and time";

    // Panel 2 is 2000 twips; panel 1 takes the rest but never less than 2000 twips.
    const double tpp = form->TwipsPerPixelX();
    RECT client{};
    ::GetClientRect(form->hwnd(), &client);
    EXPECT_NEAR(client.right - parts[0], 2000 / tpp, 1.0);
    ::SetWindowPos(form->hwnd(), nullptr, 0, 0, 150, 300, SWP_NOMOVE | SWP_NOZORDER);
    Pump(1100);
    ::SendMessageW(status, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(parts));
    EXPECT_NEAR(parts[0], 2000 / tpp, 1.0);
    EXPECT_EQ(StatusText(status, 1), started) << "panel 2 keeps the start time";
}

}  // namespace
}  // namespace vx::test
