#include "picture_transfer_win.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "../document/failure.h"
#include "../document/picture_object.h"
#include "../platform/gdi.h"
#include "../platform/text.h"
#include "../resources/resource.h"
#include "clipboard_formats.h"
#include "document_commands_win.h"
#include "picture_codec_win.h"
#include "picture_header.h"
#include "picture_io_win.h"

namespace vx {
namespace {

// Another program may hold the clipboard open for a moment: about a second.
constexpr int kOpenAttempts = 20;

struct ClipboardClose {
    ~ClipboardClose() { ::CloseClipboard(); }
};

// A copy of the bytes in `memory`, so the clipboard can be closed before they are used.
Result<ComPtr<IPicture>> DecodeGlobal(HGLOBAL memory, PasteSource source) {
    using Pasted = Result<ComPtr<IPicture>>;
    const GlobalLockGuard locked(memory);
    const size_t size = memory ? ::GlobalSize(memory) : 0;
    if (!locked.data() || size == 0) return Pasted::Failure(Status::CannotRead, ::GetLastError());
    if (source == PasteSource::Png) return LoadPictureBytes(nullptr, 0, locked.data(), size);
    // A packed DIB is a BMP file without its file header: give it one.
    BITMAPINFOHEADER info{};
    std::memcpy(&info, locked.data(), std::min(size, sizeof info));
    if (size < sizeof info) info.biSize = size >= 12 ? 12 : 0;
    const auto offset = info.biSize == 12
                            ? PackedDibPixelOffset(12, reinterpret_cast<const BITMAPCOREHEADER*>(locked.data())->bcBitCount,
                                                   0, 0, size)
                            : PackedDibPixelOffset(info.biSize, info.biBitCount, info.biCompression, info.biClrUsed, size);
    if (!offset) return Pasted::Failure(Status::CannotDecode);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfSize = static_cast<DWORD>(std::min<size_t>(sizeof file + size, 0xFFFFFFFFu));
    file.bfOffBits = static_cast<DWORD>(sizeof file + *offset);
    return LoadPictureBytes(&file, sizeof file, locked.data(), size);
}

Result<ComPtr<IPicture>> ReadPastedPicture(HWND owner, PasteSource source) {
    using Pasted = Result<ComPtr<IPicture>>;
    if (!OpenClipboardPatiently(owner, kOpenAttempts)) return Pasted::Failure(Status::CannotRead, ::GetLastError());
    const ClipboardClose close;
    if (source == PasteSource::Bitmap) {
        const auto shared = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
        BITMAP info{};
        if (!shared || !::GetObjectW(shared, sizeof info, &info)) return Pasted::Failure(Status::CannotRead);
        if (!PictureSizeAcceptable(static_cast<std::uint64_t>(info.bmWidth), static_cast<std::uint64_t>(info.bmHeight)))
            return Pasted::Failure(Status::TooLarge);
        ComPtr<IPicture> picture =
            CreatePictureFromBitmap(CopyBitmapArea(shared, 0, 0, info.bmWidth, info.bmHeight), {});
        return picture ? Pasted::Success(std::move(picture)) : Pasted::Failure(Status::NoMemory);
    }
    const UINT format = source == PasteSource::Png     ? PngClipboardFormat()
                        : source == PasteSource::DibV5 ? CF_DIBV5
                                                       : CF_DIB;
    return DecodeGlobal(::GetClipboardData(format), source);
}

std::wstring FirstCopiedFile(HWND owner) {
    if (!OpenClipboardPatiently(owner, kOpenAttempts)) return {};
    const ClipboardClose close;
    const auto drop = static_cast<HDROP>(::GetClipboardData(CF_HDROP));
    if (!drop) return {};
    std::wstring path(::DragQueryFileW(drop, 0, nullptr, 0) + 1, L'\0');
    path.resize(::DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size())));
    return path;
}

// Whether two bitmaps hold the same pixels, compared a band of rows at a time.
bool SamePixels(HBITMAP a, HBITMAP b) {
    BITMAP first{}, second{};
    if (!a || !b || !::GetObjectW(a, sizeof first, &first) || !::GetObjectW(b, sizeof second, &second) ||
        first.bmWidth != second.bmWidth || first.bmHeight != second.bmHeight) {
        return false;
    }
    constexpr int kBand = 64;
    std::vector<std::uint32_t> rowsA(static_cast<size_t>(first.bmWidth) * kBand), rowsB(rowsA.size());
    UniqueCreatedDc dc(::CreateCompatibleDC(nullptr));
    for (long row = 0; row < first.bmHeight; row += kBand) {
        const int rows = static_cast<int>(std::min<long>(kBand, first.bmHeight - row));
        BITMAPINFO infoA = DibInfo(first.bmWidth, first.bmHeight, 32), infoB = infoA;
        if (!dc || ::GetDIBits(dc.get(), a, row, rows, rowsA.data(), &infoA, DIB_RGB_COLORS) != rows ||
            ::GetDIBits(dc.get(), b, row, rows, rowsB.data(), &infoB, DIB_RGB_COLORS) != rows) {
            return false;
        }
        for (size_t i = 0; i < static_cast<size_t>(first.bmWidth) * rows; ++i)
            if ((rowsA[i] ^ rowsB[i]) & 0xFFFFFFu) return false;
    }
    return true;
}

ClipboardOffers CurrentOffers() {
    ClipboardOffers offers;
    offers.png = ::IsClipboardFormatAvailable(PngClipboardFormat());
    offers.dibV5 = ::IsClipboardFormatAvailable(CF_DIBV5);
    offers.dib = ::IsClipboardFormatAvailable(CF_DIB);
    offers.bitmap = ::IsClipboardFormatAvailable(CF_BITMAP);
    offers.file = ::IsClipboardFormatAvailable(CF_HDROP);
    return offers;
}

}  // namespace

UINT PngClipboardFormat() {
    static const UINT format = ::RegisterClipboardFormatW(L"PNG");
    return format;
}

UniqueGlobal RenderDib(HBITMAP bitmap, bool v5) {
    BITMAP info{};
    if (!bitmap || !::GetObjectW(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return {};
    const size_t pixels = static_cast<size_t>(info.bmWidth) * static_cast<size_t>(info.bmHeight);
    const size_t headerBytes = v5 ? sizeof(BITMAPV5HEADER) : sizeof(BITMAPINFOHEADER);
    UniqueGlobal memory(::GlobalAlloc(GMEM_MOVEABLE, headerBytes + pixels * 4));
    if (!memory) return {};
    const GlobalLockGuard locked(memory.get());
    if (!locked.data()) return {};
    // Bottom-up, as most readers expect.
    BITMAPINFO read = DibInfo(info.bmWidth, info.bmHeight, 32);
    std::memset(locked.data(), 0, headerBytes);
    std::memcpy(locked.data(), &read.bmiHeader, sizeof read.bmiHeader);
    if (v5) {
        auto* header = static_cast<BITMAPV5HEADER*>(locked.data());
        header->bV5Size = sizeof *header;
        header->bV5Compression = BI_BITFIELDS;
        header->bV5SizeImage = static_cast<DWORD>(pixels * 4);
        header->bV5RedMask = 0x00FF0000;
        header->bV5GreenMask = 0x0000FF00;
        header->bV5BlueMask = 0x000000FF;
        header->bV5AlphaMask = 0xFF000000;
        header->bV5CSType = 0x73524742;  // LCS_sRGB ("sRGB"), spelt out: the macro is a multi-character constant
        header->bV5Intent = LCS_GM_IMAGES;
    }
    auto* bits = reinterpret_cast<std::uint32_t*>(static_cast<unsigned char*>(locked.data()) + headerBytes);
    UniqueCreatedDc dc(::CreateCompatibleDC(nullptr));
    if (!dc || ::GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(info.bmHeight), bits, &read, DIB_RGB_COLORS) !=
                   info.bmHeight) {
        return {};
    }
    // The screen leaves the fourth byte undefined; readers that honour alpha would
    // show such a picture as see-through.
    for (size_t i = 0; i < pixels; ++i) bits[i] |= 0xFF000000u;
    return memory;
}

UniqueGlobal RenderPng(HBITMAP bitmap, HPALETTE palette) {
    const Result<ComPtr<IStream>> encoded = EncodeWithWic(bitmap, palette, PictureFileFormat::Png);
    HGLOBAL source = nullptr;
    STATSTG stat{};
    if (!encoded.ok() || FAILED(::GetHGlobalFromStream(encoded.value.get(), &source)) ||
        FAILED(encoded.value->Stat(&stat, STATFLAG_NONAME))) {
        return {};
    }
    // The stream's block grows in steps: the clipboard gets exactly the file's bytes.
    const auto size = static_cast<size_t>(stat.cbSize.QuadPart);
    UniqueGlobal memory(::GlobalAlloc(GMEM_MOVEABLE, size));
    const GlobalLockGuard from(source);
    {
        const GlobalLockGuard to(memory.get());
        if (!from.data() || !to.data()) return {};
        std::memcpy(to.data(), from.data(), size);
    }
    return memory;
}

Outcome ClipboardOffer::Offer(HWND owner, ComPtr<IPicture> picture) {
    if (!picture) return Outcome{Status::NoImage, 0};
    if (!OpenClipboardPatiently(owner, kOpenAttempts)) return LastError(Status::Cancelled);
    const ClipboardClose close;
    // Emptying tells the former owner (this window too) to let its picture go.
    ::EmptyClipboard();
    held_.Picture = std::move(picture);
    // Announced only: the bytes are made when a program asks. CF_DIB is offered too:
    // Wine does not make it from a CF_DIBV5 that is rendered late.
    ::SetClipboardData(CF_DIBV5, nullptr);
    ::SetClipboardData(CF_DIB, nullptr);
    ::SetClipboardData(PngClipboardFormat(), nullptr);
    return {};
}

void ClipboardOffer::mnuCopy_Click(CommandHost& host) {
    if (!RequirePicture(host)) return;
    if (!Offer(host.Owner(), host.Doc().PicBmp.Picture).ok()) host.ReportFailure(LoadText(IDS_MSG_CLIPBOARD_BUSY));
}

void ClipboardOffer::Follow(HWND owner, const ComPtr<IPicture>& before, ComPtr<IPicture> after) {
    if (!before || !after || ::GetClipboardOwner() != owner) return;
    bool holds = held_.Picture.get() == before.get();
    if (!holds && held_.Empty() && ::IsClipboardFormatAvailable(CF_BITMAP) && OpenClipboardPatiently(owner, kOpenAttempts)) {
        // The free region's own copy: the bitmap the view's picture was read from.
        const ClipboardClose close;
        PictureBox replaced;
        replaced.Picture = before;
        holds = SamePixels(static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP)), replaced.Bitmap());
    }
    if (!holds) return;
    // Formats not made yet come from the new picture even if the clipboard stays closed.
    held_.Picture = after;
    Offer(owner, std::move(after));
}

void ClipboardOffer::OnRenderFormat(UINT format) {
    UniqueGlobal bytes = format == CF_DIBV5 || format == CF_DIB ? RenderDib(held_.Bitmap(), format == CF_DIBV5)
                         : format == PngClipboardFormat()        ? RenderPng(held_.Bitmap(), held_.Palette())
                                                                  : UniqueGlobal();
    // The clipboard owns the block once it takes it.
    if (bytes && ::SetClipboardData(format, bytes.get())) bytes.release();
}

void ClipboardOffer::OnRenderAllFormats(HWND owner) {
    if (held_.Empty() || !::OpenClipboard(owner)) return;
    const ClipboardClose close;
    // Another program may have taken the clipboard over meanwhile.
    if (::GetClipboardOwner() != owner) return;
    for (const UINT format : {UINT{CF_DIBV5}, UINT{CF_DIB}, PngClipboardFormat()}) OnRenderFormat(format);
}

bool CanPaste() { return ChoosePasteSource(CurrentOffers()) != PasteSource::None; }

void mnuPaste_Click(CommandHost& host) {
    const PasteSource source = ChoosePasteSource(CurrentOffers());
    if (source == PasteSource::None) return;
    if (source == PasteSource::File) {
        // A copied file is opened as Open opens it (the question first).
        const std::wstring path = FirstCopiedFile(host.Owner());
        if (!path.empty()) OpenPicturePath(host, path);
        return;
    }
    if (!SaveFirstIfUnsaved(host)) return;
    Result<ComPtr<IPicture>> pasted = ReadPastedPicture(host.Owner(), source);
    if (!pasted.ok()) {
        // Nothing changes: picture, title and scroll bars stay as they were.
        host.ReportFailure(DescribeFailure(pasted.outcome, LoadText(IDS_CLIPBOARD_NAME)));
        return;
    }
    host.PlacePicture(std::move(pasted.value));
    host.Doc().ImageUnsaved = true;
    host.Relayout();
}

}  // namespace vx
