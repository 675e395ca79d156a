#include "bmp_writer_win.h"

#include <vector>

#include "bmp_layout.h"

namespace vx {

Outcome WriteAll(HANDLE file, const void* data, size_t size) {
    const auto* p = static_cast<const unsigned char*>(data);
    while (size > 0) {
        const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!::WriteFile(file, p, chunk, &written, nullptr)) return Outcome{Status::CannotWrite, ::GetLastError()};
        if (written == 0) return Outcome{Status::CannotWrite, ERROR_WRITE_FAULT};
        p += written;
        size -= written;
    }
    return {};
}

namespace {

Outcome Unwritten(DWORD error) { return Outcome{Status::CannotWrite, error}; }

// A true-colour picture is written at 24 bits. The platform converts to 24 bits pixel
// by pixel, at about three times the cost of handing out 32-bit rows, which are a
// plain copy of the screen's format; so bands are taken at 32 bits and packed here.
Outcome WriteBmpTrueColour(HANDLE file, HBITMAP bitmap, const BmpLayout& layout) {
    // The 24-bit layout bounds the file, not a 32-bit row: a row past 4 GB must not wrap.
    if (layout.width > 0xFFFFFFFFu / 4) return Unwritten(ERROR_ARITHMETIC_OVERFLOW);
    UniqueCreatedDc dc(::CreateCompatibleDC(nullptr));
    BITMAPINFO bmi = DibInfo(static_cast<long>(layout.width), static_cast<long>(layout.height), 32);  // the file's order
    const std::vector<unsigned char> headers = BmpHeaders(layout);
    if (const Outcome o = WriteAll(file, headers.data(), headers.size()); !o.ok()) return o;
    const std::uint32_t wideStride = layout.width * 4;
    const std::uint32_t bandRows = RowsPerBand(wideStride, layout.height, kBmpBandBytes);
    std::vector<unsigned char> wide(static_cast<size_t>(bandRows) * wideStride);
    std::vector<unsigned char> packed(static_cast<size_t>(bandRows) * layout.stride);
    Outcome written;
    ForEachBand(layout.height, bandRows, [&](std::uint32_t first, std::uint32_t rows) {
        if (::GetDIBits(dc.get(), bitmap, first, rows, wide.data(), &bmi, DIB_RGB_COLORS) != static_cast<int>(rows)) {
            written = Unwritten(ERROR_INVALID_DATA);
            return false;
        }
        PackRows32To24(wide.data(), packed.data(), layout.width, rows);
        written = WriteAll(file, packed.data(), static_cast<size_t>(rows) * layout.stride);
        return written.ok();
    });
    return written;
}

}  // namespace

// The BMP rows go from the bitmap to the file band by band, no copy of the whole frame.
Outcome WriteBmp(HANDLE file, HBITMAP bitmap, HPALETTE palette) {
    BITMAP info{};
    if (!::GetObjectW(bitmap, sizeof info, &info)) return Unwritten(ERROR_INVALID_HANDLE);
    const unsigned bits = palette ? 8 : 24;
    BmpLayout layout;
    if (!MakeBmpLayout(static_cast<std::uint32_t>(info.bmWidth), static_cast<std::uint32_t>(info.bmHeight), bits,
                       layout)) {
        return Unwritten(ERROR_ARITHMETIC_OVERFLOW);
    }
    if (!palette) return WriteBmpTrueColour(file, bitmap, layout);

    UniqueCreatedDc dc(::CreateCompatibleDC(nullptr));
    // With the picture's palette in the context, GetDIBits gives its colours as the table.
    PaletteGuard selectPalette(dc.get(), palette);

    std::vector<unsigned char> infoStorage(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
    auto* bmi = reinterpret_cast<BITMAPINFO*>(infoStorage.data());
    bmi->bmiHeader = DibInfo(static_cast<long>(layout.width), static_cast<long>(layout.height), bits).bmiHeader;

    const std::uint32_t bandRows = RowsPerBand(layout.stride, layout.height, kBmpBandBytes);
    std::vector<unsigned char> band(static_cast<size_t>(bandRows) * layout.stride);
    Outcome written;
    ForEachBand(layout.height, bandRows, [&](std::uint32_t first, std::uint32_t rows) {
        if (::GetDIBits(dc.get(), bitmap, first, rows, band.data(), bmi, DIB_RGB_COLORS) != static_cast<int>(rows)) {
            written = Unwritten(ERROR_INVALID_DATA);
            return false;
        }
        if (first == 0) {
            const std::vector<unsigned char> headers = BmpHeaders(layout);
            written = WriteAll(file, headers.data(), headers.size());
            if (written.ok()) written = WriteAll(file, bmi->bmiColors, layout.colours * sizeof(RGBQUAD));
        }
        if (written.ok()) written = WriteAll(file, band.data(), static_cast<size_t>(rows) * layout.stride);
        return written.ok();
    });
    return written;
}

}  // namespace vx
