#include "window_capture_win.h"

#include "../platform/gdi.h"
#include "../platform/geometry_win.h"
#include "capture_area_win.h"
#include "capture_geometry.h"

namespace vx {
namespace {

constexpr DWORD kDwmExtendedFrameBounds = 9;  // DWMWA_EXTENDED_FRAME_BOUNDS

// The screen pixels of a rectangle as 0x00RRGGBB values, rows top down.
std::vector<unsigned> ReadScreen(const Rect& r) {
    const int w = r.Width(), h = r.Height();
    std::vector<unsigned> pixels;
    if (w <= 0 || h <= 0) return pixels;
    UniqueWindowDc screen = UniqueWindowDc::Client(nullptr);
    UniqueBitmap copy = CopyArea(screen.get(), r.left, r.top, w, h);
    BITMAPINFO info = DibInfo(w, -h, 32);
    pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
    if (!copy || ::GetDIBits(screen.get(), copy.get(), 0, static_cast<UINT>(h), pixels.data(), &info,
                             DIB_RGB_COLORS) != h) {
        pixels.clear();
    }
    return pixels;
}

}  // namespace

Rect VisibleFrameBounds(HWND hwnd) {
    RECT frame{};
    bool frameKnown = false;
    if (auto fn = api::DwmGetWindowAttribute()) {
        frameKnown = SUCCEEDED(fn(hwnd, kDwmExtendedFrameBounds, &frame, sizeof frame));
    }
    RECT window{};
    ::GetWindowRect(hwnd, &window);
    return VisibleFrame(frameKnown, FromRECT(frame), FromRECT(window));
}

ComPtr<IPicture> CaptureScreen() {
    const Rect screen = PrimaryScreenRect();
    return CaptureWindowArea(::GetDesktopWindow(), false, screen.left, screen.top, screen.Width(), screen.Height());
}

ComPtr<IPicture> CaptureFormWindow(const CommandHost& form) {
    const Rect outer = form.OuterPixels();
    return CaptureWindowArea(form.Owner(), false, 0, 0, outer.Width(), outer.Height());
}

ComPtr<IPicture> CaptureFormClient(const CommandHost& form) {
    const Rect client = form.ClientPixels();
    return CaptureWindowArea(form.Owner(), true, 0, 0, client.Width(), client.Height());
}

ComPtr<IPicture> CaptureActiveWindow() {
    // Another program's own device context can be empty on a composited desktop
    // (hardware-rendered windows read back black), and its outer rectangle includes
    // invisible resize borders. The foreground window is on top, so the screen inside
    // its visible frame is exactly what the user saw of it.
    const Rect r = VisibleFrameBounds(::GetForegroundWindow());
    return CaptureWindowArea(::GetDesktopWindow(), false, r.left, r.top, r.Width(), r.Height());
}

HiddenWindowWait::HiddenWindowWait(HWND hwnd) {
    if (!::IsWindowVisible(hwnd) || ::IsIconic(hwnd)) return;  // nothing of it on the screen
    RECT window{};
    ::GetWindowRect(hwnd, &window);
    area_ = FromRECT(window).Intersect(VirtualScreenRect());
    if (area_.Empty()) return;
    before_ = ReadScreen(area_);
}

void HiddenWindowWait::Wait() const {
    if (before_.empty()) return;
    // Hiding reaches the screen asynchronously (an X server, a compositor's next
    // frame), and the windows uncovered repaint after that. Done when the area no
    // longer shows the window and two reads in a row agree.
    constexpr DWORD kLimitMs = 1000;
    const DWORD start = ::GetTickCount();
    std::vector<unsigned> previous;
    while (::GetTickCount() - start < kLimitMs) {
        std::vector<unsigned> now = ReadScreen(area_);
        if (now.empty()) return;
        if (now != before_ && now == previous) return;
        previous = std::move(now);
        ::Sleep(10);
    }
}

}  // namespace vx
