#include "gdi.h"

#include <algorithm>
#include <optional>

namespace vx {

BITMAPINFO DibInfo(long width, long height, unsigned bitsPerPixel) {
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
    bmi.bmiHeader.biCompression = BI_RGB;
    return bmi;
}

UniquePalette PaletteFromEntries(const std::vector<PALETTEENTRY>& entries) {
    if (entries.empty() || entries.size() > 0xFFFF) return {};
    std::vector<unsigned char> storage(sizeof(LOGPALETTE) + (entries.size() - 1) * sizeof(PALETTEENTRY), 0);
    auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(entries.size());
    std::copy(entries.begin(), entries.end(), logical->palPalEntry);
    return UniquePalette(::CreatePalette(logical));
}

namespace {
bool g_failBitmaps = false;
}  // namespace

UniqueBitmap NewCompatibleBitmap(HDC dc, int width, int height) {
    if (g_failBitmaps) {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return {};
    }
    return UniqueBitmap(::CreateCompatibleBitmap(dc, width, height));
}

UniqueBitmap NewDibSection(int width, int height, void** bits) {
    *bits = nullptr;
    if (g_failBitmaps) {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return {};
    }
    const BITMAPINFO info = DibInfo(width, -height, 32);
    return UniqueBitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0));
}

void SimulateBitmapFailure(bool fail) { g_failBitmaps = fail; }

UniqueBitmap CopyArea(HDC source, int x, int y, int width, int height, HDC formatOf, HPALETTE palette) {
    UniqueCreatedDc memory(::CreateCompatibleDC(source));
    // Compatible with the display's format, not with the memory context's 1-bit default.
    UniqueBitmap bitmap = NewCompatibleBitmap(formatOf ? formatOf : source, width, height);
    if (!bitmap || !memory) return bitmap;
    std::optional<SelectGuard> selectBitmap(std::in_place, memory.get(), bitmap.get());
    std::optional<PaletteGuard> selectPalette;
    if (palette) selectPalette.emplace(memory.get(), palette);  // selected and realised
    ::BitBlt(memory.get(), 0, 0, width, height, source, x, y, SRCCOPY);
    selectBitmap.reset();
    selectPalette.reset();
    return bitmap;
}

UniqueBitmap CopyBitmapArea(HBITMAP source, int x, int y, int width, int height) {
    BITMAP info{};
    if (!source || !::GetObjectW(source, sizeof info, &info)) return {};
    UniqueCreatedDc display = DisplayDc();
    UniqueCreatedDc from(::CreateCompatibleDC(display.get()));
    SelectGuard select(from.get(), source);
    if (info.bmBitsPixel != 1) return CopyArea(from.get(), x, y, width, height, display.get());
    // A monochrome bitmap keeps its two colours: the memory context's own format.
    return CopyArea(from.get(), x, y, width, height);
}

}  // namespace vx
