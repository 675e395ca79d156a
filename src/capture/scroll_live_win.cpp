#include "scroll_live_win.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <optional>
#include <string>

#include "../platform/gdi.h"
#include "../platform/geometry_win.h"
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
constexpr DWORD kStepTimeoutMs = 2000;    // nothing new by then: the step moved nothing
// A list that loads more rows as its end comes into view grows its bar's range a moment
// later; once it has, it is given the step's time at every end.
constexpr DWORD kLoadMs = 500;
constexpr UINT kTargetTimeoutMs = 1000;   // a target that takes longer to answer hangs
constexpr int kMaxUnits = 200;            // lines or notches in one step
constexpr long kMaxPosted = 5000;         // well inside a message queue's limit

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

// Lines or notches for the next step: the content should move about half the moving
// part, so two frames overlap by half (every step costs a settled screen). Under an
// overlay bar every row is to be seen twice, also when a slow animation overshoots.
int PlanUnits(const ScrollStitcher& stitcher, double unitPixels) {
    if (unitPixels <= 0) return 1;
    const double goal = std::max(1, stitcher.OverlaySeen() ? stitcher.MovingRows() * 2 / 5 : stitcher.MovingRows() / 2);
    return std::clamp(static_cast<int>(goal / unitPixels), 1, kMaxUnits);
}

// The pieces of one capture that are put back when it ends however it ends: the
// pointer, and the target's place (by its bar, or by as many lines or notches back as
// moved it).
struct PutBack {
    const ScrollTarget& target;
    POINT pointer{};
    bool barKnown = false;
    SCROLLINFO bar{};
    long unitsMoved = 0;

    explicit PutBack(const ScrollTarget& t) : target(t) {
        ::GetCursorPos(&pointer);
        barKnown = ReadBar(t, bar);
    }
    ~PutBack() {
        if (::IsWindow(target.window)) {
            if (target.byBar && barKnown && bar.nPos <= 0xFFFF) {
                if (SendToTarget(target, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, bar.nPos)))
                    SendToTarget(target, WM_VSCROLL, SB_ENDSCROLL);
            } else if (unitsMoved > 0 && target.byBar) {
                // Posted, not sent: the window comes back while the target catches up.
                bool posted = unitsMoved < kMaxPosted;
                for (long i = 0; posted && i < unitsMoved; ++i)
                    posted = ::PostMessageW(target.window, WM_VSCROLL, SB_LINEUP, reinterpret_cast<LPARAM>(target.bar));
                if (posted) ::PostMessageW(target.window, WM_VSCROLL, SB_ENDSCROLL, reinterpret_cast<LPARAM>(target.bar));
                else ScrollBy(target, -unitsMoved);
            } else if (unitsMoved > 0) {
                // The wheel's notches posted to the window itself, a few turns of many
                // notches: input sent as the capture ends reaches whatever window is under
                // the pointer or active by the time it is read.
                const LPARAM at = MAKELPARAM((target.area.left + target.area.right) / 2, target.area.top + OverRow());
                for (long left = unitsMoved, turn; left > 0; left -= turn) {
                    turn = std::min<long>(left, kMaxUnits);
                    ::PostMessageW(target.window, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA * turn), at);
                }
            }
        }
        ::SetCursorPos(pointer.x, pointer.y);
    }
    // A list lights the row under the pointer: the pointer waits beside the area, and
    // the wheel turns it over the upper third, where the rows are never the new ones.
    void Aside() const {
        const auto& a = target.area;
        const int right = ::GetSystemMetrics(SM_XVIRTUALSCREEN) + ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
        ::SetCursorPos(a.right + 8 < right ? a.right + 8 : a.left - 8, (a.top + a.bottom) / 2);
    }
    int OverRow() const { return (target.area.bottom - target.area.top) / 3; }
    void Over() const { ::SetCursorPos((target.area.left + target.area.right) / 2, target.area.top + OverRow()); }
};

// One capture: the copies of the area, the two frames and the stitcher, stepped until
// the content's end, the stop gesture, the size limit, or a target that went.
class ScrollRun {
public:
    ScrollRun(const ScrollTarget& target, AreaCopier& copier, PutBack& putBack, std::optional<ScrollStitcher>& stitcher)
        : target_(target), copier_(copier), putBack_(putBack), stitcher_(stitcher), label_(ToRECT(target.area)) {}

    // Makes the stitcher from the first frame and steps it; whether it reached the
    // content's end.
    bool Run(const ScrollLimits& limits);

private:
    bool Settle(DWORD quietMs = kQuietMs);
    void BackToFirst();
    ScrollStitcher::Step Place(int32_t expected, bool surelyMoved);
    bool Step(bool& end);
    bool MoreToCome();

    const ScrollTarget& target_;
    AreaCopier& copier_;
    PutBack& putBack_;
    std::optional<ScrollStitcher>& stitcher_;
    ProgressLabel label_;
    StopGesture gesture_;
    Frame frame_;
    Frame first_;            // kept where only the frames can tell the way back
    bool unsure_ = false;    // the last step's lines may have moved rows that all look alike
    RowBand lit_;            // the rows about the pointer, on the wheel road
    double unitPixels_ = 0;  // rows a line or notch moves, once a step has shown it
    int64_t wheelRows_ = 0, wheelNotches_ = 0;
    int units_ = 1;
    SCROLLINFO bar_{};
    bool grown_ = false;  // the bar's range grew during the capture
    bool again_ = false;  // the last step moved nothing
    bool stopped_ = false;
};

// Copies until the screen has not changed for a moment; false when it never came to
// rest or the stop gesture came.
bool ScrollRun::Settle(DWORD quietMs) {
    const DWORD start = ::GetTickCount();
    DWORD stillSince = start;
    copier_.Copy(frame_);
    for (;;) {
        ::Sleep(12);  // the target (and the X server) get the processor to paint
        if ((stopped_ = stopped_ || gesture_.Requested())) return false;
        const bool changed = copier_.CopyIfChanged(frame_);
        const DWORD now = ::GetTickCount();
        if (changed) {
            stillSince = now;
        } else if (now - stillSince >= quietMs) {
            return true;
        }
        if (now - start >= kSettleTimeoutMs) return false;
    }
}

// Places the frame after a step. A screen that shows nothing new yet, or nothing that
// fits (a target that answers late, an animation that pauses, a row lit as the pointer
// came), is looked at again until the step's time is up: only then has the content come
// to its end, or gone too far to tell.
ScrollStitcher::Step ScrollRun::Place(int32_t expected, bool surelyMoved) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        Settle();
        if (stopped_) return ScrollStitcher::Step::Unmatched;
        const ScrollStitcher::Step step = stitcher_->Add(frame_, expected, surelyMoved, lit_);
        const bool unsure = step == ScrollStitcher::Step::Unmoved || step == ScrollStitcher::Step::Unmatched;
        if (!unsure || ::GetTickCount() - start >= kStepTimeoutMs) return step;
    }
}

bool ScrollRun::Run(const ScrollLimits& limits) {
    putBack_.Aside();
    Settle(kFirstQuietMs);  // stopped already: this frame is the picture
    if (target_.byBar && !putBack_.barKnown) first_ = frame_;
    stitcher_.emplace(frame_, limits.maxPixels, limits.maxSide, PageStrips());
    if (stopped_) return false;
    if (!target_.byBar) {
        putBack_.Over();
        const int32_t row = putBack_.OverRow(), half = std::max(24, frame_.height / 16);
        lit_ = {row - half, row + half};
    }
    bar_ = putBack_.bar;
    bool end = false;
    while (Step(end)) {}
    if (end && unsure_) BackToFirst();
    return end;
}

// A bar that cannot be read (another process's, under Wine) and a last step that showed
// nothing new: its lines moved nothing at the content's end, or moved blank rows through
// the area (a console's empty buffer below its text). The lines counted go back, then
// single lines until the area shows the first frame again: as many as the steps that
// showed nothing new moved (two where the second one made sure of the end).
void ScrollRun::BackToFirst() {
    if (putBack_.unitsMoved > 0 && !ScrollBy(target_, -putBack_.unitsMoved)) return;
    putBack_.unitsMoved = 0;
    const int uncounted = (again_ ? 2 : 1) * units_;
    for (int extra = 0; Settle() && !NearlySameFrame(frame_, first_) && extra < uncounted; ++extra)
        if (!ScrollBy(target_, -1)) return;
}

// One step; false when the capture ends (`end`: at the content's end).
bool ScrollRun::Step(bool& end) {
    label_.Show(stitcher_->Steps(), stitcher_->FinalHeight(false));
    if (gesture_.Requested() || !::IsWindow(target_.window)) return false;
    // The bar is at its end, or would not go further, and its range does not grow.
    const auto atEnd = [&] { return MoreToCome() || (end = !stopped_, false); };
    if (putBack_.barKnown && bar_.nPos >= bar_.nMax - std::max<int>(bar_.nPage, 1) + 1) return atEnd();
    if (!ScrollBy(target_, units_)) return false;  // the target hangs or went
    SCROLLINFO now{};
    const bool barMoved = putBack_.barKnown && ReadBar(target_, now);
    if (barMoved && now.nPos == bar_.nPos) return atEnd();
    // Before any step has been matched, the bar's page tells about how tall a unit is.
    const double perUnit = unitPixels_ > 0 || !barMoved || bar_.nPage == 0 ? unitPixels_ : static_cast<double>(stitcher_->MovingRows()) / bar_.nPage;
    const int moved = barMoved ? now.nPos - bar_.nPos : units_;
    const ScrollStitcher::Step step = Place(static_cast<int32_t>(std::lround(perUnit * moved)), barMoved);
    if (!::IsWindow(target_.window)) return false;  // that frame may show what lay beneath
    if (step == ScrollStitcher::Step::Unmoved && !stopped_) {
        // A list may load more rows once its end has come into view: where its bar
        // cannot be read, a second step that moves nothing either tells the end.
        if (target_.byBar && !putBack_.barKnown && !again_) return again_ = true;
        unsure_ = target_.byBar && !barMoved;
        return !(end = true);
    }
    again_ = false;
    if (step == ScrollStitcher::Step::Appended) {
        // A line moves its rows at once; a notch's animation may end in the next step's
        // frame, so only the notches' rows over all steps tell what one notch moves.
        wheelRows_ += stitcher_->LastDistance(), wheelNotches_ += moved;
        unitPixels_ = target_.byBar ? std::max(unitPixels_, static_cast<double>(stitcher_->LastDistance()) / moved)
                                    : static_cast<double>(wheelRows_) / wheelNotches_;
        putBack_.unitsMoved += target_.byBar ? std::lround(stitcher_->LastDistance() / unitPixels_) : units_;
        bar_ = now;
        units_ = PlanUnits(*stitcher_, unitPixels_);
        return true;
    }
    if (step == ScrollStitcher::Step::Unmatched && units_ > 1 && !stopped_) {
        // Too far to tell: back, and a smaller step.
        if (!ScrollBy(target_, -units_)) return false;
        Settle();
        units_ = std::max(1, units_ / 2);
        return !stopped_;
    }
    putBack_.unitsMoved += units_;  // sent, not placed: they moved it all the same
    return false;
}

// Whether the bar's range grows past its position within the time a list takes to load
// more rows; its new range is then the one the next step goes by.
bool ScrollRun::MoreToCome() {
    const DWORD start = ::GetTickCount(), wait = grown_ ? kStepTimeoutMs : kLoadMs;
    for (SCROLLINFO now{}; ReadBar(target_, now);) {
        if (now.nMax - std::max<int>(now.nPage, 1) + 1 > bar_.nPos) {
            bar_.nMax = now.nMax, bar_.nPage = now.nPage;
            return grown_ = true;
        }
        if (::GetTickCount() - start >= wait || (stopped_ = gesture_.Requested())) break;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 15, QS_ALLINPUT);
    }
    return false;
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

AreaCopier::AreaCopier(const Rect& area) : area_(area), screen_(UniqueWindowDc::Client(nullptr)) {
    memory_.reset(::CreateCompatibleDC(screen_.get()));
    dib_ = NewDibSection(area.Width(), area.Height(), &bits_);
    if (memory_ && dib_) selected_ = SelectGuard(memory_.get(), dib_.get());
}

void AreaCopier::Copy(Frame& into) {
    into.width = area_.Width();
    into.height = area_.Height();
    ::BitBlt(memory_.get(), 0, 0, into.width, into.height, screen_.get(), area_.left, area_.top, SRCCOPY);
    ::GdiFlush();
    const auto* pixels = static_cast<const uint32_t*>(bits_);
    into.pixels.assign(pixels, pixels + static_cast<size_t>(into.width) * static_cast<size_t>(into.height));
}

bool AreaCopier::CopyIfChanged(Frame& last) {
    const size_t count = static_cast<size_t>(area_.Width()) * static_cast<size_t>(area_.Height());
    ::BitBlt(memory_.get(), 0, 0, area_.Width(), area_.Height(), screen_.get(), area_.left, area_.top, SRCCOPY);
    ::GdiFlush();
    const auto* pixels = static_cast<const uint32_t*>(bits_);
    if (last.pixels.size() == count && std::memcmp(last.pixels.data(), pixels, count * sizeof(uint32_t)) == 0) return false;
    last.width = area_.Width();
    last.height = area_.Height();
    last.pixels.assign(pixels, pixels + count);
    return true;
}

Result<UniqueBitmap> RunScrollCapture(const ScrollTarget& target, const ScrollLimits& limits) {
    try {
        // Where the frozen screen was, the screen shows its last pixels until the windows
        // there repaint, which they do at their own pace: they are asked to at once, and
        // the first frame waits for them to be still.
        const RECT area = ToRECT(target.area);
        ::RedrawWindow(nullptr, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        AreaCopier copier(target.area);
        if (!copier.Ready()) return Result<UniqueBitmap>::Failure(Status::NoMemory, ERROR_NOT_ENOUGH_MEMORY);
        bool end = false;
        std::optional<ScrollStitcher> stitcher;
        {
            PutBack putBack(target);
            end = ScrollRun(target, copier, putBack, stitcher).Run(limits);
        }
        void* bits = nullptr;
        UniqueBitmap picture = NewDibSection(stitcher->Width(), stitcher->FinalHeight(end), &bits);
        if (!picture) return Result<UniqueBitmap>::Failure(Status::NoMemory, ::GetLastError());
        stitcher->Join(static_cast<uint32_t*>(bits), end);
        return Result<UniqueBitmap>::Success(std::move(picture));
    } catch (const std::bad_alloc&) {
        return Result<UniqueBitmap>::Failure(Status::NoMemory, ERROR_NOT_ENOUGH_MEMORY);
    }
}

}  // namespace vx
