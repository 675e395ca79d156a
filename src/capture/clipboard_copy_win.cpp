#include "clipboard_copy_win.h"

#include <cstring>
#include <vector>

#include "capture_area_win.h"

namespace vx {
namespace {

// Another program may hold the clipboard open for a moment: try for about half a second.
constexpr int kOpenAttempts = 10;

UniquePalette CopyPalette(HPALETTE source) {
    WORD count = 0;
    if (!source || !::GetObjectW(source, sizeof count, &count) || count == 0) return {};
    std::vector<PALETTEENTRY> entries(count);
    ::GetPaletteEntries(source, 0, count, entries.data());
    return PaletteFromEntries(entries);
}

}  // namespace

ClipboardCopy CopyScreenAreaToClipboard(HWND owner, UniqueBitmap bitmap) {
    ClipboardCopy result;
    if (bitmap && OpenClipboardPatiently(owner, kOpenAttempts)) {
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

bool CopyTextToClipboard(HWND owner, const std::wstring& text) {
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    UniqueGlobal memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory) return false;
    {
        GlobalLockGuard lock(memory.get());
        if (!lock.data()) return false;
        std::memcpy(lock.data(), text.c_str(), bytes);
    }
    if (!OpenClipboardPatiently(owner, kOpenAttempts)) return false;
    ::EmptyClipboard();
    const bool placed = ::SetClipboardData(CF_UNICODETEXT, memory.get()) != nullptr;
    if (placed) memory.release();  // the clipboard's from here on
    ::CloseClipboard();
    return placed;
}

ComPtr<IPicture> ReadClipboardPicture(HWND owner, DWORD sequence) {
    if (::GetClipboardSequenceNumber() != sequence || !OpenClipboardPatiently(owner, kOpenAttempts)) return {};
    UniqueBitmap bitmap;
    UniquePalette palette;
    if (::GetClipboardSequenceNumber() == sequence) {
        const auto shared = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
        BITMAP info{};
        if (shared && ::GetObjectW(shared, sizeof info, &info)) {
            bitmap = CopyBitmapArea(shared, 0, 0, info.bmWidth, info.bmHeight);
        }
        if (::IsClipboardFormatAvailable(CF_PALETTE))
            palette = CopyPalette(static_cast<HPALETTE>(::GetClipboardData(CF_PALETTE)));
    }
    ::CloseClipboard();
    return CreatePictureFromBitmap(std::move(bitmap), std::move(palette));
}

}  // namespace vx
