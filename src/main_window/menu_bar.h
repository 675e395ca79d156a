#pragma once
// Building the menu bar from its definition, and finding an item by command id at
// any depth (menu-bar entries and sub-menus included).
#include <string>

#include "../platform/win32.h"

namespace vx {

HMENU BuildMenuBar();

// Sets the caption, keeping the item's shortcut text; false when the menu refused.
bool SetMenuCaption(HMENU root, unsigned id, const std::wstring& caption);

}  // namespace vx
