#include "window_base.h"

#include <utility>

namespace vx {

WindowBase::~WindowBase() {
    if (!hwnd_) return;
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    ::DestroyWindow(std::exchange(hwnd_, nullptr));
}

bool WindowBase::CreateOfClass(const WindowClass& windowClass, DWORD exStyle, DWORD style, const wchar_t* title,
                               int x, int y, int width, int height, HWND parent, HMENU menuOrId,
                               HINSTANCE instance) {
    if (!instance) instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{sizeof wc};
    if (!::GetClassInfoExW(instance, windowClass.name, &wc)) {
        wc = WNDCLASSEXW{sizeof wc};
        wc.style = windowClass.style;
        wc.lpfnWndProc = &WindowBase::Proc;
        wc.hInstance = instance;
        wc.hIcon = windowClass.icon;
        wc.hIconSm = windowClass.smallIcon;
        wc.hCursor = windowClass.cursor;
        wc.hbrBackground = windowClass.background;
        wc.lpszClassName = windowClass.name;
        if (!::RegisterClassExW(&wc)) return false;
    }
    return ::CreateWindowExW(exStyle, windowClass.name, title, style, x, y, width, height, parent, menuOrId,
                             instance, this) != nullptr;
}

LRESULT CALLBACK WindowBase::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    // Null before WM_NCCREATE (WM_GETMINMAXINFO comes first) and once the object let go.
    auto* self = reinterpret_cast<WindowBase*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->WindowDestroyed();
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}

}  // namespace vx
