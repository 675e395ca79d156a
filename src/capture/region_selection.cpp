#include "region_selection.h"

#include "../platform/dpi.h"
#include "../platform/text.h"
#include "../resources/resource.h"
#include "capture_area.h"
#include "clipboard_copy.h"
#include "selection_tracking.h"

namespace vx {

RegionSelection::~RegionSelection() {
    // The window that hosts it is going: nothing may be put back into it any more.
    armed_ = false;
    host_ = nullptr;
}

void RegionSelection::Arm(CaptureHost& host) {
    host.SetScaleMode(ScaleMode::Pixels);
    if (armed_) return;
    host_ = &host;
    priorUnsaved_ = host.Doc().ImageUnsaved;
    priorState_ = host.GetWindowState();
    silent_ = host.Silent();
    armed_ = true;
    host.SetMousePointer(MousePointer::Crosshair);
    ::SetCapture(host.Owner());
    host.Doc().ImageUnsaved = true;
    host.SetWindowState(WindowState::Minimized);

    if (!frozen_.ShowAfterMinimise(&windows_)) {
        // Without the frozen screen nothing would catch the press or ever end the
        // selection (no memory for a copy of a very large virtual screen).
        Cancel(host);
        if (!silent_) host.ReportFailure(LoadText(IDS_MSG_CAPTURE_NO_MEMORY));
        return;
    }
    // Without the outline and the loupe (no memory for them) the selection still works.
    decor_.Begin(frozen_.Memory(), frozen_.Screen(), windows_.Monitors(), frozen_.Window(), WindowDpi(frozen_.Window()));
    POINT at{};
    ::GetCursorPos(&at);
    OnOverlayMove(at);
}

void RegionSelection::Cancel(CaptureHost& host) {
    armed_ = false;
    decor_.End();
    windows_.Clear();
    if (::GetCapture() == host.Owner()) ::ReleaseCapture();
    frozen_.Hide();
    host.SetMousePointer(MousePointer::Default);
    host.SetScaleMode(ScaleMode::Twips);
    host.Doc().ImageUnsaved = priorUnsaved_;
    host.SetWindowState(priorState_);
    host_ = nullptr;
}

void RegionSelection::Press(CaptureHost& host, int button, POINT screen) {
    if (!(button & 1) || !armed_) return;
    armed_ = false;
    const WindowSnapshot::Pick picked = windows_.At(screen);
    bool escaped = false;
    Rect rect = TrackSelection(host.Owner(), screen, &escaped, decor_.Active() ? &decor_ : nullptr);
    decor_.End();
    windows_.Clear();
    // A hand that moves a pixel or two while clicking has not dragged.
    const bool clicked = !escaped && ClickNotDrag(rect, ::GetSystemMetrics(SM_CXDRAG), ::GetSystemMetrics(SM_CYDRAG));
    const RECT& screenRect = frozen_.Screen();
    if (clicked) rect = picked.rect.Intersect({screenRect.left, screenRect.top, screenRect.right, screenRect.bottom});
    if (escaped || rect.Empty()) {
        // Escape, or a click over nothing: nothing is taken.
        Cancel(host);
        return;
    }
    // Taken while the frozen copy still covers the screen, so it is what the user saw;
    // the clicked window straight from the copy, as the outline showed it.
    ClipboardCopy copy = clicked ? PlaceOnClipboard(host.Owner(), frozen_.Crop({rect.left, rect.top, rect.right, rect.bottom}))
                                 : CopyScreenAreaToClipboard(host.Owner(), rect);
    // Hidden, not yet freed: the copy may still be needed below.
    const HWND overlay = frozen_.Window();
    ::ShowWindow(overlay, SW_HIDE);

    // Restoring runs the layout pass with the previous picture and the pixel scale.
    host.SetWindowState(WindowState::Normal);
    // Minimised from maximised comes back maximised first.
    if (host.GetWindowState() != WindowState::Normal) host.SetWindowState(WindowState::Normal);

    const bool clipboardRefused = !copy.placed && copy.refused;
    ComPtr<IPicture> picture = copy.placed ? ReadClipboardPicture(host.Owner(), copy.sequence)
                                           : CreatePictureFromBitmap(std::move(copy.refused), {});
    if (!picture) {
        // The clipboard changed or stayed closed since: the view still gets the area itself.
        const RECT area{rect.left, rect.top, rect.right, rect.bottom};
        picture = CreatePictureFromBitmap(frozen_.Crop(area), {});
    }
    frozen_.Hide();
    if (!picture) {
        // No memory for the area's bitmap: the picture that was there stays, and so
        // does its state.
        host.Doc().ImageUnsaved = priorUnsaved_;
        if (!silent_) host.ReportFailure(LoadText(IDS_MSG_CAPTURE_NO_MEMORY));
        return;
    }
    host.PlacePicture(picture);
    relayoutPending_ = true;
    if (clipboardRefused && !silent_) host.ReportFailure(LoadText(IDS_MSG_CLIPBOARD_BUSY));
}

void RegionSelection::Release(CaptureHost& host, int button) {
    if (!(button & 1)) return;
    host.SetMousePointer(MousePointer::Default);
    host.SetScaleMode(ScaleMode::Twips);
    // A release before any press leaves nothing that could start the selection: end
    // it, rather than leave the frozen screen up and the command unable to re-arm.
    if (armed_) Cancel(host);
    host_ = nullptr;
    if (relayoutPending_) {
        // The layout during the restore described the old picture in pixels.
        relayoutPending_ = false;
        host.Relayout();
    }
}

void RegionSelection::OnOverlayPress(int button, POINT screen) {
    if (host_) Press(*host_, button, screen);
}

void RegionSelection::OnOverlayMove(POINT screen) {
    if (armed_) decor_.Show(windows_.At(screen).rect, {screen.x, screen.y});
}

void RegionSelection::OnOverlayWheel(int delta, POINT screen) {
    if (!armed_) return;
    windows_.Wheel(screen, delta);
    OnOverlayMove(screen);
}

void RegionSelection::OnOverlayKey(int key) {
    if (armed_) decor_.Key(key);
}

void RegionSelection::OnOverlayRelease(int button) {
    if (host_) Release(*host_, button);
}

void RegionSelection::OnOverlayCancel() {
    if (host_ && armed_) Cancel(*host_);
}

void RegionSelection::OnOverlayGone() {
    // Destroyed from outside (the system): the selection could never end otherwise.
    if (host_ && armed_) Cancel(*host_);
}

}  // namespace vx
