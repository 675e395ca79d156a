// The picture's context menu: its items, and showing it from the mouse or the keys.
#include "picture_menu.h"

#include "../commands/picture_transfer_win.h"
#include "../platform/text.h"
#include "../resources/resource.h"
#include "frm_main.h"

namespace vx {

const std::array<PictureMenuEntry, 8> kPictureMenu = {{
    {IDM_COPY, IDS_MNU_COPY, L"Ctrl+Insert", true},
    {IDM_PASTE, IDS_MNU_PASTE, L"Ctrl+V", false},
    {0, 0, nullptr, false},
    {IDM_SAVE, IDS_MNU_SAVE, L"Ctrl+S", true},
    {IDM_PRINT, IDS_MNU_PRINT, nullptr, true},
    {IDM_MSPAINT, IDS_MNU_MSPAINT, nullptr, true},
    {0, 0, nullptr, false},
    {IDM_MARKUP, IDS_MNU_MARKUP, L"Ctrl+E", true},
}};

void FrmMain::Picture_ContextMenu(POINT screen, bool fromKeyboard) {
    // Nothing over a frozen screen or while a capture runs.
    if (selection_.Busy() || scroll_.Busy()) return;
    if (fromKeyboard) {
        // At the view's corner, where the keyboard's attention is.
        screen = POINT{0, 0};
        ::ClientToScreen(picScroll(), &screen);
    }
    UniqueMenu menu(::CreatePopupMenu());
    if (!menu) return;
    const bool empty = doc_.PicBmp.Empty();
    for (const PictureMenuEntry& entry : kPictureMenu) {
        if (!entry.id) {
            ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
            continue;
        }
        std::wstring caption = LoadText(entry.text);
        if (entry.shortcut) caption += std::wstring(L"\t") + entry.shortcut;
        const bool greyed = entry.needsPicture ? empty : (entry.id == IDM_PASTE && !CanPaste());
        ::AppendMenuW(menu.get(), MF_STRING | (greyed ? MF_GRAYED : 0), entry.id, caption.c_str());
    }
    const UINT flags = TPM_RETURNCMD | TPM_RIGHTBUTTON | (fromKeyboard ? 0 : TPM_LEFTALIGN);
    const unsigned id = ::TrackPopupMenu(menu.get(), flags, screen.x, screen.y, 0, hwnd_, nullptr);
    if (id) RunCommand(id, Road::Menu);
}

}  // namespace vx
