#include "hot_keys.h"

#include "../resources/resource.h"

namespace vx {

const std::array<HotKey, 4> kHotKeys{{
    {0, 0, IDM_DISTRICT, L"Print Screen"},
    {1, kModControl, IDM_SCREEN, L"Ctrl+Print Screen"},
    {2, kModAlt, IDM_ACTIVEWINDOW_NOW, L"Alt+Print Screen"},
    {3, kModShift, IDM_SCROLL, L"Shift+Print Screen"},
}};

unsigned HotKeyCommand(int id) {
    for (const HotKey& key : kHotKeys) {
        if (key.id == id) return key.command;
    }
    return 0;
}

std::wstring HotKeyNames(unsigned keys) {
    std::wstring names;
    for (const HotKey& key : kHotKeys) {
        if (!(keys & (1u << key.id))) continue;
        if (!names.empty()) names += L"\x3001";  // 、
        names += key.name;
    }
    return names;
}

}  // namespace vx
