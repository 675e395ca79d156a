#pragma once
// picScroll: the viewport that clips PicBmp. It paints only the visible part of the
// picture, so a picture of any size (beyond the 16-bit window limits too) is shown
// at its logical place without a child window of that size.
#include "../platform/win32.h"

namespace vx {

class FrmMain;
struct PictureBox;

bool RegisterViewportClass(HINSTANCE instance);
HWND CreateViewport(HWND parent, HINSTANCE instance, FrmMain* form);

// Paints the viewport's clip rectangle: the workspace colour and the visible part of
// the picture whose top-left corner lies at (originX, originY) client pixels.
void PaintViewport(HDC dc, const RECT& clip, const PictureBox& picture, long originX, long originY);

}  // namespace vx
