#include "capture_commands_win.h"

#include "../platform/dialogs.h"
#include "../platform/text.h"
#include "../resources/resource.h"
#include "window_capture_win.h"

namespace vx {

void mnuScreen_Click(CaptureHost& host) {
    HWND hwnd = host.Owner();
    HiddenWindowWait hidden(hwnd);
    ::ShowWindow(hwnd, SW_HIDE);
    // The copy must not show this window: wait until the hiding has reached the screen.
    hidden.Wait();
    ComPtr<IPicture> picture = CaptureScreen();
    ::ShowWindow(hwnd, SW_SHOW);
    host.EndCapture(std::move(picture), true);
}

void mnuAtiveWindow_Click(CaptureHost& host) {
    const std::wstring text = LoadText(IDS_MSG_ACTIVEWINDOW);
    const std::wstring title = LoadText(IDS_MSG_ACTIVEWINDOW_TITLE);
    if (CurrentDialogs().MessageBox(host.Owner(), text.c_str(), title.c_str(), MB_OKCANCEL | MB_ICONINFORMATION) !=
        IDOK) {
        return;
    }
    host.SetWindowState(WindowState::Minimized);
    // No messages meanwhile: the user activates another window in these two seconds.
    ::Sleep(2000);
    ComPtr<IPicture> picture = CaptureActiveWindow();
    // Normal, even when it was maximised before.
    host.BackToNormal();
    host.EndCapture(std::move(picture), true);
}

void ActiveWindowNow_Click(CaptureHost& host) {
    host.EndCapture(CaptureActiveWindow(), true);
}

void mnuClient_Click(CaptureHost& host) {
    host.EndCapture(CaptureFormClient(host), true);
}

void mnuTitleBar_Click(CaptureHost& host) {
    host.EndCapture(CaptureFormWindow(host), true);
}

}  // namespace vx
