#include <gtest/gtest.h>

#include "commands/title_text.h"
#include "commands/toolbar_dispatch.h"

namespace vx {
namespace {

TEST(CommandsText, GetFileNameCutsAtTheLastBackslashOnly) {
    EXPECT_EQ(GetFileName(L"C:\\a\\b\\pic.bmp"), L"pic.bmp");
    EXPECT_EQ(GetFileName(L"pic.bmp"), L"pic.bmp");
    EXPECT_EQ(GetFileName(L"C:\\a\\"), L"");
    EXPECT_EQ(GetFileName(L""), L"");
    EXPECT_EQ(GetFileName(L"C:/a/b.bmp"), L"C:/a/b.bmp");
    EXPECT_EQ(GetFileName(L"C:b.bmp"), L"C:b.bmp");
}

TEST(CommandsText, OpenedTitleCarriesThePixelSize) {
    EXPECT_EQ(OpenedTitle(L"grab", L"shot.bmp", 640, 480), L"grab\x2500[shot.bmp(640x480) ]");
}

TEST(CommandsText, ProgramNameAndFolder) {
    EXPECT_EQ(ProgramNameFromPath(L"C:\\x y\\grab.exe"), L"grab");
    EXPECT_EQ(ProgramNameFromPath(L"C:\\x\\Vellumox.test.exe"), L"Vellumox.test");
    EXPECT_EQ(ProgramFolderFromPath(L"C:\\x y\\grab.exe"), L"C:\\x y");
    EXPECT_EQ(ProgramFolderFromPath(L"C:\\grab.exe"), L"C:\\");
}

TEST(CommandsText, ToolbarDispatchTable) {
    const Command expected[] = {
        Command::None,   Command::None,     Command::Open,         Command::Save,   Command::None,
        Command::Screen, Command::District, Command::ActiveWindow, Command::Client, Command::TitleBar,
        Command::Client, Command::None,     Command::Paint,        Command::Wallpaper, Command::Print,
        Command::None,   Command::Help,     Command::About,        Command::None,
    };
    for (int i = 0; i <= 18; ++i) EXPECT_EQ(ToolbarCommand(i), expected[i]) << "index " << i;
    EXPECT_EQ(ToolbarCommand(-1), Command::None);
    EXPECT_EQ(ToolbarCommand(32767), Command::None);
}

}  // namespace
}  // namespace vx
