#pragma once
// The clipboard side of the free-region capture: the screen area goes onto the
// clipboard as a bitmap (CF_BITMAP) and is read back from there into the view.
#include <string>

#include "../platform/unique_handle.h"

namespace vx {

struct ClipboardCopy {
    bool placed = false;       // the clipboard took the bitmap and owns it now
    DWORD sequence = 0;        // the clipboard's sequence number right after placing
    UniqueBitmap refused;      // the copied area when the clipboard could not take it
};

// Puts the screen area's bitmap (taken from the frozen copy of the screen) on the
// clipboard opened for `owner`, replacing its content. When another program keeps the
// clipboard open for about half a second, the bitmap stays with the caller (in
// `refused`) instead of leaking or being lost.
ClipboardCopy CopyScreenAreaToClipboard(HWND owner, UniqueBitmap area);

// Text (CF_UNICODETEXT) onto the clipboard, replacing its content; false when it
// stayed closed or there was no memory.
bool CopyTextToClipboard(HWND owner, const std::wstring& text);

// The picture of the clipboard's bitmap, copied (the clipboard keeps its own), with
// its palette when one is offered. Empty when the clipboard changed since
// `sequence` or cannot be opened: the caller never gets someone else's content.
ComPtr<IPicture> ReadClipboardPicture(HWND owner, DWORD sequence);

}  // namespace vx
