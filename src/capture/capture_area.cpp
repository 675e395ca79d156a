#include "capture_area.h"

#include <memory>
#include <vector>

#include "capture_geometry.h"

namespace vx {
namespace {

// A copy of the system palette, realised in the memory context before the copy.
UniquePalette CopySystemPalette(HDC source) {
    std::vector<unsigned char> storage(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY), 0);
    auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = 256;
    ::GetSystemPaletteEntries(source, 0, 256, logical->palPalEntry);
    return UniquePalette(::CreatePalette(logical));
}

}  // namespace

ComPtr<IPicture> CaptureWindowArea(HWND hwnd, bool client, int x, int y, int width, int height) {
    UniqueWindowDc source = client ? UniqueWindowDc::Client(hwnd) : UniqueWindowDc::Whole(hwnd);
    UniqueCreatedDc memory(::CreateCompatibleDC(source.get()));
    // Compatible with the display's format, not with the memory context's 1-bit default.
    UniqueBitmap bitmap(::CreateCompatibleBitmap(source.get(), width, height));
    UniquePalette palette;
    {
        SelectGuard selectBitmap(memory.get(), bitmap.get());
        std::unique_ptr<PaletteGuard> selectPalette;
        if (UsePalettePath(::GetDeviceCaps(source.get(), RASTERCAPS), ::GetDeviceCaps(source.get(), SIZEPALETTE))) {
            palette = CopySystemPalette(source.get());
            selectPalette = std::make_unique<PaletteGuard>(memory.get(), palette.get());
        }
        ::BitBlt(memory.get(), 0, 0, width, height, source.get(), x, y, SRCCOPY);
        // The guards put the previous palette and bitmap back, palette first.
    }
    memory.reset();  // DeleteDC, then ReleaseDC
    source.reset();
    return CreatePictureFromBitmap(std::move(bitmap), std::move(palette));
}

ComPtr<IPicture> CreatePictureFromBitmap(UniqueBitmap bitmap, UniquePalette palette) {
    if (!bitmap) return {};
    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof(PICTDESC);
    desc.picType = PICTYPE_BITMAP;
    desc.bmp.hbitmap = bitmap.get();
    desc.bmp.hpal = palette.get();
    ComPtr<IDispatch> object;
    if (FAILED(::OleCreatePictureIndirect(&desc, IID_IDispatch, TRUE, reinterpret_cast<void**>(object.put()))) ||
        !object) {
        return {};  // the handles are still ours and are freed here
    }
    bitmap.release();  // the picture owns them now
    palette.release();
    return object.As<IPicture>(IID_IPicture);
}

}  // namespace vx
