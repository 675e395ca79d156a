// The free-region selection inside the program: its states, what a cancel puts back,
// the clipboard held by another process, and the GDI objects left behind.
#include "capture/selection_overlay.h"
#include "resources/resource.h"
#include "win_test_support.h"

namespace vx::test {
namespace {

void Drag(int x1, int y1, int x2, int y2) {
    MouseAt(x1, y1);
    MouseAt(x1, y1, MOUSEEVENTF_LEFTDOWN);
    MouseAt((x1 + x2) / 2, (y1 + y2) / 2);
    MouseAt(x2, y2);
    MouseAt(x2, y2, MOUSEEVENTF_LEFTUP);
    Pump(300);
}

// A clipboard held open by another process for three seconds.
class ClipboardHolder {
public:
    ClipboardHolder()
        : process_(StartProcess(L"\"" + TestProgram(L"region_probe.exe") + L"\" hold-clipboard 3000 \"" +
                                dir_.File(L"ready") + L"\"")) {
        for (int i = 0; i < 100 && process_ && !FileExists(dir_.File(L"ready")); ++i) ::Sleep(50);
    }
    ~ClipboardHolder() { ::WaitForSingleObject(process_.get(), 5000); }
    bool started() const { return static_cast<bool>(process_); }

private:
    TempDir dir_;
    UniqueProcess process_;
};

class RegionSelectionTest : public MainWindowTest {
protected:
    // Wine keeps a few objects (the crosshair's bitmaps, the popup's class) from the
    // first selection on: count from after one armed and cancelled selection.
    int WarmBitmapCount() {
        form->RunCommand(IDM_DISTRICT);
        ::PostMessageW(form->Selection().Overlay(), WM_KEYDOWN, VK_ESCAPE, 0);
        Pump(100);
        return CountGdiObjects(OBJ_BITMAP);
    }
    ScriptedDialogs dialogs;
};

TEST_F(RegionSelectionTest, ArmedStateAndTheStatesAfterASelectionFromAMaximisedWindow) {
    form->SetWindowState(WindowState::Maximized);
    Pump(50);
    const int bitmapsBefore = WarmBitmapCount();
    ASSERT_EQ(form->GetWindowState(), WindowState::Maximized);  // a cancel puts the maximised window back
    const DWORD sequenceBefore = ::GetClipboardSequenceNumber();

    form->RunCommand(IDM_DISTRICT);
    EXPECT_TRUE(form->Selection().Armed());
    EXPECT_EQ(form->GetMousePointer(), MousePointer::Crosshair);
    EXPECT_EQ(form->GetScaleMode(), ScaleMode::Pixels);
    EXPECT_TRUE(form->Doc().ImageUnsaved);
    EXPECT_EQ(form->GetWindowState(), WindowState::Minimized);
    ASSERT_TRUE(form->Selection().Overlay());
    RECT cover{};
    ::GetWindowRect(form->Selection().Overlay(), &cover);
    const RECT screen = VirtualScreenRect();
    EXPECT_TRUE(::EqualRect(&cover, &screen));
    EXPECT_TRUE(::GetWindowLongW(form->Selection().Overlay(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    // Chosen again while armed: only the scale unit is set again.
    form->SetScaleMode(ScaleMode::Twips);
    const HWND overlay = form->Selection().Overlay();
    form->RunCommand(IDM_DISTRICT);
    EXPECT_EQ(form->GetScaleMode(), ScaleMode::Pixels);
    EXPECT_EQ(form->Selection().Overlay(), overlay);

    Drag(410, 345, 290, 300);  // up and to the left
    EXPECT_EQ(form->GetWindowState(), WindowState::Normal);  // normal, not maximised again
    EXPECT_EQ(form->GetMousePointer(), MousePointer::Default);
    EXPECT_EQ(form->GetScaleMode(), ScaleMode::Twips);
    EXPECT_TRUE(form->Doc().ImageUnsaved);
    EXPECT_FALSE(form->Selection().Armed());
    EXPECT_FALSE(form->Selection().Overlay());
    EXPECT_FALSE(form->Selection().Frozen());
    EXPECT_EQ(form->Doc().PicBmp.PixelWidth(), 120);
    EXPECT_EQ(form->Doc().PicBmp.PixelHeight(), 45);
    EXPECT_NE(::GetClipboardSequenceNumber(), sequenceBefore);
    EXPECT_TRUE(dialogs.boxes.empty());
    // A second selection frees the first picture and the clipboard's first bitmap.
    const int bitmapsAfterOne = CountGdiObjects(OBJ_BITMAP);
    EXPECT_GE(bitmapsAfterOne, bitmapsBefore + 1);
    form->RunCommand(IDM_DISTRICT);
    Drag(300, 300, 340, 320);
    EXPECT_EQ(form->Doc().PicBmp.PixelWidth(), 40);
    EXPECT_EQ(CountGdiObjects(OBJ_BITMAP), bitmapsAfterOne);
}

TEST_F(RegionSelectionTest, EscapeAndAnEmptyRectangleLeaveEverythingAsItWas) {
    const int bitmapsBefore = WarmBitmapCount();
    const DWORD sequence = ::GetClipboardSequenceNumber();

    // Escape while armed.
    form->RunCommand(IDM_DISTRICT);
    ::PostMessageW(form->Selection().Overlay(), WM_KEYDOWN, VK_ESCAPE, 0);
    Pump(100);
    // Escape while dragging: the key waits behind the press and a move.
    form->RunCommand(IDM_DISTRICT);
    MouseAt(300, 300);
    MouseAt(300, 300, MOUSEEVENTF_LEFTDOWN);
    MouseAt(380, 350);
    INPUT key[2] = {};
    key[0].type = key[1].type = INPUT_KEYBOARD;
    key[0].ki.wVk = key[1].ki.wVk = VK_ESCAPE;
    key[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, key, sizeof(INPUT));
    Pump(200);
    MouseAt(380, 350, MOUSEEVENTF_LEFTUP);
    Pump(50);
    // A click without a drag.
    form->RunCommand(IDM_DISTRICT);
    Drag(300, 300, 300, 300);

    EXPECT_FALSE(form->Doc().ImageUnsaved);
    EXPECT_TRUE(form->Doc().PicBmp.Empty());
    EXPECT_EQ(form->GetWindowState(), WindowState::Normal);
    EXPECT_EQ(form->GetMousePointer(), MousePointer::Default);
    EXPECT_EQ(form->GetScaleMode(), ScaleMode::Twips);
    EXPECT_FALSE(form->Selection().Armed());
    EXPECT_FALSE(form->Selection().Overlay());
    EXPECT_EQ(::GetClipboardSequenceNumber(), sequence);
    EXPECT_EQ(CountGdiObjects(OBJ_BITMAP), bitmapsBefore);
    // The command arms again afterwards.
    form->RunCommand(IDM_DISTRICT);
    EXPECT_TRUE(form->Selection().Armed());
    ::PostMessageW(form->Selection().Overlay(), WM_KEYDOWN, VK_ESCAPE, 0);
    Pump(100);
}

TEST_F(RegionSelectionTest, HeldClipboardStillGivesTheAreaAndTellsTheUserFromTheMenuOnly) {
    WarmBitmapCount();
    const DWORD sequence = ::GetClipboardSequenceNumber();
    {
        ClipboardHolder holder;
        ASSERT_TRUE(holder.started());
        form->RunCommand(IDM_DISTRICT);
        Drag(300, 300, 380, 330);
        EXPECT_EQ(form->Doc().PicBmp.PixelWidth(), 80);
        EXPECT_EQ(form->Doc().PicBmp.PixelHeight(), 30);
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.boxes[0].text, LoadText(IDS_MSG_CLIPBOARD_BUSY));
    }
    EXPECT_EQ(::GetClipboardSequenceNumber(), sequence);
    const int bitmapsAfterOne = CountGdiObjects(OBJ_BITMAP);

    // From the toolbar the same failure is silent.
    {
        ClipboardHolder holder;
        form->Toolbar1_ButtonClick(6);
        Drag(300, 300, 340, 320);
        EXPECT_EQ(form->Doc().PicBmp.PixelWidth(), 40);
    }
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    // The refused bitmap became the picture, and the old picture was freed.
    EXPECT_EQ(CountGdiObjects(OBJ_BITMAP), bitmapsAfterOne);
}

}  // namespace
}  // namespace vx::test
