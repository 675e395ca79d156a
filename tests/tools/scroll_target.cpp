// A window with a known tall picture for the scrolling capture: a fixed header and
// footer inside the client area and content rows between them that never repeat,
// except a blank stretch and a stretch of identical 16-pixel rows.
//   scroll_target bar|wheel|still ROWS [start=PX] [view=PX] [escape=PX] [close=PX]
//     bar: a standard vertical bar, 16 pixels a line; wheel: no bar, three lines a
//     notch moving over four paints, and a caret blinking; still: does not scroll.
//     escape/close: clicks where the pointer is and presses Escape (in the foreground,
//     where they would land), or closes, once the content has moved that far.
//     The title says "scroll_target POSITION" after each scroll by the bar, and then
//     " touched" once a button or key has reached the window.
//   scroll_target truth FILE ROWS [view=PX]: writes the whole picture (width, height,
//     then 0x00RRGGBB pixels; 0xFF000000 where the caret may be).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 400, kHeader = 30, kFooter = 20, kLine = 16, kCaretX = 200, kCaretY = 120;
int g_rows = 2000, g_view = 544, g_pos = 0, g_goal = 0, g_escapeAt = -1, g_closeAt = -1;
char g_kind = 'b';
bool g_caret = false, g_touched = false;

unsigned Content(int x, int y) {
    if (y >= 600 && y < 660) return 0xFFFFFF;  // blank
    if (y >= 900 && y < 1100) y = 900 + y % kLine;  // identical rows
    unsigned h = static_cast<unsigned>(y) * 2654435761u ^ static_cast<unsigned>(x / 4) * 40503u;
    return (h ^ h >> 13) & 0xFFFFFF;
}
unsigned Fixed(int x, int y, unsigned base) { return base | ((x * 3 + y * 37) & 0xFF) << 8 | (x & 0x7F); }
bool InCaret(int x, int y) { return x >= kCaretX && x < kCaretX + 2 && y >= kCaretY && y < kCaretY + 14; }

void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    const int h = kHeader + g_view + kFooter;
    std::vector<unsigned> px(static_cast<size_t>(kWidth) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const int c = y - kHeader + g_pos;
            unsigned& p = px[static_cast<size_t>(y) * kWidth + x];
            p = y < kHeader ? Fixed(x, y, 0x400000) : y >= kHeader + g_view ? Fixed(x, y, 0x800000) : Content(x, c);
            if (g_caret && y >= kHeader && y < kHeader + g_view && InCaret(x, c)) p = 0;
        }
    BITMAPINFO bi{{sizeof(BITMAPINFOHEADER), kWidth, -h, 1, 32, BI_RGB}};
    SetDIBitsToDevice(dc, 0, 0, kWidth, h, 0, 0, 0, h, px.data(), &bi, DIB_RGB_COLORS);
    EndPaint(hwnd, &ps);
}

void Title(HWND hwnd) { SetWindowTextW(hwnd, (L"scroll_target " + std::to_wstring(g_pos) + (g_touched ? L" touched" : L"")).c_str()); }

void MoveTo(HWND hwnd, int pos) {
    g_pos = pos < 0 ? 0 : pos > g_rows - g_view ? g_rows - g_view : pos;
    if (g_kind == 'b') SetScrollPos(hwnd, SB_VERT, g_pos / kLine, TRUE);
    InvalidateRect(hwnd, nullptr, FALSE);
    // As a hand presses it: into the system's input, not to a window.
    if (g_escapeAt >= 0 && g_pos >= g_escapeAt)
        g_escapeAt = -1, SetForegroundWindow(hwnd), mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0), mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0),
        keybd_event(VK_ESCAPE, 0, 0, 0), keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
    if (g_closeAt >= 0 && g_pos >= g_closeAt) DestroyWindow(hwnd);
}

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT: Paint(hwnd); return 0;
        case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_KEYDOWN: g_touched = true, Title(hwnd); return 0;
        case WM_VSCROLL:
            if (LOWORD(wp) == SB_ENDSCROLL) Title(hwnd);
            if (g_kind != 'b') return 0;
            if (LOWORD(wp) == SB_LINEDOWN || LOWORD(wp) == SB_LINEUP) MoveTo(hwnd, g_pos + (LOWORD(wp) == SB_LINEDOWN ? kLine : -kLine));
            if (LOWORD(wp) == SB_THUMBPOSITION) MoveTo(hwnd, HIWORD(wp) * kLine);
            return 0;
        case WM_MOUSEWHEEL:
            if (g_kind != 'w') return 0;
            g_goal += -GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA * 3 * kLine;
            SetTimer(hwnd, 1, 10, nullptr);
            return 0;
        case WM_TIMER:
            // 2: the caret blinks; 1: smooth scrolling, a quarter of a notch each paint.
            if (wp == 2) g_caret = !g_caret, InvalidateRect(hwnd, nullptr, FALSE);
            else if (g_goal == 0) KillTimer(hwnd, 1);
            else { const int step = g_goal > 0 ? 12 : -12; g_goal -= step; MoveTo(hwnd, g_pos + step); }
            return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

int Arg(int argc, wchar_t** argv, const wchar_t* name, int fallback) {
    for (int i = 3; i < argc; ++i)
        if (!wcsncmp(argv[i], name, wcslen(name))) return _wtoi(argv[i] + wcslen(name));
    return fallback;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    g_rows = _wtoi(argv[2]);
    g_view = Arg(argc, argv, L"view=", g_view);
    if (!wcscmp(argv[1], L"truth")) {
        const int h = kHeader + g_rows + kFooter;
        std::vector<unsigned> px{kWidth, static_cast<unsigned>(h)};
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < kWidth; ++x)
                px.push_back(y < kHeader ? Fixed(x, y, 0x400000)
                             : y >= kHeader + g_rows ? Fixed(x, y - g_rows + g_view, 0x800000)
                             : InCaret(x, y - kHeader) ? 0xFF000000u : Content(x, y - kHeader));
        FILE* f = _wfopen(argv[3], L"wb");
        return !(f && fwrite(px.data(), 4, px.size(), f) == px.size() && !fclose(f));
    }
    g_kind = static_cast<char>(argv[1][0]);
    g_escapeAt = Arg(argc, argv, L"escape=", -1);
    g_closeAt = Arg(argc, argv, L"close=", -1);
    WNDCLASSW wc{0, Proc, 0, 0, GetModuleHandleW(nullptr), nullptr, LoadCursorW(nullptr, IDC_ARROW), nullptr, nullptr, L"VxScrollTarget"};
    RegisterClassW(&wc);
    const DWORD style = WS_POPUP | WS_BORDER | (g_kind == 'b' ? WS_VSCROLL : 0);
    RECT r{0, 0, kWidth + (g_kind == 'b' ? GetSystemMetrics(SM_CXVSCROLL) : 0), kHeader + g_view + kFooter};
    AdjustWindowRect(&r, style, FALSE);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"scroll_target", style, 200, 60, r.right - r.left, r.bottom - r.top,
                                nullptr, nullptr, wc.hInstance, nullptr);
    if (g_kind == 'b') {
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE, 0, g_rows / kLine - 1, static_cast<UINT>(g_view / kLine)};
        SetScrollInfo(hwnd, SB_VERT, &si, FALSE);
    }
    if (g_kind == 'w') SetTimer(hwnd, 2, 250, nullptr);
    MoveTo(hwnd, Arg(argc, argv, L"start=", 0));
    SendMessageW(hwnd, WM_VSCROLL, SB_ENDSCROLL, 0);
    ShowWindow(hwnd, SW_SHOW);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
