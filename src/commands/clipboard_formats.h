#pragma once
// The portable side of handing the picture over: which clipboard format a paste reads,
// where a clipboard bitmap's pixels start (so it can be read as a BMP file), and the
// name of a dragged-out picture file. No <windows.h>.
#include <cstdint>
#include <optional>
#include <string>

namespace vx {

// What a paste reads, best first: the exact PNG, the device-independent bitmaps, the
// device bitmap, a copied file.
enum class PasteSource { None, Png, DibV5, Dib, Bitmap, File };

struct ClipboardOffers {
    bool png = false, dibV5 = false, dib = false, bitmap = false, file = false;
};

PasteSource ChoosePasteSource(const ClipboardOffers& offers);

// The offset of the pixels in a packed DIB (header, bit masks, colour table), from
// the header's fields; nothing when the header is not one a BMP file can carry or
// the pixels would start beyond `totalBytes`.
std::optional<std::uint32_t> PackedDibPixelOffset(std::uint32_t headerSize, std::uint16_t bitCount,
                                                  std::uint32_t compression, std::uint32_t coloursUsed,
                                                  std::size_t totalBytes);

// "Vellumox 2026-12-08 091500.png": the picture file a drag carries, named by the time.
std::wstring DragOutFileName(int year, int month, int day, int hour, int minute, int second);

}  // namespace vx
