#pragma once
// PicBmp: the current picture and its logical place inside the viewport, in twips.
// The picture object owns its bitmap and palette; releasing it frees them.
#include "../platform/unique_handle.h"

namespace vx {

struct PictureBox {
    // Design size while no picture was ever set.
    static constexpr double kDesignWidth = 3225;
    static constexpr double kDesignHeight = 2685;

    ComPtr<IPicture> Picture;
    double Left = 0, Top = 0;
    double Width = kDesignWidth, Height = kDesignHeight;

    // Takes the picture and its size (auto-size); a null picture empties the box and
    // keeps the size.
    void SetPicture(ComPtr<IPicture> picture, double twipsPerPixelX, double twipsPerPixelY);
    bool Empty() const;
    HBITMAP Bitmap() const;
    HPALETTE Palette() const;
    long PixelWidth() const { return pixelWidth_; }
    long PixelHeight() const { return pixelHeight_; }

private:
    long pixelWidth_ = 0, pixelHeight_ = 0;
};

}  // namespace vx
