#pragma once
// The Print Screen keys: which key (with which modifier) runs which capture command,
// and how keys another program holds are named to the user. No Windows headers.
#include <array>
#include <string>

namespace vx {

struct HotKey {
    int id;              // the hot-key id, also the key's bit in a set of keys (1 << id)
    unsigned modifiers;  // as RegisterHotKey takes them
    unsigned command;    // run by id, as the menu item runs it
    const wchar_t* name;
};

constexpr unsigned kModAlt = 0x1, kModControl = 0x2, kModShift = 0x4, kModNoRepeat = 0x4000;
constexpr unsigned kKeyPrintScreen = 0x2C;  // VK_SNAPSHOT

extern const std::array<HotKey, 4> kHotKeys;

// The command of a hot-key id; 0 for an id that is none of ours.
unsigned HotKeyCommand(int id);
// The names of the keys in the set (bits 1 << id), joined as a list for the user.
std::wstring HotKeyNames(unsigned keys);

}  // namespace vx
