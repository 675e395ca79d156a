#pragma once
// The picture through the clipboard: Copy announces it (a 32-bit device-independent
// bitmap and PNG) and makes the bytes only when a program asks for them; Paste takes a
// picture or a copied picture file from the clipboard as Open takes a file.
#include "../document/command_host.h"
#include "../document/outcome.h"
#include "../document/picture_box.h"

namespace vx {

// The registered "PNG" clipboard format.
UINT PngClipboardFormat();

// The bytes the clipboard gets, made from a bitmap: a packed CF_DIBV5 (or CF_DIB with
// the plain header), 32 bits, bottom-up, every pixel opaque; and a PNG file. Empty when
// there is no memory.
UniqueGlobal RenderDib(HBITMAP bitmap, bool v5);
UniqueGlobal RenderPng(HBITMAP bitmap, HPALETTE palette);

// The picture the clipboard was promised, kept (not copied) until the clipboard is
// emptied, so what a program pastes later is what was copied, whatever the view
// shows by then. Its owner window passes on the clipboard's three messages.
class ClipboardOffer {
public:
    // Empties the clipboard and announces the formats for `picture`. Cancelled when
    // another program kept the clipboard open for about a second.
    Outcome Offer(HWND owner, ComPtr<IPicture> picture);
    // The copy command: as Offer, for the view's picture; failures are told.
    void mnuCopy_Click(CommandHost& host);

    // The picture `before` was marked up into `after`: when the clipboard still has it from
    // this window (a Copy, the Print Screen keys, the free region), it gets `after` instead,
    // so nothing a redaction hid can be pasted afterwards.
    void Follow(HWND owner, const ComPtr<IPicture>& before, ComPtr<IPicture> after);

    void OnRenderFormat(UINT format);  // WM_RENDERFORMAT
    void OnRenderAllFormats(HWND owner);  // WM_RENDERALLFORMATS: before the window goes
    void OnDestroyClipboard() { held_.Picture = nullptr; }  // WM_DESTROYCLIPBOARD

private:
    PictureBox held_;
};

// Whether the clipboard holds something Paste takes.
bool CanPaste();
// Paste: nothing when there is nothing pasteable; else the question about an unsaved
// picture, then the clipboard's picture (unsaved) or its first file (opened).
void mnuPaste_Click(CommandHost& host);

}  // namespace vx
