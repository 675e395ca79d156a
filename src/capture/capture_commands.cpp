#include "capture_commands.h"

#include "../platform/dialogs.h"
#include "../platform/text.h"
#include "../resources/resource.h"
#include "capture_procs.h"

namespace vx {
namespace {

// A capture that could not be made (no memory for its bitmap) keeps the picture that
// was there, and its state; the user hears of it from the menu.
void PlaceCapture(CommandHost& host, ComPtr<IPicture> picture) {
    if (!picture) {
        host.ReportFailure(LoadText(IDS_MSG_CAPTURE_NO_MEMORY));
        return;
    }
    host.PlacePicture(std::move(picture));
    host.Doc().ImageUnsaved = true;
}

}  // namespace

void mnuScreen_Click(CommandHost& host) {
    HWND hwnd = host.Owner();
    HiddenWindowWait hidden(hwnd);
    ::ShowWindow(hwnd, SW_HIDE);
    // The copy must not show this window: wait until the hiding has reached the screen.
    hidden.Wait();
    PlaceCapture(host, CaptureScreen());
    ::ShowWindow(hwnd, SW_SHOW);
    ::SetFocus(hwnd);
    host.Relayout();
}

void mnuAtiveWindow_Click(CommandHost& host) {
    const std::wstring text = LoadText(IDS_MSG_ACTIVEWINDOW);
    const std::wstring title = LoadText(IDS_MSG_ACTIVEWINDOW_TITLE);
    if (CurrentDialogs().MessageBox(host.Owner(), text.c_str(), title.c_str(), MB_OKCANCEL | MB_ICONINFORMATION) !=
        IDOK) {
        return;
    }
    host.SetWindowState(WindowState::Minimized);
    // No messages meanwhile: the user activates another window in these two seconds.
    ::Sleep(2000);
    PlaceCapture(host, CaptureActiveWindow());
    ::SetFocus(host.Owner());
    // Normal, even when it was maximised before: restoring a minimised window brings
    // it back to its previous state, so a maximised one needs a second step.
    host.SetWindowState(WindowState::Normal);
    if (host.GetWindowState() == WindowState::Maximized) host.SetWindowState(WindowState::Normal);
    host.Relayout();
}

void ActiveWindowNow_Click(CommandHost& host) {
    PlaceCapture(host, CaptureActiveWindow());
    host.Relayout();
}

void mnuClient_Click(CommandHost& host) {
    PlaceCapture(host, CaptureFormClient(host));
    host.Relayout();
}

void mnuTitleBar_Click(CommandHost& host) {
    PlaceCapture(host, CaptureFormWindow(host));
    host.Relayout();
}

}  // namespace vx
