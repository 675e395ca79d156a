#include "bench_pictures.h"

#include <cstdint>
#include <vector>

#include "platform/gdi.h"

namespace vx::bench {

ComPtr<IPicture> BusyPicture(int width, int height) {
    HDC screen = ::GetDC(nullptr);
    UniqueBitmap bitmap(::CreateCompatibleBitmap(screen, width, height));
    std::vector<std::uint32_t> pixels(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[static_cast<size_t>(y) * width + x] = ((x / 64 + y / 32) % 3 == 0) ? 0xFFFFFF : (x * 3 ^ y * 5) & 0x3F3F3F;
    const BITMAPINFO bmi = DibInfo(width, -height, 32);
    ::SetDIBits(screen, bitmap.get(), 0, height, pixels.data(), &bmi, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return CreatePictureFromBitmap(std::move(bitmap), UniquePalette());
}

}  // namespace vx::bench
