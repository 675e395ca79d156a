// A long session in one running program: captures of every kind, clear, open and
// save, over and over. Nothing may pile up: GDI objects, handles, memory, files.
#include "win_test_support.h"

namespace vx::test {
namespace {

class ReliabilitySoak : public MainWindowTest {};

TEST_F(ReliabilitySoak, FiveHundredCyclesOfCaptureClearOpenAndSave) {
    TempDir dir;
    ScriptedDialogs dialogs;
    const std::wstring names[] = {L"a.bmp", L"b.png", L"c.jpg"};
    auto cycle = [&](int i) {
        if (i % 100 == 0) mnuScreen_Click(*form);
        else if (i % 2) mnuClient_Click(*form);
        else mnuTitleBar_Click(*form);
        Pump();  // the view paints each picture
        const std::wstring file = dir.File(names[i % 3]);
        dialogs.fileAnswers = {file};
        mnusave_Click(*form);
        mnuClear_Click(*form);
        dialogs.fileAnswers = {file};
        mnuOpen_Click(*form);
        Pump();
    };
    for (int i = 0; i < 6; ++i) cycle(i);  // warm-up: caches filled, every file exists
    const int bitmaps = CountGdiObjects(OBJ_BITMAP), palettes = CountGdiObjects(OBJ_PAL);
    const int memoryDcs = CountGdiObjects(OBJ_MEMDC), dcs = CountGdiObjects(OBJ_DC);
    DWORD handles = 0;
    ::GetProcessHandleCount(::GetCurrentProcess(), &handles);
    const size_t memory = PrivateBytes();
    ASSERT_GT(memory, 0u);

    for (int i = 6; i < 506; ++i) cycle(i);

    EXPECT_TRUE(dialogs.boxes.empty()) << "no failure was reported";
    EXPECT_EQ(CountGdiObjects(OBJ_BITMAP), bitmaps);
    EXPECT_EQ(CountGdiObjects(OBJ_PAL), palettes);
    EXPECT_EQ(CountGdiObjects(OBJ_MEMDC), memoryDcs);
    EXPECT_EQ(CountGdiObjects(OBJ_DC), dcs);
    DWORD handlesAfter = 0;
    ::GetProcessHandleCount(::GetCurrentProcess(), &handlesAfter);
    EXPECT_LE(handlesAfter, handles + handles / 20);
    EXPECT_LT(static_cast<double>(PrivateBytes()) / static_cast<double>(memory), 1.05);
    // Only the saved files are left: no temporary file from the writer.
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(dir.File(L"*").c_str(), &found);
    int files = 0;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    EXPECT_EQ(files, 3);
}

}  // namespace
}  // namespace vx::test
