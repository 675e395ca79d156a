// vxprobe: the tests' eyes and hands from outside the program.
//   vxprobe dpi                      the system DPI
//   vxprobe class CLASS              exit 0 when windows of that class are shown, all painted
//   vxprobe rect TITLE               outer rectangle "left top width height" in pixels
//   vxprobe state TITLE              normal | minimized | maximized | hidden
//   vxprobe status TITLE N           text of status-bar panel N (0-based), UTF-8
//   vxprobe scrollbars TITLE         "H V": 1 for each scroll-bar child that is visible
//   vxprobe view TITLE               screen point of the top-left corner of the view
//   vxprobe client TITLE             screen point of the top-left corner of the client area
//   vxprobe area TITLE CLASS         "left top right bottom" of the client area of the
//                                    window's first child of that class, on the screen
//   vxprobe front TITLE              makes the window the foreground window
//   vxprobe active TITLE             exit 0 when the window is the foreground window
//   vxprobe close TITLE              asks the window to close (as the close box does)
//   vxprobe show TITLE CMD           ShowWindow with CMD (6 minimise)
//   vxprobe move TITLE X Y W H       places the window there (outer rectangle, pixels)
//   vxprobe hold-clipboard MS READY  opens the clipboard with a window, creates the file
//                                    READY, keeps the clipboard open MS milliseconds
// Exit code 3 when the window is not found, 2 for a wrong command line.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

namespace {

int HoldClipboard(int milliseconds, const wchar_t* ready) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    bool open = false;
    for (int i = 0; i < 40 && !(open = OpenClipboard(owner)); ++i) Sleep(50);
    if (!open) return 5;
    CloseHandle(CreateFileW(ready, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    Sleep(static_cast<DWORD>(milliseconds));
    CloseClipboard();
    DestroyWindow(owner);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring verb = argc > 1 ? argv[1] : L"";
    if (verb == L"dpi") {
        HDC dc = GetDC(nullptr);
        std::printf("%d\n", GetDeviceCaps(dc, LOGPIXELSX));
        ReleaseDC(nullptr, dc);
        return 0;
    }
    if (verb == L"hold-clipboard" && argc > 3) return HoldClipboard(_wtoi(argv[2]), argv[3]);
    if (argc < 3) return 2;
    if (verb == L"class") {  // the visible windows of the class (a program may keep hidden ones), painted through
        BOOL shown = FALSE, painted = TRUE;
        for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, argv[2], nullptr));) {
            if (!IsWindowVisible(w)) continue;
            shown = TRUE, painted &= !GetUpdateRect(w, nullptr, FALSE);
            EnumChildWindows(w, [](HWND c, LPARAM all) {
                return *reinterpret_cast<BOOL*>(all) &= !IsWindowVisible(c) || !GetUpdateRect(c, nullptr, FALSE);
            }, reinterpret_cast<LPARAM>(&painted));
        }
        return shown && painted ? 0 : 3;
    }
    HWND window = FindWindowW(nullptr, argv[2]);  // by its title, else by its class
    if (!window && !(window = FindWindowW(argv[2], nullptr))) return 3;
    if (verb == L"rect") {  // TITLE [CHILD-CLASS]: the window's, or its first such child's
        if (argc > 3) window = FindWindowExW(window, nullptr, argv[3], nullptr);
        RECT r{};
        GetWindowRect(window, &r);
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    } else if (verb == L"state") {
        std::printf("%s\n", !IsWindowVisible(window) ? "hidden"
                            : IsIconic(window)       ? "minimized"
                            : IsZoomed(window)       ? "maximized"
                                                     : "normal");
    } else if (verb == L"status" && argc > 3) {
        // The text comes into a buffer in the program's own memory, then is read out.
        HWND bar = FindWindowExW(window, nullptr, STATUSCLASSNAMEW, nullptr);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        void* remote = process ? VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE) : nullptr;
        if (!bar || !remote) return 3;
        SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(_wtoi(argv[3])), reinterpret_cast<LPARAM>(remote));
        wchar_t text[2048] = {};
        ReadProcessMemory(process, remote, text, sizeof text - sizeof(wchar_t), nullptr);
        char utf8[8192] = {};
        WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
        std::printf("%s\n", utf8);
    } else if (verb == L"scrollbars") {
        int visible[2] = {0, 0};  // horizontal, vertical
        for (HWND bar = FindWindowExW(window, nullptr, L"ScrollBar", nullptr); bar;
             bar = FindWindowExW(window, bar, L"ScrollBar", nullptr)) {
            if (IsWindowVisible(bar)) visible[(GetWindowLongW(bar, GWL_STYLE) & SBS_VERT) ? 1 : 0] = 1;
        }
        std::printf("%d %d\n", visible[0], visible[1]);
    } else if (verb == L"view" || verb == L"client") {
        HWND view = verb == L"client" ? window : FindWindowExW(window, nullptr, L"VellumoxViewport", nullptr);
        if (!view) return 3;
        POINT p{0, 0};
        ClientToScreen(view, &p);
        std::printf("%ld %ld\n", p.x, p.y);
    } else if (verb == L"area" && argc > 3) {
        HWND child = FindWindowExW(window, nullptr, argv[3], nullptr);
        RECT r{};
        if (!child || !GetClientRect(child, &r)) return 3;
        MapWindowPoints(child, nullptr, reinterpret_cast<POINT*>(&r), 2);
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    } else if (verb == L"front") {
        SetForegroundWindow(window);
    } else if (verb == L"active") {
        return GetForegroundWindow() == window ? 0 : 1;
    } else if (verb == L"close") {
        PostMessageW(window, WM_CLOSE, 0, 0);
    } else if (verb == L"move" && argc > 6) {
        SetWindowPos(window, nullptr, _wtoi(argv[3]), _wtoi(argv[4]), _wtoi(argv[5]), _wtoi(argv[6]),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (verb == L"show" && argc > 3) {
        ShowWindowAsync(window, _wtoi(argv[3]));
    } else {
        return 2;
    }
    return 0;
}
