// The free-region selection commands: arm, track the drag, copy to the clipboard and
// place the picture read back from it.
#include "../main_window/frm_main.h"
#include "../main_window/units.h"
#include "../resources/resource.h"
#include "capture_area.h"
#include "clipboard_copy.h"
#include "selection_overlay.h"
#include "selection_tracking.h"

namespace vx {
namespace {

// The screen needs a moment after the minimise before it shows what lies beneath.
constexpr DWORD kMinimiseSettleMs = 120;

void CloseOverlay(FrmMain& form) {
    if (form.selectionOverlay) ::DestroyWindow(form.selectionOverlay);
    form.selectionOverlay = nullptr;
}

}  // namespace

void CancelSelection(FrmMain& form) {
    form.SelectionArmed = false;
    if (::GetCapture() == form.hwnd()) ::ReleaseCapture();
    CloseOverlay(form);
    form.frozenScreen.reset();
    form.MousePointer = 0;
    form.ScaleMode = kScaleTwips;
    form.ImageUnsaved = form.selectionPriorUnsaved;
    form.SetWindowState(form.selectionPriorState);
}

void FrmMain::mnuDistrict_Click() {
    ScaleMode = kScalePixels;
    if (SelectionArmed) return;
    selectionPriorUnsaved = ImageUnsaved;
    selectionPriorState = WindowState();
    selectionSilent = Silent();
    SelectionArmed = true;
    MousePointer = 2;
    ::SetCapture(hwnd_);
    ImageUnsaved = true;
    SetWindowState(1);

    ::GdiFlush();
    ::Sleep(kMinimiseSettleMs);
    const RECT screen = VirtualScreenRect();
    frozenScreen = CopyVirtualScreen(screen);
    // Without the frozen copy the mouse capture alone has to bring the press.
    if (frozenScreen) selectionOverlay = ShowSelectionOverlay(*this, screen);
}

void FrmMain::Form_MouseDown(int button, int, double x, double y) {
    if (!(button & 1)) return;
    if (MousePointer != 2 || !SelectionArmed) return;
    SelectionArmed = false;
    POINT start{Nearest(x), Nearest(y)};
    const SelRect rect = TrackSelection(hwnd_, start);
    if (IsEmptySelection(rect)) {
        // Escape, or a click without a drag: nothing is taken.
        CancelSelection(*this);
        return;
    }
    // Taken while the frozen copy still covers the screen, so it is what the user saw.
    ClipboardCopy copy = CopyScreenAreaToClipboard(hwnd_, rect.left, rect.top, rect.right, rect.bottom);
    CloseOverlay(*this);

    // Restoring runs the layout pass with the previous picture and the pixel scale.
    SetWindowState(0);
    if (WindowState() != 0) SetWindowState(0);  // minimised from maximised comes back maximised first

    ComPtr<IPicture> picture = copy.placed ? ReadClipboardPicture(hwnd_, copy.sequence)
                                           : CreatePictureFromBitmap(std::move(copy.refused), {});
    if (!picture) {
        // The clipboard changed or stayed closed since: the view still gets the area itself.
        const RECT area{rect.left, rect.top, rect.right, rect.bottom};
        picture = CreatePictureFromBitmap(CropFrozenScreen(frozenScreen.get(), VirtualScreenRect(), area), {});
    }
    frozenScreen.reset();
    PlacePicture(picture);
    if (!copy.placed && !selectionSilent) ReportFailure(LoadText(IDS_MSG_CLIPBOARD_BUSY));
}

void FrmMain::Form_MouseUp(int button, int, double, double) {
    if (!(button & 1)) return;
    MousePointer = 0;
    ScaleMode = kScaleTwips;
    // A release before any press leaves nothing that could start the selection: end
    // it, rather than leave the frozen screen up and the command unable to re-arm.
    if (SelectionArmed) CancelSelection(*this);
}

}  // namespace vx
