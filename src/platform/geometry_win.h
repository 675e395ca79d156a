#pragma once
// Where the program's Rect meets the system's RECT, and the screen's rectangles. Code
// above the platform works in Rect and converts only at a call into the system.
#include "geometry.h"
#include "win32.h"

namespace vx {

inline RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
inline Rect FromRECT(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }

// All monitors together, in physical screen pixels (the process is per-monitor aware).
Rect VirtualScreenRect();
// The primary monitor, from the origin: what a capture of "the whole screen" copies.
Rect PrimaryScreenRect();

}  // namespace vx
