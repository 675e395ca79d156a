// A window with a known tall picture for the scrolling capture: a fixed header and
// footer inside the client area and content rows between them that never repeat,
// except a blank stretch and a stretch of identical 16-pixel rows.
//   scroll_target bar|wheel|still ROWS [start=PX] [view=PX] [escape=PX] [key=PX] [close=PX]
//     bar: a standard vertical bar, 16 pixels a line; wheel: no bar, three lines a
//     notch moving over four paints, and a caret blinking; still: does not scroll.
//     escape/key/close: clicks where the pointer is and presses Escape (in the
//     foreground, where they would land), presses Escape alone, or closes, once the
//     content has moved that far.
//     The title says "scroll_target POSITION" after each scroll, then " touched" once a
//     button or key has reached the window, and " escaped=TICKS" once it pressed Escape.
//     What real windows do, as switches: header=1 a caret blinking in the header;
//     clock=1 a counter running in the footer; hot=1 the line under the pointer lit;
//     slow=1 the wheel's scrolling decelerates over about 400 ms in uneven ticks;
//     late=MS the content repaints that long after it moved; sticky=PX the header is
//     that much taller until the first scroll; columns=1 the right quarter holds the
//     same on every line (a list's column of equal sizes); overlay=1 a translucent thumb
//     over the content's right edge that fades in while the content moves and out
//     400 ms after it stopped; grow=PX (bar) only PX rows loaded at first, PX more
//     100 ms after the view reached their end, the thumb shrinking each time.
//   scroll_target truth FILE ROWS [view=PX] [sticky=PX] [columns=1]: writes the whole
//     picture (width, height, then 0x00RRGGBB pixels; 0xFF000000 where a caret or the
//     counter may be).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kWidth = 400, kHeader = 30, kFooter = 20, kLine = 16, kColumns = 300;
constexpr RECT kCaret{200, 120, 202, 134}, kHeaderCaret{100, 8, 102, 22}, kClock{340, 4, 372, 16};  // content, header, footer
int g_rows = 2000, g_view = 544, g_pos = 0, g_shown = 0, g_goal = 0, g_escapeAt = -1, g_closeAt = -1;
int g_late = 0, g_sticky = 0, g_tick = 0, g_clock = 0, g_headerCaret = 0, g_hot = 0, g_slow = 0, g_columns = 0, g_counter = 0;
int g_overlay = 0, g_fade = 0, g_grow = 0, g_loaded = 0;
DWORD g_movedAt = 0;
DWORD g_escaped = 0;
char g_kind = 'b';
bool g_keyOnly = false, g_caret = false, g_touched = false;

bool In(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

unsigned Content(int x, int y) {
    if (g_columns && x >= kColumns) return 0x202020u * (y % kLine / 4) + x;  // the same on every line
    if (y >= 600 && y < 660) return 0xFFFFFF;  // blank
    if (y >= 900 && y < 1100) y = 900 + y % kLine;  // identical rows
    unsigned h = static_cast<unsigned>(y) * 2654435761u ^ static_cast<unsigned>(x / 4) * 40503u;
    return (h ^ h >> 13) & 0xFFFFFF;
}
unsigned Fixed(int x, int y, unsigned base) { return base | ((x * 3 + y * 37) & 0xFF) << 8 | (x & 0x7F); }
unsigned Header(int x, int y) { return Fixed(x, y, g_sticky ? 0x600000 : 0x400000); }

void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    const int h = kHeader + g_view + kFooter, header = kHeader + g_sticky;
    POINT pointer{-1, -1};
    if (g_hot && GetCursorPos(&pointer)) ScreenToClient(hwnd, &pointer);
    const int lit = pointer.x >= 0 && pointer.x < kWidth && pointer.y >= header && pointer.y < kHeader + g_view ? (pointer.y - header + g_shown) / kLine : -1;
    const int thumb = kHeader + g_shown * g_view / g_rows, tall = std::max(24, g_view * g_view / g_rows);
    std::vector<unsigned> px(static_cast<size_t>(kWidth) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const int c = y - header + g_shown;
            unsigned& p = px[static_cast<size_t>(y) * kWidth + x];
            p = y < header ? Header(x, y) : y >= kHeader + g_view ? Fixed(x, y, 0x800000) : Content(x, c);
            if (y >= header && y < kHeader + g_view && ((g_caret && In(kCaret, x, c)) || c / kLine == lit)) p = c / kLine == lit ? 0x0078D7 ^ (p & 0x3F3F3F) : 0;
            if (g_fade && x >= kWidth - 10 && x < kWidth - 2 && y >= thumb && y < thumb + tall)  // blended towards grey
                p = (((p & 0xFF00FF) * (16 - g_fade) + 0x600060 * g_fade) >> 4 & 0xFF00FF) | (((p & 0xFF00) * (16 - g_fade) + 0x6000 * g_fade) >> 4 & 0xFF00);
            if ((g_headerCaret && g_caret && In(kHeaderCaret, x, y)) || (In(kClock, x, y - kHeader - g_view) && (g_clock >> (x - kClock.left) / 4 & 1))) p = 0;
        }
    BITMAPINFO bi{{sizeof(BITMAPINFOHEADER), kWidth, -h, 1, 32, BI_RGB}};
    SetDIBitsToDevice(dc, 0, 0, kWidth, h, 0, 0, 0, h, px.data(), &bi, DIB_RGB_COLORS);
    EndPaint(hwnd, &ps);
}

void Title(HWND hwnd) { SetWindowTextW(hwnd, (L"scroll_target " + std::to_wstring(g_shown) + (g_touched ? L" touched" : L"") +
                                (g_escaped ? L" escaped=" + std::to_wstring(g_escaped) : L"")).c_str()); }

// Shows the content where it is now: the first time, the header shrinks.
void Show(HWND hwnd) {
    if (g_shown != g_pos) g_sticky = 0, g_movedAt = GetTickCount();
    if (g_overlay) SetTimer(hwnd, 5, 30, nullptr);
    g_shown = g_pos;
    InvalidateRect(hwnd, nullptr, FALSE);
    Title(hwnd);
}

// More rows loaded: the range grows, the thumb shrinks.
void Load(HWND hwnd, int rows) {
    g_loaded = std::min(rows, g_rows);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE, 0, g_loaded / kLine - 1, static_cast<UINT>(g_view / kLine)};
    SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
}

void MoveTo(HWND hwnd, int pos) {
    const int end = (g_grow ? g_loaded : g_rows) - g_view;
    g_pos = pos < 0 ? 0 : pos > end ? end : pos;
    if (g_grow && g_pos == end && g_loaded < g_rows) SetTimer(hwnd, 6, 100, nullptr);
    if (g_kind == 'b') SetScrollPos(hwnd, SB_VERT, g_pos / kLine, TRUE);
    if (g_late) SetTimer(hwnd, 3, g_late, nullptr);
    else Show(hwnd);
    // As a hand presses it: into the system's input, not to a window.
    if (g_escapeAt >= 0 && g_pos >= g_escapeAt)
        g_escapeAt = -1, g_escaped = GetTickCount(), Title(hwnd), SetForegroundWindow(hwnd),
        g_keyOnly || (mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0), mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0), 0),
        keybd_event(VK_ESCAPE, 0, 0, 0), keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
    if (g_closeAt >= 0 && g_pos >= g_closeAt) DestroyWindow(hwnd);
}

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT: Paint(hwnd); return 0;
        case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_KEYDOWN: g_touched = true, Title(hwnd); return 0;
        case WM_MOUSEMOVE: case WM_MOUSELEAVE:
            if (!g_hot) return 0;
            if (msg == WM_MOUSEMOVE) { TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, hwnd, 0}; TrackMouseEvent(&t); }
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_VSCROLL:
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
            // 2: the carets blink; 3: the late repaint; 4: the counter; 1: smooth
            // scrolling, a quarter of a notch each paint, or slowing down in uneven ticks.
            if (wp == 2) g_caret = !g_caret, InvalidateRect(hwnd, nullptr, FALSE);
            else if (wp == 3) KillTimer(hwnd, 3), Show(hwnd);
            else if (wp == 4) ++g_clock, InvalidateRect(hwnd, nullptr, FALSE);
            else if (wp == 5) {  // the overlay thumb: in while moving, out when still
                const int goal = GetTickCount() - g_movedAt < 400 ? 12 : 0;
                if (goal == 0 && g_fade == 0) KillTimer(hwnd, 5);
                else if (goal != g_fade) g_fade += goal > g_fade ? 3 : -2, InvalidateRect(hwnd, nullptr, FALSE);
            } else if (wp == 6) KillTimer(hwnd, 6), Load(hwnd, g_loaded + g_grow);
            else if (g_goal == 0) KillTimer(hwnd, 1);
            else {
                const int step = g_slow && g_goal / 6 ? g_goal / 6 : (g_goal > 0 ? 1 : -1) * (g_slow ? 1 : 12);
                g_goal -= step;
                MoveTo(hwnd, g_pos + step);
                if (g_slow) SetTimer(hwnd, 1, 12 + 13 * (++g_tick % 3), nullptr);
            }
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
    for (auto [name, to] : {std::pair{L"sticky=", &g_sticky}, {L"columns=", &g_columns}, {L"header=", &g_headerCaret},
                            {L"hot=", &g_hot}, {L"slow=", &g_slow}, {L"late=", &g_late}, {L"clock=", &g_counter},
                            {L"overlay=", &g_overlay}, {L"grow=", &g_grow}})
        *to = Arg(argc, argv, name, 0);
    if (!wcscmp(argv[1], L"truth")) {
        const int header = kHeader + g_sticky, h = header + g_rows + kFooter;
        std::vector<unsigned> px{kWidth, static_cast<unsigned>(h)};
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < kWidth; ++x)
                px.push_back(In(kHeaderCaret, x, y) || In(kClock, x, y - header - g_rows) ? 0xFF000000u
                             : y < header ? Header(x, y)
                             : y >= header + g_rows ? Fixed(x, y - header - g_rows + kHeader + g_view, 0x800000)
                             : In(kCaret, x, y - header) ? 0xFF000000u : Content(x, y - header));
        FILE* f = _wfopen(argv[3], L"wb");
        return !(f && fwrite(px.data(), 4, px.size(), f) == px.size() && !fclose(f));
    }
    g_kind = static_cast<char>(argv[1][0]);
    g_escapeAt = Arg(argc, argv, L"escape=", -1);
    if (g_escapeAt < 0) g_keyOnly = (g_escapeAt = Arg(argc, argv, L"key=", -1)) >= 0;
    g_closeAt = Arg(argc, argv, L"close=", -1);
    WNDCLASSW wc{0, Proc, 0, 0, GetModuleHandleW(nullptr), nullptr, LoadCursorW(nullptr, IDC_ARROW), nullptr, nullptr, L"VxScrollTarget"};
    RegisterClassW(&wc);
    const DWORD style = WS_POPUP | WS_BORDER | (g_kind == 'b' ? WS_VSCROLL : 0);
    RECT r{0, 0, kWidth + (g_kind == 'b' ? GetSystemMetrics(SM_CXVSCROLL) : 0), kHeader + g_view + kFooter};
    AdjustWindowRect(&r, style, FALSE);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"scroll_target", style, 200, 60, r.right - r.left, r.bottom - r.top,
                                nullptr, nullptr, wc.hInstance, nullptr);
    if (g_kind == 'b') Load(hwnd, g_grow ? g_grow : g_rows);
    if (g_kind == 'w' || g_headerCaret) SetTimer(hwnd, 2, 250, nullptr);
    if (g_counter) SetTimer(hwnd, 4, 100, nullptr);
    g_shown = g_pos = Arg(argc, argv, L"start=", 0);
    MoveTo(hwnd, g_pos);
    Title(hwnd);
    ShowWindow(hwnd, SW_SHOW);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
