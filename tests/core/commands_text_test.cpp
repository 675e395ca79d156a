#include <gtest/gtest.h>

#include "commands/title_text.h"
#include "main_window/toolbar_definition.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace vx {
namespace {

TEST(CommandsText, PathsTitleFilledTextsAndToolbarIds) {
    const struct { const wchar_t* path; const wchar_t* file; const wchar_t* folder; } cases[] = {
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
    EXPECT_EQ(JoinPath(JoinPath(L"C:\\", L"Temp"), L"temp.bmp"), L"C:\\Temp\\temp.bmp");
    EXPECT_EQ(OpenedTitle(L"grab", L"shot.bmp", 640, 480), L"grab\x2500[shot.bmp(640x480) ]");
    // Places filled in order; a place without an argument and a lone % stay as they are.
    EXPECT_EQ(FillText(L"无法保存：%1\n%2", {L"C:\\a.bmp", L"磁盘已满。"}), L"无法保存：C:\\a.bmp\n磁盘已满。");
    EXPECT_EQ(FillText(L"100% %3 %1", {L"x"}), L"100% %3 x");
    // Outside the toolbar there is no command.
    for (int i : {-1, 0, kToolbarButtonCount + 1}) EXPECT_EQ(ToolbarCommand(i), 0u) << i;
}

}  // namespace
}  // namespace vx
