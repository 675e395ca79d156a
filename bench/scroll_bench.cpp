// The scrolling capture's own costs: one step (the copies of the settle check and the
// match that places the frame, not the target's repaint) against one BitBlt of the
// area; the step that makes the picture 20,000 rows tall against the one at 2,000;
// the peak memory at the end against the finished picture's size; and a whole capture
// of 10,000 rows scrolled smoothly by the wheel against the target's own animations.
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstdio>
#include <optional>
#include <thread>

#include "bench.h"
#include "capture/scroll_live_win.h"

#include <psapi.h>
#include "document/picture_limits.h"
#include "platform/gdi.h"

namespace vx::bench {
namespace {

constexpr int kWidth = 800, kView = 600, kHeader = 30, kStep = 200;
int g_offset = 0;

uint32_t Content(int x, int y) {
    uint32_t h = static_cast<uint32_t>(y) * 2654435761u ^ static_cast<uint32_t>(x / 4) * 40503u;
    return (h ^ h >> 13) & 0xFFFFFF;
}

// A tall picture with a fixed header, scrolled by setting g_offset.
LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd, &ps);
    std::vector<uint32_t> px(static_cast<size_t>(kWidth) * (kHeader + kView));
    for (int y = 0; y < kHeader + kView; ++y)
        for (int x = 0; x < kWidth; ++x) px[static_cast<size_t>(y) * kWidth + x] = y < kHeader ? 0x404040 + x : Content(x, y + g_offset);
    BITMAPINFO bi = DibInfo(kWidth, -(kHeader + kView), 32);
    ::SetDIBitsToDevice(dc, 0, 0, kWidth, kHeader + kView, 0, 0, 0, kHeader + kView, px.data(), &bi, DIB_RGB_COLORS);
    ::EndPaint(hwnd, &ps);
    return 0;
}

HWND TallWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VxBenchScroll";
    ::RegisterClassW(&wc);
    HWND hwnd = ::CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, kWidth,
                                  kHeader + kView, nullptr, nullptr, wc.hInstance, nullptr);
    ::UpdateWindow(hwnd);
    return hwnd;
}

void ScrollTo(HWND hwnd, int offset) {
    g_offset = offset;
    ::InvalidateRect(hwnd, nullptr, FALSE);
    ::UpdateWindow(hwnd);
    ::GdiFlush();
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    // One pixel read back waits until the X server has drawn the repaint, as it has when
    // the program's settle check takes its copies, 12 ms apart; the step starts after it.
    ::GetPixel(UniqueWindowDc::Client(nullptr).get(), 0, 0);
}

// A picture being stitched from the tall window, at its own place in the content.
struct Stitching {
    int offset = 0;
    std::optional<ScrollStitcher> stitcher;
};

std::vector<Figure> Steps(const Context& c) {
    HWND hwnd = TallWindow();
    const Rect area{0, 0, kWidth, kHeader + kView};
    AreaCopier copier(area);
    Frame frame;
    // One step as the loop does it: two copies that agree, then the match.
    auto step = [&](Stitching& s) {
        copier.Copy(frame);
        if (!copier.CopyIfChanged(frame)) s.stitcher->Add(frame, kStep);
    };
    auto next = [&](Stitching& s) { ScrollTo(hwnd, s.offset += kStep); };
    Stitching small, tall;
    for (Stitching* s : {&small, &tall}) {
        ScrollTo(hwnd, 0);
        copier.Copy(frame);
        s->stitcher.emplace(frame, kMaxPicturePixels, kMaxPictureSide, PageStrips());
        while (s->stitcher->FinalHeight(false) < (s == &small ? 2000 : 20000)) next(*s), step(*s);
    }
    UniqueWindowDc screen = UniqueWindowDc::Client(nullptr);
    UniqueCreatedDc memory(::CreateCompatibleDC(screen.get()));
    void* bits = nullptr;
    UniqueBitmap dib = NewDibSection(kWidth, kHeader + kView, &bits);
    SelectGuard select(memory.get(), dib.get());
    auto blt = [&] {
        ::BitBlt(memory.get(), 0, 0, kWidth, kHeader + kView, screen.get(), 0, 0, SRCCOPY);
        ::GdiFlush();
    };
    // The three in turn, so that the machine's other work weighs on each alike.
    std::vector<double> times[3];
    auto timed = [](const std::function<void()>& run) {
        LARGE_INTEGER f, a, b;
        ::QueryPerformanceFrequency(&f);
        ::QueryPerformanceCounter(&a);
        run();
        ::QueryPerformanceCounter(&b);
        return 1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
    };
    for (int i = 0; i < c.repetitions * 3 + 1; ++i) {
        const bool warm = i == 0;
        const double t0 = timed(blt);
        next(small);
        const double t1 = timed([&] { step(small); });
        next(tall);
        const double t2 = timed([&] { step(tall); });
        if (!warm) times[0].push_back(t0), times[1].push_back(t1), times[2].push_back(t2);
    }
    std::vector<Figure> detail;
    if (std::getenv("VX_BENCH_DETAIL")) {
        // Where the step's time goes, each part against the same BitBlt, in turn.
        std::vector<double> parts[4], base;
        for (int i = 0; i < c.repetitions * 3 + 1; ++i) {
            next(small);
            const double t0 = timed([&] { copier.Copy(frame); });
            const double t1 = timed([&] { (void)copier.CopyIfChanged(frame); });
            const double t2 = timed([&] { (void)SameFrame(frame, frame); });
            const double t3 = timed([&] { small.stitcher->Add(frame, kStep); });
            const double tb = timed(blt);
            if (i == 0) continue;
            parts[0].push_back(t0), parts[1].push_back(t1), parts[2].push_back(t2), parts[3].push_back(t3);
            base.push_back(tb);
        }
        const char* names[] = {"detail: first copy (after the repaint)", "detail: second copy, compared in place",
                               "detail: a frame compared with itself", "detail: the match"};
        for (int k = 0; k < 4; ++k) {
            Figure d{names[k], 0, 0, 0, "ms", "one BitBlt of the area"};
            SetFromPairs(d, parts[k], base);
            detail.push_back(d);
        }
    }
    ::DestroyWindow(hwnd);
    Figure stepFigure{"scroll step (2 copies + settle + match) 800x630", 0, 0, 3, "ms", "one BitBlt of the area"};
    Figure tallFigure{"scroll step at 20,000 rows vs at 2,000", 0, 0, 1.2, "ms", "the step at 2,000 rows"};
    SetFromPairs(stepFigure, times[1], times[0]);
    SetFromPairs(tallFigure, times[2], times[1]);
    detail.insert(detail.begin(), {stepFigure, tallFigure});
    return detail;
}

double PeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{sizeof counters};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.PeakWorkingSetSize);
}
double WorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{sizeof counters};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.WorkingSetSize);
}

// In a copy of this program of its own: the peak cannot be reset. Frames made in
// memory, so only the stitching's memory is counted; the picture is 20,030 rows.
std::vector<Figure> MemoryChild(const Context&) {
    if (!_wgetenv(L"VX_SCROLL_MEMORY")) return {};  // only as the memory figure's child
    auto frameAt = [](int offset) {
        Frame f{kWidth, kHeader + kView, std::vector<uint32_t>(static_cast<size_t>(kWidth) * (kHeader + kView))};
        for (int y = 0; y < f.height; ++y)
            for (int x = 0; x < kWidth; ++x) f.pixels[static_cast<size_t>(y) * kWidth + x] = y < kHeader ? 0x404040 + x : Content(x, y + offset);
        return f;
    };
    const double before = WorkingSet();
    int offset = 0;
    ScrollStitcher stitcher(frameAt(0), kMaxPicturePixels, kMaxPictureSide, PageStrips());
    while (stitcher.FinalHeight(true) < 20000 + kHeader) stitcher.Add(frameAt(offset += kStep), kStep);
    void* bits = nullptr;
    const int height = stitcher.FinalHeight(true);
    UniqueBitmap picture = NewDibSection(kWidth, height, &bits);
    stitcher.Join(static_cast<uint32_t*>(bits), true);
    std::printf("%.0f %.0f\n", PeakWorkingSet() - before, static_cast<double>(kWidth) * height * 4);
    return {};
}

std::vector<Figure> Memory(const Context&) {
    double peak = 0, picture = 0;
    RunChild(L"scroll_memory_child", L"VX_SCROLL_MEMORY", peak, picture);
    return {Figure{"scroll capture peak memory vs picture 800x20030", peak, picture, 1.5, "B", "width x height x 4"}};
}

// A window of 10,000 rows on a thread of its own that scrolls as browsers do: a notch
// starts an animation of 12 pixels a tick every 10 ms; the time from a notch that
// starts one to its last paint is added up.
constexpr int kSmoothRows = 10000, kNotch = 48;
std::atomic<double> g_animating{0};
int g_smoothPos = 0, g_smoothGoal = 0;
LARGE_INTEGER g_animationStart{};

double Since(const LARGE_INTEGER& start) {
    LARGE_INTEGER f, now;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(f.QuadPart);
}

LRESULT CALLBACK SmoothProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEWHEEL) {
        if (g_smoothGoal == 0) ::QueryPerformanceCounter(&g_animationStart);
        g_smoothGoal -= GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * kNotch;
        ::SetTimer(hwnd, 1, 10, nullptr);
        return 0;
    }
    if (message == WM_TIMER) {
        const int step = std::clamp(g_smoothGoal, -12, 12);
        g_smoothGoal = step == 0 ? 0 : g_smoothGoal - step;
        g_smoothPos = std::clamp(g_smoothPos + step, 0, kSmoothRows - kView);
        ::InvalidateRect(hwnd, nullptr, FALSE);
        ::UpdateWindow(hwnd);
        if (g_smoothGoal == 0) ::KillTimer(hwnd, 1), g_animating = g_animating + Since(g_animationStart);
        return 0;
    }
    if (message != WM_PAINT) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd, &ps);
    std::vector<uint32_t> px(static_cast<size_t>(kWidth) * kView);
    for (int y = 0; y < kView; ++y)
        for (int x = 0; x < kWidth; ++x) px[static_cast<size_t>(y) * kWidth + x] = Content(x, y + g_smoothPos);
    BITMAPINFO bi = DibInfo(kWidth, -kView, 32);
    ::SetDIBitsToDevice(dc, 0, 0, kWidth, kView, 0, 0, 0, kView, px.data(), &bi, DIB_RGB_COLORS);
    ::EndPaint(hwnd, &ps);
    return 0;
}

std::vector<Figure> WholeCapture(const Context&) {
    std::atomic<HWND> window{nullptr};
    std::thread target([&] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = SmoothProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VxBenchSmooth";
        ::RegisterClassW(&wc);
        HWND hwnd = ::CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kView,
                                      nullptr, nullptr, wc.hInstance, nullptr);
        ::UpdateWindow(hwnd);
        window = hwnd;
        MSG msg;
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
        ::DestroyWindow(hwnd);
    });
    while (!window) ::Sleep(5);
    ::Sleep(300);
    ScrollTarget t{window, nullptr, false, {0, 0, kWidth, kView}};
    LARGE_INTEGER start;
    ::QueryPerformanceCounter(&start);
    Result<UniqueBitmap> picture = RunScrollCapture(t, {kMaxPicturePixels, kMaxPictureSide});
    const double wall = Since(start);
    BITMAP bm{};
    if (picture.ok()) ::GetObjectW(picture.value.get(), sizeof bm, &bm);
    std::printf("whole scrolling capture: %ld rows stitched of %d\n", bm.bmHeight, kSmoothRows);
    ::PostThreadMessageW(::GetWindowThreadProcessId(window, nullptr), WM_QUIT, 0, 0);
    target.join();
    return {Figure{"whole scrolling capture, 10,000 rows, wheel, smooth", wall, g_animating, 1.5, "ms",
                   "the target's own animations"}};
}

Register steps("scroll.steps", Steps);
Register whole("scroll.capture", WholeCapture);
Register memory("scroll.memory", Memory);
Register child("scroll_memory_child", MemoryChild);

}  // namespace
}  // namespace vx::bench
