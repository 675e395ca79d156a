#pragma once
// The base of every window the program makes of its own class: it registers the class
// the first time, ties the window to its object and hands the messages to the object.
//
//   class Loupe final : public WindowBase {
//   public:
//       bool Create(HWND owner) {
//           static const WindowClass kClass{L"VellumoxLoupe", 0, ::LoadCursorW(nullptr, IDC_CROSS)};
//           return CreateOfClass(kClass, WS_EX_TOPMOST, WS_POPUP, nullptr, 0, 0, 96, 96, owner);
//       }
//   private:
//       LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
//           if (message == WM_PAINT) { ...; return 0; }
//           return Default(message, wParam, lParam);
//       }
//   };
//
// The rules, the same for every window:
// - `hwnd_` is set when the window's first message (WM_NCCREATE) arrives, so handlers
//   see it during CreateWindowEx already, and it goes back to null when the window is
//   destroyed, by whoever. Only the base writes it.
// - HandleMessage gets every message from WM_NCCREATE on, except WM_NCDESTROY: then
//   the window is already let go of, and WindowDestroyed is called instead.
// - When the object goes while its window is still there, the window is destroyed
//   without it: the derived part is gone by then, so no handler runs. An object that
//   wants its handlers to see the destruction (WM_DESTROY) destroys the window in its
//   own destructor.
#include "win32.h"

namespace vx {

// What differs between the program's window classes; the rest of WNDCLASSEX is zero.
struct WindowClass {
    const wchar_t* name;
    UINT style = 0;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
};

class WindowBase {
public:
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

    // The window while it exists, else null.
    HWND hwnd() const { return hwnd_; }

protected:
    WindowBase() = default;
    ~WindowBase();

    // Registers `windowClass` in `instance` (the program's module when null) unless it
    // is there already, and creates the window; false when either fails.
    bool CreateOfClass(const WindowClass& windowClass, DWORD exStyle, DWORD style, const wchar_t* title, int x,
                       int y, int width, int height, HWND parent = nullptr, HMENU menuOrId = nullptr,
                       HINSTANCE instance = nullptr);

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // The window has been destroyed (hwnd_ is null already).
    virtual void WindowDestroyed() {}
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) const {
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    }

    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace vx
