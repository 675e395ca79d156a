// region_probe: outside help for the free-region tests.
//   region_probe pattern X Y W H            shows a borderless window with a pattern in
//                                           which no two nearby pixels are alike; runs until killed
//   region_probe clipboard OUT.bmp          writes the clipboard's CF_BITMAP as a 24-bit BMP,
//                                           prints "width height"; exit 4 when there is none
//   region_probe sequence                   the clipboard's sequence number
//   region_probe hold-clipboard MS READY    opens the clipboard with a window, creates the file
//                                           READY, keeps it open MS milliseconds
//   region_probe view TITLE                 screen point of the top-left corner of the view
//   region_probe maximize TITLE | close TITLE
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kPatternClass[] = L"RegionProbePattern";

COLORREF PatternAt(int x, int y) {
    return RGB(x & 255, y & 255, (((x >> 8) + 5 * (y >> 8)) * 40) & 255);
}

LRESULT CALLBACK PatternProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT r{};
        GetClientRect(hwnd, &r);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), r.right, -r.bottom, 1, 32, BI_RGB};
        std::vector<DWORD> bits(static_cast<size_t>(r.right) * r.bottom);
        for (int y = 0; y < r.bottom; ++y)
            for (int x = 0; x < r.right; ++x) {
                const COLORREF c = PatternAt(x, y);
                bits[static_cast<size_t>(y) * r.right + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
            }
        SetDIBitsToDevice(dc, 0, 0, r.right, r.bottom, 0, 0, 0, r.bottom, bits.data(), &info, DIB_RGB_COLORS);
        EndPaint(hwnd, &ps);
        return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

int ShowPattern(int x, int y, int w, int h) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PatternProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kPatternClass;
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, kPatternClass, L"region pattern", WS_POPUP | WS_VISIBLE, x, y, w, h,
                                nullptr, nullptr, wc.hInstance, nullptr);
    if (!hwnd) return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}

bool OpenClipboardRetrying(HWND owner) {
    for (int i = 0; i < 40; ++i) {
        if (OpenClipboard(owner)) return true;
        Sleep(50);
    }
    return false;
}

int WriteClipboardBitmap(const wchar_t* path) {
    if (!OpenClipboardRetrying(nullptr)) return 5;
    HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    BITMAP b{};
    if (!bitmap || !GetObjectW(bitmap, sizeof b, &b)) {
        CloseClipboard();
        return 4;
    }
    BITMAPINFOHEADER header{sizeof header, b.bmWidth, b.bmHeight, 1, 24, BI_RGB};
    const DWORD stride = ((b.bmWidth * 3 + 3) / 4) * 4;
    std::vector<unsigned char> bits(static_cast<size_t>(stride) * b.bmHeight);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, b.bmHeight, bits.data(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    CloseClipboard();
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof header + bits.size()), 0, 0,
                          sizeof(BITMAPFILEHEADER) + sizeof header};
    FILE* out = _wfopen(path, L"wb");
    if (!out) return 6;
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&header, sizeof header, 1, out);
    std::fwrite(bits.data(), 1, bits.size(), out);
    std::fclose(out);
    std::printf("%ld %ld\n", b.bmWidth, b.bmHeight);
    return 0;
}

int HoldClipboard(int milliseconds, const wchar_t* ready) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (!OpenClipboardRetrying(owner)) return 5;
    CloseHandle(CreateFileW(ready, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    Sleep(static_cast<DWORD>(milliseconds));
    CloseClipboard();
    DestroyWindow(owner);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    const std::wstring verb = argv[1];
    if (verb == L"pattern" && argc > 5) return ShowPattern(_wtoi(argv[2]), _wtoi(argv[3]), _wtoi(argv[4]), _wtoi(argv[5]));
    if (verb == L"clipboard" && argc > 2) return WriteClipboardBitmap(argv[2]);
    if (verb == L"sequence") {
        std::printf("%lu\n", GetClipboardSequenceNumber());
        return 0;
    }
    if (verb == L"hold-clipboard" && argc > 3) return HoldClipboard(_wtoi(argv[2]), argv[3]);
    if (argc < 3) return 2;
    HWND window = FindWindowW(nullptr, argv[2]);
    if (!window) return 3;
    if (verb == L"view") {
        HWND view = FindWindowExW(window, nullptr, L"VellumoxViewport", nullptr);
        if (!view) return 3;
        POINT p{0, 0};
        ClientToScreen(view, &p);
        std::printf("%ld %ld\n", p.x, p.y);
    } else if (verb == L"maximize") {
        ShowWindow(window, SW_MAXIMIZE);
    } else if (verb == L"close") {
        PostMessageW(window, WM_CLOSE, 0, 0);
    } else {
        return 2;
    }
    return 0;
}
