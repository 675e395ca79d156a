#pragma once
// DPI in one place: sizes designed at 96 DPI are scaled here, and twips per pixel
// comes from the system DPI.
#include "win32.h"

namespace vx {

// The system (screen) DPI, as the screen's twips-per-pixel figure uses it.
int SystemDpi();
// The DPI of the monitor a window is on (system DPI where the platform cannot say).
int WindowDpi(HWND hwnd);
// A length designed at 96 DPI, scaled to the given DPI.
int Scale96(int value, int dpi);
// The height of a line of the interface's message font at `dpi`, in pixels: what one
// wheel line or one arrow key moves a view, as it moves text elsewhere.
int MessageLineHeight(int dpi);
// 1440 / system DPI.
double ScreenTwipsPerPixel();
// Per-monitor-v2 where the manifest was not honoured; failure is harmless.
void DeclareDpiAwareness();

}  // namespace vx
