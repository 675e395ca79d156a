#include <gtest/gtest.h>

#include "commands/clipboard_formats.h"
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

// A clipboard DIB's pixels start after its header, masks and colour table; a header
// that would put them beyond the bytes (or read pixels as colours) is refused.
TEST(CommandsText, ClipboardDibPixelOffsetAndDragOutName) {
    const struct { std::uint32_t header; std::uint16_t bits; std::uint32_t compression, used; std::size_t total; long offset; } cases[] = {
        {40, 32, 0, 0, 1000, 40},  {40, 32, 3, 0, 1000, 52}, {40, 16, 6, 0, 1000, 56}, {124, 32, 3, 0, 1000, 124},
        {40, 8, 0, 0, 2000, 1064}, {40, 8, 0, 16, 2000, 104}, {12, 4, 0, 0, 100, 60},  {40, 1, 0, 0, 47, -1},
        {40, 8, 0, 300, 9000, -1}, {0, 32, 0, 0, 1000, -1},   {40, 0, 0, 0, 1000, -1}, {2000, 32, 0, 0, 9000, -1},
    };
    for (const auto& c : cases) {
        const auto offset = PackedDibPixelOffset(c.header, c.bits, c.compression, c.used, c.total);
        EXPECT_EQ(offset ? static_cast<long>(*offset) : -1L, c.offset) << c.header << " " << c.bits << " " << c.used;
    }
    EXPECT_EQ(DragOutFileName(2026, 12, 8, 9, 15, 0), L"Vellumox 2026-12-08 091500.png");
}

}  // namespace
}  // namespace vx
