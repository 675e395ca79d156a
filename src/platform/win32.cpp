#include "win32.h"

namespace vx {

bool OpenClipboardPatiently(HWND owner, int attempts) {
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (attempt > 0) ::Sleep(50);
        if (::OpenClipboard(owner)) return true;
    }
    return false;
}

int ButtonOf(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN: case WM_LBUTTONUP: return 1;
        case WM_RBUTTONDOWN: case WM_RBUTTONUP: return 2;
        default: return 4;
    }
}

}  // namespace vx

namespace vx::api {
namespace {

template <typename Fn>
Fn Load(const wchar_t* module, const char* name, bool loadIfMissing) {
    HMODULE handle = GetModuleHandleW(module);
    if (!handle && loadIfMissing) handle = LoadLibraryExW(module, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!handle) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(handle, name)));
}

}  // namespace

GetDpiForWindowFn GetDpiForWindow() {
    static const auto fn = Load<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow", false);
    return fn;
}

SetProcessDpiAwarenessContextFn SetProcessDpiAwarenessContext() {
    static const auto fn =
        Load<SetProcessDpiAwarenessContextFn>(L"user32.dll", "SetProcessDpiAwarenessContext", false);
    return fn;
}

DwmGetWindowAttributeFn DwmGetWindowAttribute() {
    // dwmapi is a system DLL on every Windows with a compositor; loaded only when asked.
    static const auto fn = Load<DwmGetWindowAttributeFn>(L"dwmapi.dll", "DwmGetWindowAttribute", true);
    return fn;
}

SystemParametersInfoForDpiFn SystemParametersInfoForDpi() {
    static const auto fn = Load<SystemParametersInfoForDpiFn>(L"user32.dll", "SystemParametersInfoForDpi", false);
    return fn;
}

}  // namespace vx::api
