// The window-based capture commands.
#include "../main_window/dialogs.h"
#include "../main_window/frm_main.h"
#include "../resources/resource.h"
#include "capture_procs.h"

namespace vx {

void FrmMain::mnuScreen_Click() {
    HiddenWindowWait hidden(hwnd());
    ::ShowWindow(hwnd(), SW_HIDE);
    // The copy must not show this window: wait until the hiding has reached the screen.
    hidden.Wait();
    PlacePicture(CaptureScreen());
    ImageUnsaved = true;
    ::ShowWindow(hwnd(), SW_SHOW);
    ::SetFocus(hwnd());
    Form_Resize();
}

void FrmMain::mnuAtiveWindow_Click() {
    const std::wstring text = LoadText(IDS_MSG_ACTIVEWINDOW);
    const std::wstring title = LoadText(IDS_MSG_ACTIVEWINDOW_TITLE);
    if (CurrentDialogs().MessageBox(hwnd(), text.c_str(), title.c_str(), MB_OKCANCEL | MB_ICONINFORMATION) != IDOK) {
        return;
    }
    SetWindowState(1);
    // No messages meanwhile: the user activates another window in these two seconds.
    ::Sleep(2000);
    PlacePicture(CaptureActiveWindow());
    ImageUnsaved = true;
    ::SetFocus(hwnd());
    // Normal, even when it was maximised before: restoring a minimised window brings
    // it back to its previous state, so a maximised one needs a second step.
    SetWindowState(0);
    if (WindowState() == 2) SetWindowState(0);
    Form_Resize();
}

void FrmMain::mnuClient_Click() {
    PlacePicture(CaptureFormClient(*this));
    ImageUnsaved = true;
    Form_Resize();
}

void FrmMain::mnuTitleBar_Click() {
    PlacePicture(CaptureFormWindow(*this));
    ImageUnsaved = true;
    Form_Resize();
}

}  // namespace vx
