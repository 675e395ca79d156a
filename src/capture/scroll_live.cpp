#include "scroll_live.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <optional>
#include <string>

#include "../platform/gdi.h"
#include "../platform/text.h"
#include "../platform/window_base.h"
#include "../resources/resource.h"

namespace vx {
namespace {

constexpr DWORD kQuietMs = 40;           // unchanged this long: the screen has settled
// The first frame follows the frozen screen going away: the windows under it repaint
// from their erased background, which can stay still longer than a step's repaint.
constexpr DWORD kFirstQuietMs = 300;
constexpr DWORD kSettleTimeoutMs = 1500;  // an animation longer than this is taken as it is
constexpr DWORD kStepTimeoutMs = 1200;    // nothing new by then: the step moved nothing
constexpr UINT kTargetTimeoutMs = 1000;   // a target that takes longer to answer hangs
constexpr int kMaxUnits = 200;            // lines or notches in one step

// The progress beside the area, never over it (it is never in a frame).
class ProgressLabel final : public WindowBase {
public:
    explicit ProgressLabel(const RECT& area) {
        static const WindowClass kClass{L"VellumoxScrollProgress", 0, nullptr, ::GetSysColorBrush(COLOR_INFOBK)};
        text_ = FillText(LoadText(IDS_MSG_SCROLL_PROGRESS), {L"00000", L"0000000"});
        UniqueWindowDc dc = UniqueWindowDc::Client(nullptr);
        SelectGuard font(dc.get(), ::GetStockObject(DEFAULT_GUI_FONT));
        RECT size{0, 0, 0, 0};
        ::DrawTextW(dc.get(), text_.c_str(), -1, &size, DT_CALCRECT | DT_SINGLELINE);
        const int w = size.right + 12, h = size.bottom + 8;
        MONITORINFO mi{sizeof mi};
        ::GetMonitorInfoW(::MonitorFromRect(&area, MONITOR_DEFAULTTONEAREST), &mi);
        const RECT& m = mi.rcMonitor;
        const int x = std::clamp(static_cast<int>(area.left), static_cast<int>(m.left), static_cast<int>(m.right) - w);
        const int y = std::clamp(static_cast<int>(area.top), static_cast<int>(m.top), static_cast<int>(m.bottom) - h);
        const RECT places[] = {{x, area.bottom + 2, x + w, area.bottom + 2 + h}, {x, area.top - 2 - h, x + w, area.top - 2},
                               {area.right + 2, y, area.right + 2 + w, y + h}, {area.left - 2 - w, y, area.left - 2, y + h}};
        for (const RECT& r : places) {
            RECT inside{}, over{};
            ::IntersectRect(&inside, &r, &m);
            if (!::EqualRect(&inside, &r) || ::IntersectRect(&over, &r, &area)) continue;
            CreateOfClass(kClass, WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, WS_POPUP | WS_BORDER, L"",
                          r.left, r.top, w, h);
            break;
        }
    }

    void Show(int steps, int pixels) {
        text_ = FillText(LoadText(IDS_MSG_SCROLL_PROGRESS), {std::to_wstring(steps), std::to_wstring(pixels)});
        if (!hwnd_) return;
        ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
        ::InvalidateRect(hwnd_, nullptr, TRUE);
        ::UpdateWindow(hwnd_);
    }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_PAINT) {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(hwnd_, &ps);
            SelectGuard font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
            ::SetBkMode(dc, TRANSPARENT);
            ::SetTextColor(dc, ::GetSysColor(COLOR_INFOTEXT));
            RECT r{};
            ::GetClientRect(hwnd_, &r);
            ::DrawTextW(dc, text_.c_str(), -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
            ::EndPaint(hwnd_, &ps);
            return 0;
        }
        return Default(message, wParam, lParam);
    }

    std::wstring text_;
};

// Answers what other threads send, and the input hooks, which run only while this
// thread looks at its messages (until then the system holds all input back).
void Listen() {
    MSG sent;
    ::PeekMessageW(&sent, nullptr, 0, 0, PM_NOREMOVE);
}

// The stop gesture, Escape or a click anywhere, for this program alone: while the loop
// runs, hooks take the buttons and Escape out of the system's input, so the window under
// the pointer neither follows a link nor moves its caret. Moves and the wheel (the loop's
// own steps) pass. Without the hooks the keys are polled, and then reach that window too.
class StopGesture {
public:
    StopGesture()
        : mouse_(::SetWindowsHookExW(WH_MOUSE_LL, &OnMouse, ::GetModuleHandleW(nullptr), 0)),
          keys_(::SetWindowsHookExW(WH_KEYBOARD_LL, &OnKey, ::GetModuleHandleW(nullptr), 0)) {
        stopped_ = held_ = false;
        Requested();  // forgets the click that picked the target
    }
    ~StopGesture() {
        // The release of a taken press would reach the window under the pointer on its own.
        for (const DWORD start = ::GetTickCount(); held_ && Hooked() && ::GetTickCount() - start < kReleaseMs;) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            Listen();
        }
    }
    StopGesture(const StopGesture&) = delete;
    StopGesture& operator=(const StopGesture&) = delete;

    // Since the last look.
    bool Requested() {
        Listen();
        bool stop = stopped_;
        if (!Hooked())
            for (int key : {VK_ESCAPE, VK_LBUTTON, VK_RBUTTON}) stop |= (::GetAsyncKeyState(key) & 0x8001) != 0;
        return stop;
    }

private:
    static constexpr DWORD kReleaseMs = 1000;
    bool Hooked() const { return mouse_ && keys_; }
    // A press stops and is taken with its release; a release alone (of the click that
    // picked the target, late under load) belongs to nobody here and passes.
    static bool Take(bool press) {
        if (!press && !held_) return false;
        stopped_ = true;
        held_ = press;
        return true;
    }
    static LRESULT CALLBACK OnMouse(int code, WPARAM message, LPARAM info) {
        if (code == HC_ACTION && message != WM_MOUSEMOVE && message != WM_MOUSEWHEEL && message != WM_MOUSEHWHEEL)
            if (Take(message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
                     message == WM_XBUTTONDOWN))
                return 1;
        return ::CallNextHookEx(nullptr, code, message, info);
    }
    static LRESULT CALLBACK OnKey(int code, WPARAM message, LPARAM info) {
        if (code == HC_ACTION && reinterpret_cast<const KBDLLHOOKSTRUCT*>(info)->vkCode == VK_ESCAPE)
            if (Take(message == WM_KEYDOWN || message == WM_SYSKEYDOWN)) return 1;
        return ::CallNextHookEx(nullptr, code, message, info);
    }

    static inline bool stopped_ = false, held_ = false;  // the hooks run on this thread
    UniqueHook mouse_, keys_;
};

bool ReadBar(const ScrollTarget& t, SCROLLINFO& info) {
    info = SCROLLINFO{sizeof info, SIF_ALL};
    return t.byBar && (t.bar ? ::GetScrollInfo(t.bar, SB_CTL, &info) : ::GetScrollInfo(t.window, SB_VERT, &info));
}

bool SendToTarget(const ScrollTarget& t, UINT message, WPARAM wParam) {
    DWORD_PTR answer = 0;
    return ::SendMessageTimeoutW(t.window, message, wParam, reinterpret_cast<LPARAM>(t.bar), SMTO_ABORTIFHUNG,
                                 kTargetTimeoutMs, &answer) != 0;
}

// `units` lines by the bar, or wheel notches under the pointer; negative goes back.
// False when the target no longer answers.
bool ScrollBy(const ScrollTarget& t, int units) {
    if (!t.byBar) {
        for (int i = 0; i < std::abs(units); ++i) {
            INPUT in{INPUT_MOUSE};
            in.mi.dwFlags = MOUSEEVENTF_WHEEL;
            in.mi.mouseData = static_cast<DWORD>(units > 0 ? -WHEEL_DELTA : WHEEL_DELTA);
            ::SendInput(1, &in, sizeof in);
        }
        return ::IsWindow(t.window);
    }
    for (int i = 0; i < std::abs(units); ++i)
        if (!SendToTarget(t, WM_VSCROLL, units > 0 ? SB_LINEDOWN : SB_LINEUP)) return false;
    if (!SendToTarget(t, WM_VSCROLL, SB_ENDSCROLL)) return false;
    // Its repaint before the copies, where the target lets it be asked for.
    ::RedrawWindow(t.window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return true;
}

// Copies until the screen has not changed for a moment; false when it never came to rest.
bool Settle(AreaCopier& copier, Frame& frame, Frame& spare, DWORD quietMs = kQuietMs) {
    const DWORD start = ::GetTickCount();
    DWORD stillSince = start;
    copier.Copy(frame);
    for (;;) {
        ::Sleep(4);  // the target gets the processor to paint
        Listen();
        copier.Copy(spare);
        const DWORD now = ::GetTickCount();
        if (!SameFrame(frame, spare)) {
            std::swap(frame, spare);
            stillSince = now;
        } else if (now - stillSince >= quietMs) {
            return true;
        }
        if (now - start >= kSettleTimeoutMs) return false;
    }
}

// Places the frame after a step; a screen that shows nothing new yet is looked at
// again until the step's time is up.
ScrollStitcher::Step PlaceStep(AreaCopier& copier, ScrollStitcher& stitcher, Frame& frame, Frame& spare,
                               int32_t expected, bool surelyMoved) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        Settle(copier, frame, spare);
        const ScrollStitcher::Step step = stitcher.Add(frame, expected, surelyMoved);
        if (step != ScrollStitcher::Step::Unmoved || ::GetTickCount() - start >= kStepTimeoutMs) return step;
    }
}

// The pieces of one capture that are put back when it ends however it ends.
struct PutBack {
    const ScrollTarget& target;
    POINT pointer{};
    bool barKnown = false;
    SCROLLINFO bar{};
    long linesMoved = 0;

    explicit PutBack(const ScrollTarget& t) : target(t) {
        ::GetCursorPos(&pointer);
        barKnown = ReadBar(t, bar);
        if (!t.byBar && !::PtInRect(&t.area, pointer)) {
            // The wheel turns what is under the pointer: it goes over the area, no further.
            ::SetCursorPos((t.area.left + t.area.right) / 2, (t.area.top + t.area.bottom) / 2);
        }
    }
    ~PutBack() {
        ::SetCursorPos(pointer.x, pointer.y);
        if (!target.byBar || !::IsWindow(target.window)) return;
        if (barKnown && bar.nPos <= 0xFFFF) {
            if (SendToTarget(target, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, bar.nPos)))
                SendToTarget(target, WM_VSCROLL, SB_ENDSCROLL);
        } else if (linesMoved > 0) {
            ScrollBy(target, -linesMoved);
        }
    }
};

// Lines or notches for the next step: the content should move about a third of the
// moving part, so two frames overlap by well over half.
int PlanUnits(const ScrollStitcher& stitcher, double unitPixels) {
    if (unitPixels <= 0) return 1;
    const double goal = std::max(1, stitcher.MovingRows() / 3);
    return std::clamp(static_cast<int>(goal / unitPixels), 1, kMaxUnits);
}

struct PageStripMemory final : StripMemory {
    uint32_t* Take(size_t pixels) override {
        return static_cast<uint32_t*>(::VirtualAlloc(nullptr, pixels * sizeof(uint32_t), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    }
    void Give(uint32_t* strip, size_t) override { ::VirtualFree(strip, 0, MEM_RELEASE); }
};

}  // namespace

StripMemory& PageStrips() {
    static PageStripMemory pages;
    return pages;
}

AreaCopier::AreaCopier(const RECT& area) : area_(area), screen_(UniqueWindowDc::Client(nullptr)) {
    memory_.reset(::CreateCompatibleDC(screen_.get()));
    dib_ = NewDibSection(area.right - area.left, area.bottom - area.top, &bits_);
    if (memory_ && dib_) selected_ = SelectGuard(memory_.get(), dib_.get());
}

void AreaCopier::Copy(Frame& into) {
    into.width = area_.right - area_.left;
    into.height = area_.bottom - area_.top;
    ::BitBlt(memory_.get(), 0, 0, into.width, into.height, screen_.get(), area_.left, area_.top, SRCCOPY);
    ::GdiFlush();
    const auto* pixels = static_cast<const uint32_t*>(bits_);
    into.pixels.assign(pixels, pixels + static_cast<size_t>(into.width) * static_cast<size_t>(into.height));
}

Result<UniqueBitmap> RunScrollCapture(const ScrollTarget& target, const ScrollLimits& limits) {
    try {
        // Where the frozen screen was, the screen shows its last pixels until the windows
        // there repaint, which they do at their own pace: they are asked to at once, and
        // the first frame waits for them to be still.
        ::RedrawWindow(nullptr, &target.area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        AreaCopier copier(target.area);
        if (!copier.Ready()) return Result<UniqueBitmap>::Failure(Status::NoMemory, ERROR_NOT_ENOUGH_MEMORY);
        bool footer = false;
        std::optional<ScrollStitcher> stitcher;
        {
            PutBack putBack(target);
            ProgressLabel label(target.area);
            StopGesture gesture;
            Frame frame, spare;
            Settle(copier, frame, spare, kFirstQuietMs);
            stitcher.emplace(frame, limits.maxPixels, limits.maxSide, PageStrips());
            double unitPixels = 0;
            int units = 1;
            SCROLLINFO bar = putBack.bar;
            for (;;) {
                label.Show(stitcher->Steps(), stitcher->FinalHeight(false));
                if (gesture.Requested() || !::IsWindow(target.window)) break;
                if (putBack.barKnown && bar.nPos >= bar.nMax - std::max<int>(bar.nPage, 1) + 1) {
                    footer = true;  // the bar is at its end
                    break;
                }
                if (!ScrollBy(target, units)) break;  // the target hangs or went
                SCROLLINFO now{};
                const bool barRead = putBack.barKnown && ReadBar(target, now);
                if (barRead && now.nPos == bar.nPos) {
                    footer = true;  // the bar would not go further
                    break;
                }
                const bool barMoved = barRead;
                // Before any step has been matched, the bar's page tells about how tall a unit is.
                const double perUnit = unitPixels > 0 || !barMoved || bar.nPage == 0 ? unitPixels : static_cast<double>(stitcher->MovingRows()) / bar.nPage;
                const int32_t expected = static_cast<int32_t>(std::lround(perUnit * (barMoved ? now.nPos - bar.nPos : units)));
                const ScrollStitcher::Step step = PlaceStep(copier, *stitcher, frame, spare, expected, barMoved);
                if (!::IsWindow(target.window)) break;  // that frame may show what lay beneath
                if (step == ScrollStitcher::Step::Unmoved) {
                    footer = true;
                    break;
                }
                if (step == ScrollStitcher::Step::Unmatched && units > 1) {
                    // Too far to tell: back, and a smaller step.
                    if (!ScrollBy(target, -units)) break;
                    Settle(copier, frame, spare);
                    units = std::max(1, units / 2);
                    continue;
                }
                if (step != ScrollStitcher::Step::Appended) break;
                const int moved = barMoved ? now.nPos - bar.nPos : units;
                unitPixels = std::max(unitPixels, static_cast<double>(stitcher->LastDistance()) / moved);
                putBack.linesMoved += std::lround(stitcher->LastDistance() / unitPixels);
                bar = now;
                units = PlanUnits(*stitcher, unitPixels);
            }
        }
        void* bits = nullptr;
        UniqueBitmap picture = NewDibSection(stitcher->Width(), stitcher->FinalHeight(footer), &bits);
        if (!picture) return Result<UniqueBitmap>::Failure(Status::NoMemory, ::GetLastError());
        stitcher->Join(static_cast<uint32_t*>(bits), footer);
        return Result<UniqueBitmap>::Success(std::move(picture));
    } catch (const std::bad_alloc&) {
        return Result<UniqueBitmap>::Failure(Status::NoMemory, ERROR_NOT_ENOUGH_MEMORY);
    }
}

}  // namespace vx
