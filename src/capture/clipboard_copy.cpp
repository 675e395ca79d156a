#include "clipboard_copy.h"

#include <vector>

#include "capture_area.h"

namespace vx {
namespace {

// Another program may hold the clipboard open for a moment: try for about half a second.
constexpr int kOpenAttempts = 10;
constexpr DWORD kOpenPauseMs = 50;

bool OpenClipboardPatiently(HWND owner) {
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        if (attempt > 0) ::Sleep(kOpenPauseMs);
        if (::OpenClipboard(owner)) return true;
    }
    return false;
}

UniqueBitmap CopyBitmap(HBITMAP source) {
    BITMAP info{};
    if (!source || !::GetObjectW(source, sizeof info, &info)) return {};
    UniqueCreatedDc display(::CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
    UniqueCreatedDc from(::CreateCompatibleDC(display.get()));
    UniqueCreatedDc to(::CreateCompatibleDC(display.get()));
    UniqueBitmap copy(info.bmBitsPixel == 1 ? ::CreateBitmap(info.bmWidth, info.bmHeight, 1, 1, nullptr)
                                            : ::CreateCompatibleBitmap(display.get(), info.bmWidth, info.bmHeight));
    if (!copy) return copy;
    SelectGuard selectFrom(from.get(), source);
    SelectGuard selectTo(to.get(), copy.get());
    ::BitBlt(to.get(), 0, 0, info.bmWidth, info.bmHeight, from.get(), 0, 0, SRCCOPY);
    return copy;
}

UniquePalette CopyPalette(HPALETTE source) {
    WORD count = 0;
    if (!source || !::GetObjectW(source, sizeof count, &count) || count == 0) return {};
    std::vector<unsigned char> storage(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY), 0);
    auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = count;
    ::GetPaletteEntries(source, 0, count, logical->palPalEntry);
    return UniquePalette(::CreatePalette(logical));
}

}  // namespace

ClipboardCopy CopyScreenAreaToClipboard(HWND owner, const int& left, const int& top, const int& right,
                                        const int& bottom) {
    const int width = right - left;
    const int height = bottom - top;
    ClipboardCopy result;
    UniqueBitmap bitmap;
    {
        UniqueCreatedDc display(::CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
        UniqueCreatedDc memory(::CreateCompatibleDC(display.get()));
        bitmap.reset(::CreateCompatibleBitmap(display.get(), width, height));
        SelectGuard select(memory.get(), bitmap.get());
        ::BitBlt(memory.get(), 0, 0, width, height, display.get(), left, top, SRCCOPY);
    }
    if (bitmap && OpenClipboardPatiently(owner)) {
        ::EmptyClipboard();
        if (::SetClipboardData(CF_BITMAP, bitmap.get())) {
            bitmap.release();  // the clipboard's from here on
            result.placed = true;
        }
        ::CloseClipboard();
        result.sequence = ::GetClipboardSequenceNumber();
    }
    result.refused = std::move(bitmap);
    return result;
}

ComPtr<IPicture> ReadClipboardPicture(HWND owner, DWORD sequence) {
    if (::GetClipboardSequenceNumber() != sequence || !OpenClipboardPatiently(owner)) return {};
    UniqueBitmap bitmap;
    UniquePalette palette;
    if (::GetClipboardSequenceNumber() == sequence) {
        bitmap = CopyBitmap(static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP)));
        if (::IsClipboardFormatAvailable(CF_PALETTE))
            palette = CopyPalette(static_cast<HPALETTE>(::GetClipboardData(CF_PALETTE)));
    }
    ::CloseClipboard();
    return CreatePictureFromBitmap(std::move(bitmap), std::move(palette));
}

}  // namespace vx
