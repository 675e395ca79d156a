#pragma once
// The window's state values as the commands compare them. Portable.

namespace vx {

enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };
// The window's own unit for positions and sizes.
enum class ScaleMode { Twips = 1, Pixels = 3 };
// The application-wide mouse pointer.
enum class MousePointer { Default = 0, Crosshair = 2 };

}  // namespace vx
