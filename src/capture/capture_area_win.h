#pragma once
// Copying a rectangle of a window's surface into a new bitmap (with the system
// palette on 256-colour palette displays) and wrapping it as a picture object.
#include "../document/picture_object.h"
#include "../platform/gdi.h"

namespace vx {

// client true: the client-area context (GetDC); false: the whole window (GetWindowDC).
ComPtr<IPicture> CaptureWindowArea(HWND hwnd, bool client, int x, int y, int width, int height);

// The same copy without the picture object: the bitmap, and in `palette` the copy of
// the system palette it was taken with on a 256-colour palette display.
UniqueBitmap CaptureWindowBitmap(HWND hwnd, bool client, int x, int y, int width, int height, UniquePalette& palette);

}  // namespace vx
