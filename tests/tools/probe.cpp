// vxprobe: reads a running program's window from outside, as a person's eyes would.
//   vxprobe rect TITLE          outer rectangle "left top width height" in pixels
//   vxprobe client TITLE        client size "width height"
//   vxprobe state TITLE         normal | minimized | maximized | hidden
//   vxprobe status TITLE N      text of status-bar panel N (0-based), UTF-8
//   vxprobe toolbar TITLE       one line per button: "index style image command"
//   vxprobe title CLASS         the title of the first window of that class
//   vxprobe dpi                 the system DPI
//   vxprobe screen              primary screen size "width height"
//   vxprobe close TITLE         asks the window to close (as the close box does)
//   vxprobe show TITLE CMD      ShowWindow with CMD (2 minimise, 3 maximise, 9 restore)
//   vxprobe scrollbars TITLE    "H V": 1 for each scroll-bar child that is visible
//   vxprobe edittext TITLE      text of the first Edit child, UTF-8
//   vxprobe image TITLE         the program file of the window's process
//   vxprobe statics TITLE       one line per static text with text (a message box's words), UTF-8
// Exit code 3 when the window is not found.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

namespace {

void PrintUtf8(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fputc('\n', stdout);
}

HWND FindChildOfClass(HWND parent, const wchar_t* cls) { return FindWindowExW(parent, nullptr, cls, nullptr); }

// Reads memory of another process's buffer: allocate there, let the control fill it, copy back.
template <typename Fill>
std::wstring RemoteText(HWND control, size_t bytes, Fill fill) {
    DWORD pid = 0;
    GetWindowThreadProcessId(control, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return L"";
    void* remote = VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
    std::wstring text;
    if (remote) {
        fill(remote);
        std::wstring buffer(bytes / sizeof(wchar_t), L'\0');
        SIZE_T read = 0;
        ReadProcessMemory(process, remote, buffer.data(), bytes, &read);
        text = buffer.c_str();
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return text;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    const std::wstring verb = argv[1];
    if (verb == L"dpi") {
        HDC dc = GetDC(nullptr);
        std::printf("%d\n", GetDeviceCaps(dc, LOGPIXELSX));
        ReleaseDC(nullptr, dc);
        return 0;
    }
    if (verb == L"screen") {
        std::printf("%d %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        return 0;
    }
    if (argc < 3) return 2;
    if (verb == L"title") {
        HWND w = FindWindowW(argv[2], nullptr);
        if (!w) return 3;
        wchar_t buffer[1024] = {};
        GetWindowTextW(w, buffer, 1024);
        PrintUtf8(buffer);
        return 0;
    }
    HWND window = FindWindowW(nullptr, argv[2]);
    if (!window) return 3;
    if (verb == L"close") {
        PostMessageW(window, WM_CLOSE, 0, 0);
    } else if (verb == L"show" && argc > 3) {
        ShowWindowAsync(window, _wtoi(argv[3]));
    } else if (verb == L"rect") {
        RECT r{};
        GetWindowRect(window, &r);
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    } else if (verb == L"client") {
        RECT r{};
        GetClientRect(window, &r);
        std::printf("%ld %ld\n", r.right, r.bottom);
    } else if (verb == L"state") {
        std::printf("%s\n", !IsWindowVisible(window) ? "hidden"
                            : IsIconic(window)       ? "minimized"
                            : IsZoomed(window)       ? "maximized"
                                                     : "normal");
    } else if (verb == L"status" && argc > 3) {
        HWND status = FindChildOfClass(window, STATUSCLASSNAMEW);
        if (!status) return 3;
        const WPARAM part = static_cast<WPARAM>(_wtoi(argv[3]));
        PrintUtf8(RemoteText(status, 2048, [&](void* remote) {
            SendMessageW(status, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(remote));
        }));
    } else if (verb == L"toolbar") {
        HWND toolbar = FindChildOfClass(window, TOOLBARCLASSNAMEW);
        if (!toolbar) return 3;
        const int count = static_cast<int>(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
        DWORD pid = 0;
        GetWindowThreadProcessId(toolbar, &pid);
        HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        void* remote = process ? VirtualAllocEx(process, nullptr, sizeof(TBBUTTON), MEM_COMMIT, PAGE_READWRITE) : nullptr;
        for (int i = 0; i < count && remote; ++i) {
            TBBUTTON b{};
            SendMessageW(toolbar, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote));
            SIZE_T read = 0;
            ReadProcessMemory(process, remote, &b, sizeof b, &read);
            std::printf("%d %d %d %d\n", i + 1, b.fsStyle, b.iBitmap, b.idCommand);
        }
        if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
        if (process) CloseHandle(process);
    } else if (verb == L"scrollbars") {
        int visible[2] = {0, 0};  // horizontal, vertical
        for (HWND bar = FindWindowExW(window, nullptr, L"ScrollBar", nullptr); bar;
             bar = FindWindowExW(window, bar, L"ScrollBar", nullptr)) {
            const bool vertical = (GetWindowLongW(bar, GWL_STYLE) & SBS_VERT) != 0;
            if (IsWindowVisible(bar)) visible[vertical ? 1 : 0] = 1;
        }
        std::printf("%d %d\n", visible[0], visible[1]);
    } else if (verb == L"edittext") {
        HWND edit = FindChildOfClass(window, L"Edit");
        if (!edit) return 3;
        const LRESULT length = SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0);
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        SendMessageW(edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
        PrintUtf8(text.c_str());
    } else if (verb == L"image") {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
        if (!process) return 3;
        wchar_t path[MAX_PATH] = {};
        DWORD size = MAX_PATH;
        QueryFullProcessImageNameW(process, 0, path, &size);
        CloseHandle(process);
        PrintUtf8(path);
    } else if (verb == L"statics") {
        for (HWND label = FindWindowExW(window, nullptr, L"Static", nullptr); label;
             label = FindWindowExW(window, label, L"Static", nullptr)) {
            const LRESULT length = SendMessageW(label, WM_GETTEXTLENGTH, 0, 0);
            if (length <= 0) continue;
            std::wstring text(static_cast<size_t>(length) + 1, L'\0');
            SendMessageW(label, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
            PrintUtf8(text.c_str());
        }
    } else {
        return 2;
    }
    return 0;
}
