#include "clipboard_formats.h"

#include <cstdio>

namespace vx {
namespace {

constexpr std::uint32_t kCoreHeader = 12;   // BITMAPCOREHEADER: 3-byte colour entries
constexpr std::uint32_t kInfoHeader = 40;   // BITMAPINFOHEADER
constexpr std::uint32_t kBitFields = 3, kAlphaBitFields = 6;

}  // namespace

PasteSource ChoosePasteSource(const ClipboardOffers& offers) {
    if (offers.png) return PasteSource::Png;
    if (offers.dibV5) return PasteSource::DibV5;
    if (offers.dib) return PasteSource::Dib;
    if (offers.bitmap) return PasteSource::Bitmap;
    if (offers.file) return PasteSource::File;
    return PasteSource::None;
}

std::optional<std::uint32_t> PackedDibPixelOffset(std::uint32_t headerSize, std::uint16_t bitCount,
                                                  std::uint32_t compression, std::uint32_t coloursUsed,
                                                  std::size_t totalBytes) {
    const bool core = headerSize == kCoreHeader;
    if (!core && (headerSize < kInfoHeader || headerSize > 1024)) return std::nullopt;
    if (bitCount == 0 || bitCount > 32) return std::nullopt;
    // A colour table is implied below 16 bits; a stated count longer than the
    // depth allows is a lie that would read the pixels as colours.
    const std::uint64_t implied = bitCount <= 8 ? std::uint64_t{1} << bitCount : 0;
    const std::uint64_t colours = core || coloursUsed == 0 ? implied : coloursUsed;
    if (colours > 256 && bitCount <= 8) return std::nullopt;
    if (colours > 4096) return std::nullopt;
    std::uint64_t offset = headerSize + colours * (core ? 3 : 4);
    // The masks follow a plain info header; the larger headers hold them inside.
    if (headerSize == kInfoHeader && compression == kBitFields) offset += 12;
    if (headerSize == kInfoHeader && compression == kAlphaBitFields) offset += 16;
    if (offset > totalBytes) return std::nullopt;
    return static_cast<std::uint32_t>(offset);
}

std::wstring DragOutFileName(int year, int month, int day, int hour, int minute, int second) {
    wchar_t name[64];
    std::swprintf(name, sizeof name / sizeof name[0], L"Vellumox %04d-%02d-%02d %02d%02d%02d.png", year, month, day,
                  hour, minute, second);
    return name;
}

}  // namespace vx
