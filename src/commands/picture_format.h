#pragma once
// Decisions about picture files that need no Windows: which format a name asks for,
// the BMP layout arithmetic, how large a picture may be before we refuse it, the
// size a file's header claims, the dialog filter text, print placement and message
// filling. Portable: no <windows.h>.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace vx {

enum class PictureFileFormat { Bmp, Jpeg, Png };

// ".jpg"/".jpeg" give JPEG, ".png" PNG (any case); every other name gets BMP.
PictureFileFormat FormatForPath(const std::wstring& path);

// The filter of the open and save dialogs, "description|pattern|..." as stored in CDopen.
extern const wchar_t kPictureFilter[];
// The bar-separated filter as the common dialogs want it: pieces ended by NUL, the
// list ended by an extra NUL (the returned string holds the inner NULs).
std::wstring DialogFilter(const std::wstring& barSeparated);

// ---- BMP layout
constexpr std::uint32_t kBmpFileHeaderSize = 14;
constexpr std::uint32_t kBmpInfoHeaderSize = 40;

// Bytes of one pixel row, padded to 4 bytes; 0 when it would not fit 32 bits.
std::uint32_t BmpStride(std::uint32_t width, unsigned bitsPerPixel);

struct BmpLayout {
    std::uint32_t width = 0, height = 0;
    unsigned bitsPerPixel = 0;
    std::uint32_t colours = 0;        // colour-table entries (0 above 8 bits)
    std::uint32_t stride = 0;         // bytes per row
    std::uint32_t imageBytes = 0;     // stride * height
    std::uint32_t pixelOffset = 0;    // headers + colour table
    std::uint32_t fileSize = 0;
};

// False when the picture is empty or the file would pass the 4 GB a BMP can describe.
bool MakeBmpLayout(std::uint32_t width, std::uint32_t height, unsigned bitsPerPixel, BmpLayout& layout);

// The file header and the information header (bottom-up rows, no compression),
// little-endian, kBmpFileHeaderSize + kBmpInfoHeaderSize bytes.
std::vector<unsigned char> BmpHeaders(const BmpLayout& layout);

// Rows per write so that one band stays near `bandBytes` (at least one row).
std::uint32_t RowsPerBand(std::uint32_t stride, std::uint32_t height, std::size_t bandBytes);

// Packs rows of 32-bit pixels (blue, green, red, unused; `width` * 4 bytes a row, no
// padding) into 24-bit BMP rows of `BmpStride(width, 24)` bytes, dropping the fourth
// byte and zeroing the row padding. `to` must not overlap `from`.
void PackRows32To24(const std::uint8_t* from, std::uint8_t* to, std::uint32_t width, std::uint32_t rows);

// ---- size limits
// Refused before anything is allocated: no side above 2^20 pixels and no more than
// 64 Mi pixels (256 MB at 32 bits). Stitched pictures wider than the old 16-bit window
// limits are fine: the view paints any size.
constexpr std::uint64_t kMaxPictureSide = std::uint64_t{1} << 20;
constexpr std::uint64_t kMaxPicturePixels = std::uint64_t{1} << 26;
bool PictureSizeAcceptable(std::uint64_t width, std::uint64_t height);

// ---- what a file's first bytes claim
enum class PictureKind { Unknown, Bmp, Png, Jpeg, Gif, Tiff };

struct PictureHeader {
    PictureKind kind = PictureKind::Unknown;
    bool sizeKnown = false;
    std::uint64_t width = 0, height = 0;
};

// Reads the signature and, for BMP, PNG, GIF and JPEG, the claimed size from the
// start of a file (JPEG: the first frame header within the bytes given).
PictureHeader SniffPictureHeader(const unsigned char* data, std::size_t size);

// ---- printing
struct PlacedRect {
    long x = 0, y = 0, width = 0, height = 0;
};

// The largest rectangle that shows an image of square pixels with its shape kept,
// centred in an area of the given size and resolution (device units).
PlacedRect FitCentered(long imageWidth, long imageHeight, long areaWidth, long areaHeight, long dpiX, long dpiY);

// ---- messages
// Replaces %1, %2, ... with the arguments in order; other text stays as it is.
std::wstring FillText(const std::wstring& pattern, std::initializer_list<std::wstring> arguments);

// Joins the program folder with a path that begins with a backslash, without a
// doubled separator at a drive's root ("C:\" + "\Temp" gives "C:\Temp").
std::wstring JoinFolder(const std::wstring& folder, const std::wstring& tail);

// The folder part of a full path ("C:\a\b.bmp" gives "C:\a", "C:\b.bmp" gives "C:\"),
// empty when the path has no backslash.
std::wstring FolderOfPath(const std::wstring& path);

}  // namespace vx
