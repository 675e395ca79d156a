#pragma once
// The virtual-key codes the portable core answers, named once for every feature.
// Portable: the values are Windows' own.

namespace vx {

enum Key : int {
    kKeyPageUp = 0x21, kKeyPageDown, kKeyEnd, kKeyHome, kKeyLeft, kKeyUp, kKeyRight, kKeyDown,
};

}  // namespace vx
