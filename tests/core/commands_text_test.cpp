#include <gtest/gtest.h>

#include "commands/title_text.h"
#include "main_window/toolbar_definition.h"
#include "platform/paths.h"
#include "resources/resource.h"

namespace vx {
namespace {

TEST(CommandsText, PathsAndTitle) {
    struct { const wchar_t* path; const wchar_t* file; const wchar_t* folder; } cases[] = {
        {L"C:\\a\\b\\pic.bmp", L"pic.bmp", L"C:\\a\\b"},
        {L"pic.bmp", L"pic.bmp", L""},
        {L"C:\\a\\", L"", L"C:\\a"},
        {L"C:\\grab.exe", L"grab.exe", L"C:\\"},  // a drive's root keeps its separator
        {L"C:b.bmp", L"C:b.bmp", L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetFileName(c.path), c.file) << c.path;
        EXPECT_EQ(FolderOfPath(c.path), c.folder) << c.path;
    }
    EXPECT_EQ(ProgramNameFromPath(L"C:\\x\\Vellumox.test.exe"), L"Vellumox.test");
    EXPECT_EQ(JoinFolder(L"C:\\", L"\\Temp\\temp.bmp"), L"C:\\Temp\\temp.bmp");
    EXPECT_EQ(JoinFolderAndFile(L"C:\\", L"\\language"), L"C:\\\\language");  // plain joining, as the file system takes it
    EXPECT_EQ(OpenedTitle(L"grab", L"shot.bmp", 640, 480), L"grab\x2500[shot.bmp(640x480) ]");
}

TEST(CommandsText, ToolbarRunsTheMenuCommands) {
    const unsigned expected[] = {0, 0, IDM_OPEN, IDM_SAVE, 0, IDM_SCREEN, IDM_DISTRICT, IDM_ATIVEWINDOW, IDM_CLIENT,
                                 IDM_TITLEBAR, IDM_WORKAREA, 0, IDM_MSPAINT, IDM_WALLPAPER, IDM_PRINT, 0, IDM_HOWTO,
                                 IDM_ABOUT, 0};
    for (int i = 0; i <= 18; ++i) EXPECT_EQ(ToolbarCommand(i), expected[i]) << "index " << i;
    EXPECT_EQ(ToolbarCommand(-1), 0u);
    for (int i = 1; i <= kToolbarButtonCount; ++i) EXPECT_EQ(ToolbarIndexOf(ToolbarButtonId(i)), i);
}

}  // namespace
}  // namespace vx
