#include "capture_area_win.h"

#include <vector>

#include "capture_geometry.h"

namespace vx {
namespace {

// A copy of the system palette, realised in the memory context before the copy.
UniquePalette CopySystemPalette(HDC source) {
    std::vector<PALETTEENTRY> entries(256);
    ::GetSystemPaletteEntries(source, 0, 256, entries.data());
    return PaletteFromEntries(entries);
}

}  // namespace

UniqueBitmap CaptureWindowBitmap(HWND hwnd, bool client, int x, int y, int width, int height, UniquePalette& palette) {
    UniqueWindowDc source = client ? UniqueWindowDc::Client(hwnd) : UniqueWindowDc::Whole(hwnd);
    if (UsePalettePath(::GetDeviceCaps(source.get(), RASTERCAPS), ::GetDeviceCaps(source.get(), SIZEPALETTE))) {
        palette = CopySystemPalette(source.get());
    }
    // DeleteDC of the memory context happens inside, before ReleaseDC here.
    return CopyArea(source.get(), x, y, width, height, nullptr, palette.get());
}

ComPtr<IPicture> CaptureWindowArea(HWND hwnd, bool client, int x, int y, int width, int height) {
    UniquePalette palette;
    UniqueBitmap bitmap = CaptureWindowBitmap(hwnd, client, x, y, width, height, palette);
    return CreatePictureFromBitmap(std::move(bitmap), std::move(palette));
}

}  // namespace vx
