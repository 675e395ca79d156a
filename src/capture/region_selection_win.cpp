#include "region_selection_win.h"

#include "../platform/dpi.h"
#include "../platform/text.h"
#include "../resources/resource.h"
#include "capture_area_win.h"
#include "clipboard_copy_win.h"
#include "selection_tracking_win.h"

namespace vx {

void RegionSelection::Arm(CaptureHost& host) {
    host.SetScaleMode(ScaleMode::Pixels);
    if (pick_.Armed()) return;
    priorUnsaved_ = host.Doc().ImageUnsaved;
    ::SetCapture(host.Owner());
    host.Doc().ImageUnsaved = true;
    if (!pick_.Arm(host)) {
        // Without the frozen screen nothing would catch the press or ever end the
        // selection (no memory for a copy of a very large virtual screen).
        const bool tell = !pick_.Silent();
        Cancel(host);
        host.EndCapture(nullptr, tell);
        return;
    }
    // Without the outline and the loupe (no memory for them) the selection still works.
    const FrozenScreen& frozen = pick_.Frozen();
    decor_.Begin(frozen.Memory(), frozen.Screen(), pick_.Windows().Monitors(), frozen.Window(), WindowDpi(frozen.Window()));
    POINT at{};
    ::GetCursorPos(&at);
    OnPickMove(at);
}

void RegionSelection::Cancel(CaptureHost& host) {
    decor_.End();
    if (::GetCapture() == host.Owner()) ::ReleaseCapture();
    host.SetScaleMode(ScaleMode::Twips);
    host.Doc().ImageUnsaved = priorUnsaved_;
    pick_.Cancel();
}

void RegionSelection::Press(CaptureHost& host, int button, POINT screen) {
    if (!(button & 1) || !pick_.Armed()) return;
    pick_.Take();
    const WindowSnapshot::Pick picked = pick_.Windows().At(screen);
    bool escaped = false;
    Rect rect = TrackSelection(host.Owner(), screen, &escaped, decor_.Active() ? &decor_ : nullptr);
    decor_.End();
    // A hand that moves a pixel or two while clicking has not dragged.
    const bool clicked = !escaped && ClickNotDrag(rect, ::GetSystemMetrics(SM_CXDRAG), ::GetSystemMetrics(SM_CYDRAG));
    // Only what the frozen copy holds: a corner off the screen never makes a picture
    // larger than the screen.
    rect = (clicked ? picked.rect : rect).Intersect(pick_.Frozen().Screen());
    if (escaped || rect.Empty()) {
        // Escape, or a click over nothing: nothing is taken.
        Cancel(host);
        return;
    }
    // From the frozen copy: what the user saw, and nothing of what was drawn over it.
    ClipboardCopy copy = CopyScreenAreaToClipboard(host.Owner(), pick_.Frozen().Crop(rect));
    const bool clipboardRefused = !copy.placed && copy.refused;
    ComPtr<IPicture> picture = copy.placed ? ReadClipboardPicture(host.Owner(), copy.sequence)
                                           : CreatePictureFromBitmap(std::move(copy.refused), {});
    if (!picture) {
        // The clipboard changed or stayed closed since: the view still gets the area itself.
        picture = CreatePictureFromBitmap(pick_.Frozen().Crop(rect), {});
    }
    // Restoring runs the layout pass with the previous picture and the pixel scale.
    host.BackToNormal();
    // The new picture is laid out in twips, as the release would lay it out.
    host.SetScaleMode(ScaleMode::Twips);
    const bool tell = !pick_.Silent();
    if (!picture) {
        // No memory for the area's bitmap: the picture that was there stays, and so
        // does its state.
        host.Doc().ImageUnsaved = priorUnsaved_;
        pick_.Close();
        host.EndCapture(nullptr, tell);
        return;
    }
    // Active before the frozen screen goes: hiding the active window would hand the
    // keyboard to another program, which under X takes it late, after this.
    host.EndCapture(std::move(picture), false);
    pick_.Close();
    if (clipboardRefused && tell) host.ReportFailure(LoadText(IDS_MSG_CLIPBOARD_BUSY));
}

void RegionSelection::Release(CaptureHost& host, int button) {
    if (!(button & 1)) return;
    host.SetMousePointer(MousePointer::Default);
    host.SetScaleMode(ScaleMode::Twips);
    // A release before any press leaves nothing that could start the selection: end
    // it, rather than leave the frozen screen up and the command unable to re-arm.
    if (pick_.Armed()) Cancel(host);
    pick_.Done();
}

void RegionSelection::OnPickPress(int button, POINT screen) {
    if (CaptureHost* host = pick_.Host()) Press(*host, button, screen);
}

void RegionSelection::OnPickMove(POINT screen) {
    if (pick_.Armed()) decor_.Show(pick_.Windows().At(screen).rect, {screen.x, screen.y});
}

void RegionSelection::OnPickKey(int key) {
    if (pick_.Armed()) decor_.Key(key);
}

void RegionSelection::OnPickRelease(int button) {
    if (CaptureHost* host = pick_.Host()) Release(*host, button);
}

void RegionSelection::OnPickCancel() {
    if (CaptureHost* host = pick_.Host()) Cancel(*host);
}

}  // namespace vx
