#pragma once
// The frozen screen: a topmost borderless popup over the whole virtual screen that
// shows a copy of the screen taken when the selection is armed. It catches the next
// press anywhere (a minimised window's mouse capture does not see presses made over
// other programs' windows) and keeps the picture still while the user drags.
#include "capture_api.h"
#include "unique_handle.h"

namespace vx {

class FrmMain;

// The virtual screen (all monitors) in screen pixels.
RECT VirtualScreenRect();

// A copy of the virtual screen as it is shown now.
UniqueBitmap CopyVirtualScreen(const RECT& screen);

// Creates, shows, paints and focuses the popup showing form.frozenScreen over
// `screen`. Its presses and releases reach form.Form_MouseDown / Form_MouseUp in the
// main window's client coordinates; Escape cancels the selection.
HWND ShowSelectionOverlay(FrmMain& form, const RECT& screen);

// Ends a selection that captured nothing: the popup goes, the pointer, the scale
// unit, the window state and ImageUnsaved are put back as they were.
void CancelSelection(FrmMain& form);

}  // namespace vx

namespace vx {

// The part of a frozen copy of `screen` under `area` (screen pixels).
UniqueBitmap CropFrozenScreen(HBITMAP frozen, const RECT& screen, const RECT& area);

}  // namespace vx
