#pragma once
// The window-based capture commands: each places a new picture, marks it unsaved and
// lays the view out for it, through the host's one ending.
#include "../document/capture_host.h"

namespace vx {

void mnuScreen_Click(CaptureHost& host);
void mnuAtiveWindow_Click(CaptureHost& host);
// Alt+Print Screen: the active window taken at once, as the delayed capture takes it
// (the key itself says which window is meant, so there is no question and no wait).
void ActiveWindowNow_Click(CaptureHost& host);
void mnuClient_Click(CaptureHost& host);
void mnuTitleBar_Click(CaptureHost& host);

}  // namespace vx
