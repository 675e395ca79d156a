// The capture primitive and the picture object it makes.
#include "capture/capture_area.h"
#include "win_test_support.h"

namespace vx::test {
namespace {

TEST(CaptureArea, ReleasingThePictureFreesItsBitmapAndPalette) {
    UniqueWindowDc screen = UniqueWindowDc::Client(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen.get(), 8, 8);
    struct { WORD version, count; PALETTEENTRY entries[2]; } logical{0x300, 2, {{1, 2, 3, 0}, {4, 5, 6, 0}}};
    HPALETTE palette = ::CreatePalette(reinterpret_cast<LOGPALETTE*>(&logical));
    ASSERT_TRUE(bitmap && palette);

    ComPtr<IPicture> picture = CreatePictureFromBitmap(UniqueBitmap(bitmap), UniquePalette(palette));
    ASSERT_TRUE(picture);
    PictureBox box;
    box.SetPicture(picture, 15, 15);
    EXPECT_EQ(box.Bitmap(), bitmap);
    EXPECT_EQ(box.Palette(), palette);
    EXPECT_EQ(box.PixelWidth(), 8);
    // Other interfaces of the standard picture stay reachable.
    EXPECT_TRUE(picture.As<IPictureDisp>(IID_IPictureDisp));
    EXPECT_TRUE(picture.As<IPersistStream>(IID_IPersistStream));
    EXPECT_EQ(::GetObjectType(palette), static_cast<DWORD>(OBJ_PAL));

    picture.reset();
    box.SetPicture(nullptr, 15, 15);
    EXPECT_EQ(::GetObjectType(bitmap), 0u) << "bitmap still alive";
    EXPECT_EQ(::GetObjectType(palette), 0u) << "palette still alive";
}

TEST(CaptureArea, CaptureLeavesOnlyTheNewBitmapBehind) {
    { UniqueWindowDc warm = UniqueWindowDc::Client(nullptr); }  // Wine caches a few objects on first use
    const int bitmaps = CountGdiObjects(OBJ_BITMAP), memoryDcs = CountGdiObjects(OBJ_MEMDC);
    const int palettes = CountGdiObjects(OBJ_PAL);
    ComPtr<IPicture> picture = CaptureWindowArea(::GetDesktopWindow(), false, 5, 7, 64, 48);
    ASSERT_TRUE(picture);
    EXPECT_EQ(CountGdiObjects(OBJ_BITMAP), bitmaps + 1);
    EXPECT_EQ(CountGdiObjects(OBJ_MEMDC), memoryDcs);
    picture.reset();
    EXPECT_EQ(CountGdiObjects(OBJ_BITMAP), bitmaps);
    EXPECT_EQ(CountGdiObjects(OBJ_PAL), palettes);
}

}  // namespace
}  // namespace vx::test
