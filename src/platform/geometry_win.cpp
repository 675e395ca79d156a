#include "geometry_win.h"

namespace vx {

Rect VirtualScreenRect() {
    return Rect::FromSize(::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
                          ::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

Rect PrimaryScreenRect() {
    return Rect::FromSize(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
}

}  // namespace vx
