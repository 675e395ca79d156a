#include "picture_box.h"

namespace vx {

void PictureBox::SetPicture(ComPtr<IPicture> picture, double twipsPerPixelX, double twipsPerPixelY) {
    Picture = std::move(picture);
    pixelWidth_ = pixelHeight_ = 0;
    if (HBITMAP bitmap = Bitmap()) {
        BITMAP info{};
        if (::GetObjectW(bitmap, sizeof info, &info)) {
            pixelWidth_ = info.bmWidth;
            pixelHeight_ = info.bmHeight;
        }
        Width = pixelWidth_ * twipsPerPixelX;
        Height = pixelHeight_ * twipsPerPixelY;
    }
}

bool PictureBox::Empty() const { return Bitmap() == nullptr; }

HBITMAP PictureBox::Bitmap() const {
    OLE_HANDLE handle = 0;
    if (!Picture || FAILED(Picture->get_Handle(&handle))) return nullptr;
    return reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
}

HPALETTE PictureBox::Palette() const {
    OLE_HANDLE handle = 0;
    if (!Picture || FAILED(Picture->get_hPal(&handle))) return nullptr;
    return reinterpret_cast<HPALETTE>(static_cast<UINT_PTR>(handle));
}

}  // namespace vx
