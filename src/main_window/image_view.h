#pragma once
// picScroll: the viewport that clips PicBmp. It paints only the visible part of the
// picture, so a picture of any size (beyond the 16-bit window limits too) is shown
// at its logical place without a child window of that size.
#include "../platform/window_base.h"

namespace vx {

class FrmMain;
struct PictureBox;

class Viewport final : public WindowBase {
public:
    explicit Viewport(FrmMain& form) : form_(form) {}
    bool Create(HWND parent, HINSTANCE instance);

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    FrmMain& form_;  // the markup takes the mouse and the paint while it runs
    bool rightPressed_ = false;  // a right click begun in the view
};

// Paints the viewport's clip rectangle: the workspace colour and the visible part of
// the picture whose top-left corner lies at (originX, originY) client pixels.
void PaintViewport(HDC dc, const RECT& clip, const PictureBox& picture, long originX, long originY);

}  // namespace vx
