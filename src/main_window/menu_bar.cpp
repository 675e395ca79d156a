#include "menu_bar.h"

#include <vector>

#include "../platform/text.h"
#include "../resources/resource.h"
#include "menu_definition.h"

namespace vx {
namespace {

const wchar_t* ShortcutOf(unsigned id) {
    for (const auto& entry : kMenuDefinition) {
        if (entry.id == id) return entry.shortcut;
    }
    return nullptr;
}

bool Find(HMENU menu, unsigned id, HMENU& parent, UINT& position) {
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{sizeof info};
        info.fMask = MIIM_ID | MIIM_SUBMENU;
        if (!::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        if (info.wID == id) {
            parent = menu;
            position = static_cast<UINT>(i);
            return true;
        }
        if (info.hSubMenu && Find(info.hSubMenu, id, parent, position)) return true;
    }
    return false;
}

}  // namespace

HMENU BuildMenuBar() {
    HMENU bar = ::CreateMenu();
    std::vector<HMENU> open{bar};  // open[level - 1] is the menu that receives level items
    for (const auto& entry : kMenuDefinition) {
        open.resize(static_cast<size_t>(entry.level));
        HMENU parent = open.back();
        MENUITEMINFOW info{sizeof info};
        std::wstring caption;
        if (entry.id == 0) {
            info.fMask = MIIM_FTYPE;
            info.fType = MFT_SEPARATOR;
        } else {
            caption = LoadText(entry.text);
            if (entry.shortcut) caption += std::wstring(L"\t") + entry.shortcut;
            info.fMask = MIIM_ID | MIIM_STRING;
            info.wID = entry.id;
            info.dwTypeData = caption.data();
        }
        const bool hasChildren = &entry != &kMenuDefinition.back() && (&entry)[1].level > entry.level;
        HMENU child = nullptr;
        if (hasChildren) {
            child = ::CreatePopupMenu();
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = child;
        }
        ::InsertMenuItemW(parent, static_cast<UINT>(::GetMenuItemCount(parent)), TRUE, &info);
        if (child) open.push_back(child);
    }
    return bar;
}

bool SetMenuCaption(HMENU root, unsigned id, const std::wstring& caption) {
    HMENU parent = nullptr;
    UINT position = 0;
    if (!Find(root, id, parent, position)) return false;
    std::wstring text = caption;
    if (const wchar_t* shortcut = ShortcutOf(id)) text += std::wstring(L"\t") + shortcut;
    MENUITEMINFOW info{sizeof info};
    info.fMask = MIIM_STRING;
    info.dwTypeData = text.data();
    return ::SetMenuItemInfoW(parent, position, TRUE, &info) != FALSE;
}

}  // namespace vx
