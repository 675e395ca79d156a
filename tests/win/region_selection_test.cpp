// The free-region selection inside the program: its states, what a cancel puts back,
// the clipboard held by another process, and the GDI objects left behind.
#include "capture/frozen_screen_win.h"
#include "win_test_support.h"

namespace vx::test {
namespace {

struct RegionSelectionTest : MainWindowTest {
    // Nothing of a selection is left: pointer, scale unit, overlay.
    bool Disarmed() const {
        return form->GetMousePointer() == MousePointer::Default && form->GetScaleMode() == ScaleMode::Twips &&
               !form->Selection().Armed() && !form->Selection().Overlay() && !form->Selection().Frozen();
    }
    std::pair<long, long> PictureSize() const { return {form->Doc().PicBmp.PixelWidth(), form->Doc().PicBmp.PixelHeight()}; }
    ScriptedDialogs dialogs;
};

// Armed: crosshair, pixel unit, minimised, the frozen screen shown. Escape while armed
// and Escape while dragging take nothing and put everything back, the maximised window
// too. Then a drag up
// and to the left takes its area to the view and the clipboard, and the window comes back
// normal; a second selection frees the first picture and the clipboard's first bitmap.
// With the clipboard held by another process the area still reaches the view, the
// clipboard is left alone, the user is told (from the menu: the toolbar's silence is in
// the road table) and the refused bitmap becomes the picture instead of leaking.
TEST_F(RegionSelectionTest, ArmEscapeSelectionsAndAHeldClipboard) {
    form->SetWindowState(WindowState::Maximized);
    auto backMaximized = [&] { return Disarmed() && form->GetWindowState() == WindowState::Maximized && Settled(); };
    ASSERT_TRUE(PumpUntil(backMaximized));
    form->RunCommand(IDM_DISTRICT);
    const HWND overlay = form->Selection().Overlay();
    EXPECT_EQ(std::tuple(form->Selection().Armed(), form->Doc().ImageUnsaved, bool(::IsWindowVisible(overlay)),
                         form->GetMousePointer(), form->GetScaleMode(), form->GetWindowState()),
              std::tuple(true, true, true, MousePointer::Crosshair, ScaleMode::Pixels, WindowState::Minimized));
    ::PostMessageW(overlay, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(PumpUntil(backMaximized)) << "Escape while armed";
    // Wine keeps a few objects (the crosshair's bitmaps, the popup's class) from the
    // first selection on: count from here.
    const int bitmapsBefore = CountGdiObjects(OBJ_BITMAP);
    DWORD sequence = ::GetClipboardSequenceNumber();
    form->RunCommand(IDM_DISTRICT);
    // The hand goes on once the frozen screen is on top with the keyboard (a window manager hands it on first).
    PumpUntil([&] { return ::GetForegroundWindow() == form->Selection().Overlay() && ::GetTopWindow(nullptr) == form->Selection().Overlay(); });
    for (DWORD flags : {0, MOUSEEVENTF_LEFTDOWN}) MouseAt(300, 300, flags);
    MouseAt(380, 350);
    ::keybd_event(VK_ESCAPE, 0, 0, 0), ::keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);  // behind the press and a move
    PumpUntil(backMaximized);
    MouseAt(380, 350, MOUSEEVENTF_LEFTUP);  // handled by the time nothing is left to handle
    PumpUntil(Settled);
    EXPECT_EQ(std::tuple(Disarmed(), form->GetWindowState(), form->Doc().ImageUnsaved, form->Doc().PicBmp.Empty(),
                         ::GetClipboardSequenceNumber(), CountGdiObjects(OBJ_BITMAP)),
              std::tuple(true, WindowState::Maximized, false, true, sequence, bitmapsBefore));

    form->RunCommand(IDM_DISTRICT);  // it arms again
    Drag(410, 345, 290, 300);
    EXPECT_EQ(PictureSize(), std::pair(120L, 45L));
    EXPECT_EQ(std::tuple(Disarmed(), form->GetWindowState(), form->Doc().ImageUnsaved,
                         ::GetClipboardSequenceNumber() != sequence, dialogs.boxes.size()),
              std::tuple(true, WindowState::Normal, true, true, 0u));
    const int bitmaps = CountGdiObjects(OBJ_BITMAP);
    form->RunCommand(IDM_DISTRICT);
    Drag(300, 300, 340, 320);
    EXPECT_EQ(std::tuple(PictureSize(), CountGdiObjects(OBJ_BITMAP)), std::tuple(std::pair(40L, 20L), bitmaps));

    ClipboardHolder holder;
    ASSERT_TRUE(holder.process);
    sequence = ::GetClipboardSequenceNumber();
    form->RunCommand(IDM_DISTRICT);
    Drag(300, 300, 380, 330);
    EXPECT_EQ(PictureSize(), std::pair(80L, 30L));
    EXPECT_EQ(std::tuple(dialogs.Texts(), ::GetClipboardSequenceNumber(), CountGdiObjects(OBJ_BITMAP)),
              std::tuple(std::vector{LoadText(IDS_MSG_CLIPBOARD_BUSY)}, sequence, bitmaps));
}

}  // namespace
}  // namespace vx::test
