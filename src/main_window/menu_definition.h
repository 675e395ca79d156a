#pragma once
// The menu bar as data: nesting, captions (string ids), shortcuts. Also the order in
// which a language file's lines 3..25 re-caption the items.
#include <array>

namespace vx {

struct MenuEntry {
    int level;             // 1 = menu bar, 2 = item, 3 = sub-menu item
    unsigned id;           // command id (0 for a separator)
    unsigned text;         // string id (0 for a separator)
    const wchar_t* shortcut;  // shown after a tab, or nullptr
};

extern const std::array<MenuEntry, 31> kMenuDefinition;

// Command ids of the 23 re-captioned items, in language-file order (lines 3..25).
extern const std::array<unsigned, 23> kLanguageMenuOrder;

}  // namespace vx
