// The image view under Wine: a real window with a real picture, scrolled by the
// scroll-bar messages a person's clicks produce, by the wheel and by the keys, checked
// on the painted pixels.
#include <atomic>
#include <thread>

#include "platform/dpi.h"
#include "platform/units.h"
#include "win_test_support.h"

namespace vx::test {
namespace {

class ImageViewTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        SetClientSize(554, 375);
    }
    // Resizes the window so its client area is width x height pixels.
    void SetClientSize(int width, int height) {
        RECT r{0, 0, width, height};
        ::AdjustWindowRectEx(&r, static_cast<DWORD>(::GetWindowLongW(form->hwnd(), GWL_STYLE)), TRUE, 0);
        ::SetWindowPos(form->hwnd(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
        PumpUntil([&] { return ::GetClientRect(form->hwnd(), &r) && r.right == width && r.bottom == height && Settled(); });
    }
    // A picture whose every pixel tells its own column: red + 256 * green = x, blue = y.
    void Show(int width, int height) {
        form->PlacePicture(PictureOf(width, height, [](int x, int y) { return std::uint32_t((x & 0xFFFF) << 8 | (y & 255)); }));
        form->Form_Resize();
        PumpUntil(Settled);
    }
    RECT ChildRect(HWND child) const {
        RECT r{};
        ::GetWindowRect(child, &r);
        ::MapWindowPoints(nullptr, form->hwnd(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    // The image's (column, row % 256) painted at viewport pixel (x, y); -1s for the workspace colour.
    std::pair<int, int> At(int x, int y) {
        ::UpdateWindow(form->picScroll());
        const COLORREF c = ::GetPixel(UniqueWindowDc::Client(form->picScroll()).get(), x, y);
        if (c == ::GetSysColor(COLOR_APPWORKSPACE)) return {-1, -1};
        return {GetRValue(c) << 8 | GetGValue(c), GetBValue(c)};
    }
    int ColumnAt(int x, int y = 0) { return At(x, y).first; }
    // Presses the keys in turn and lets them go in reverse, as a hand does.
    void Keys(std::vector<BYTE> keys) {
        ::SetForegroundWindow(form->hwnd());
        for (const BYTE k : keys) ::keybd_event(k, 0, 0, 0);
        for (auto k = keys.rbegin(); k != keys.rend(); ++k) ::keybd_event(*k, 0, KEYEVENTF_KEYUP, 0);
        PumpUntil(Settled);
    }
    int ViewportWidth() const { return ChildRect(form->picScroll()).right - ChildRect(form->picScroll()).left; }
    void Scroll(const ScrollBar& bar, int code) {
        ::SendMessageW(form->hwnd(), bar.hwnd == form->HScroll1().hwnd ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(code, 0),
                       reinterpret_cast<LPARAM>(bar.hwnd));
        Pump();
    }
};

// The bars fit the visible sizes and tile the client area with the viewport. An arrow
// moves one pixel, the trough a third of the viewport, the end shows the last column at
// the right edge.
TEST_F(ImageViewTest, BarsFitTheViewAndMoveTheImageByAPixelAThirdAndToTheEnd) {
    EXPECT_FALSE(::IsWindowVisible(form->HScroll1().hwnd) || ::IsWindowVisible(form->VScroll1().hwnd));
    EXPECT_EQ(ColumnAt(10, 10), -1) << "an empty view shows the workspace";
    Show(1280, 960);
    const double tpp = form->TwipsPerPixelX();
    const RECT view = ChildRect(form->picScroll()), hbar = ChildRect(form->HScroll1().hwnd);
    const RECT vbar = ChildRect(form->VScroll1().hwnd), toolbar = ChildRect(form->Toolbar1());
    for (HWND bar : {form->HScroll1().hwnd, form->VScroll1().hwnd}) ASSERT_TRUE(::IsWindowVisible(bar)) << bar;
    EXPECT_EQ((std::vector{view.top, hbar.top, hbar.bottom, vbar.left, vbar.right}),
              (std::vector{toolbar.bottom, view.bottom, ChildRect(form->StatusBar1()).top, view.right, 554L}));
    // The maximum shows the last column at the right edge, read back from the control.
    SCROLLINFO h{sizeof h, SIF_ALL}, v{sizeof v, SIF_ALL};  // the highest values the controls themselves allow
    ::GetScrollInfo(form->HScroll1().hwnd, SB_CTL, &h), ::GetScrollInfo(form->VScroll1().hwnd, SB_CTL, &v);
    EXPECT_EQ(std::pair(h.nMax - int(h.nPage) + 1, v.nMax - int(v.nPage) + 1),
              std::pair(int((1280 - (view.right - view.left)) * tpp), int((960 - (view.bottom - view.top)) * tpp)));

    Scroll(form->HScroll1(), SB_LINERIGHT);
    EXPECT_EQ(ColumnAt(0), 1);
    Scroll(form->HScroll1(), SB_LINELEFT);
    Scroll(form->HScroll1(), SB_PAGERIGHT);
    EXPECT_EQ(ColumnAt(0), static_cast<int>(static_cast<int>(ViewportWidth() * tpp) / 3 / tpp));
    Scroll(form->HScroll1(), SB_RIGHT);
    Scroll(form->VScroll1(), SB_PAGEDOWN);
    EXPECT_EQ(ColumnAt(ViewportWidth() - 1), 1279);
    EXPECT_EQ(form->Doc().PicBmp.Left, -static_cast<double>(form->HScroll1().Value));
}

TEST_F(ImageViewTest, WholeOfVeryWideImagesIsReachable) {
    for (int width : {554 + 5000, 40000}) {
        Show(width, 64);
        ASSERT_TRUE(::IsWindowVisible(form->HScroll1().hwnd));
        Scroll(form->HScroll1(), SB_RIGHT);
        EXPECT_EQ(ColumnAt(ViewportWidth() - 1), width - 1) << "image " << width << " wide";
        Scroll(form->HScroll1(), SB_PAGELEFT);
        EXPECT_EQ(ColumnAt(100), ColumnAt(0) + 100) << "painted contiguously";
    }
}

TEST_F(ImageViewTest, ThumbDragMovesTheImageBeforeRelease) {
    Show(4000, 64);
    const RECT bar = ChildRect(form->HScroll1().hwnd);
    POINT start{bar.left + ::GetSystemMetrics(SM_CXHSCROLL) + 4, (bar.top + bar.bottom) / 2};
    ::ClientToScreen(form->hwnd(), &start);
    std::atomic<double> duringDrag{1};
    std::atomic<bool> done{false};
    // The scroll bar runs its own loop while the button is held: drive it from a
    // second thread, as a person's hand would, and look at the image meanwhile.
    std::thread hand([&] {
        MouseAt(start.x, start.y);
        ::Sleep(80);  // a hand's pace
        for (int dx = 0; dx <= 120; dx += 10, ::Sleep(80)) MouseAt(start.x + dx, start.y, dx ? 0 : MOUSEEVENTF_LEFTDOWN);
        // Held until the image follows (or a while): the main thread pumps meanwhile.
        PumpUntil([&] { return form->Doc().PicBmp.Left <= -1000; }, 3000);
        duringDrag = form->Doc().PicBmp.Left;
        MouseAt(start.x + 120, start.y, MOUSEEVENTF_LEFTUP);
        done = true;
    });
    PumpUntil([&] { return done.load(); }, 20000);
    hand.join();
    PumpUntil(Settled);
    EXPECT_LT(duringDrag.load(), -1000.0) << "the image followed the thumb while the button was held";
    EXPECT_EQ(form->Doc().PicBmp.Left, -static_cast<double>(form->HScroll1().Value));
}

// After every layout the picture's corner is in view: a hidden bar, or a shown one
// left with maximum 0, puts the edge back at the viewport's edge.
TEST_F(ImageViewTest, NoLayoutLeavesThePictureOutOfView) {
    Show(600, 2000);  // a little wider than the viewport, much taller
    Scroll(form->HScroll1(), SB_RIGHT);
    ASSERT_LT(form->Doc().PicBmp.Left, 0);
    SetClientSize(700, 375);  // now the width fits: the horizontal bar goes away
    EXPECT_FALSE(::IsWindowVisible(form->HScroll1().hwnd));
    EXPECT_EQ(At(0, 0), std::pair(0, 0));
    // The viewport reaches down to the status bar and stops at the vertical bar.
    const RECT view = ChildRect(form->picScroll());
    EXPECT_EQ(std::tuple(view.bottom, view.right), std::tuple(ChildRect(form->StatusBar1()).top, ChildRect(form->VScroll1().hwnd).left));
    // Scrolled, then a smaller picture; at the bottom, then a window exactly as tall as the picture.
    Scroll(form->VScroll1(), SB_PAGEDOWN);
    Show(100, 80);
    EXPECT_EQ(At(0, 0), std::pair(0, 0));
    SetClientSize(554, 375);
    Show(2000, 600);
    Scroll(form->VScroll1(), SB_BOTTOM);
    const RECT before = ChildRect(form->picScroll());
    SetClientSize(554, 375 + 600 - (before.bottom - before.top));
    EXPECT_EQ(std::pair(ChildRect(form->picScroll()).bottom - before.top, form->VScroll1().Max), std::pair(600L, 0));
    EXPECT_EQ(At(0, 0), std::pair(0, 0));
}

// A wheel line and an arrow key move a line of the message font (a bar's arrow, one pixel: above).
TEST_F(ImageViewTest, WheelAndKeysMoveThePictureByLinesOfTextAndTheThumbsTogether) {
    Show(3000, 3000);
    const ScrollBar &h = form->HScroll1(), &v = form->VScroll1();
    UINT n = 0, chars = 0;  // lines a notch, columns a tilt
    ::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &n, 0);
    ::SystemParametersInfoW(SPI_GETWHEELSCROLLCHARS, 0, &chars, 0);
    const int dpi = WindowDpi(form->hwnd()), line = MessageLineHeight(dpi), tpp = 1440 / dpi;
    EXPECT_TRUE(line >= Scale96(12, dpi) && line <= Scale96(24, dpi)) << line << " px at " << dpi << " DPI";
    const int lines = static_cast<int>(n) * line, cols = int(chars) * line, page = Nearest(v.LargeChange / double(tpp));
    auto wheel = [&](UINT message, int keys, int delta) { ::SendMessageW(form->hwnd(), message, MAKEWPARAM(keys, delta), 0); };
    const struct { const char* what; std::function<void()> act; int x, y; } steps[] = {
        {"a notch down", [&] { wheel(WM_MOUSEWHEEL, 0, -120); }, 0, lines},
        {"a touchpad's three thirds", [&] { for (int i = 0; i < 3; ++i) wheel(WM_MOUSEWHEEL, 0, -40); }, 0, 2 * lines},
        {"Shift and a notch", [&] { wheel(WM_MOUSEWHEEL, MK_SHIFT, -120); }, lines, 2 * lines},
        {"tilted right", [&] { wheel(WM_MOUSEHWHEEL, 0, 120); }, lines + cols, 2 * lines},
        {"Down", [&] { Keys({VK_DOWN}); }, lines + cols, 2 * lines + line},
        {"Page Down", [&] { Keys({VK_NEXT}); }, lines + cols, 2 * lines + line + page},
        {"Ctrl+End", [&] { Keys({VK_CONTROL, VK_END}); }, h.Max / tpp, v.Max / tpp},
        {"Home", [&] { Keys({VK_HOME}); }, h.Max / tpp, 0},
        {"Ctrl+Home", [&] { Keys({VK_CONTROL, VK_HOME}); }, 0, 0},
    };
    for (const auto& s : steps) {
        s.act();
        EXPECT_EQ(At(0, 0), std::pair(s.x, s.y % 256)) << s.what;
        SCROLLINFO hi{sizeof hi, SIF_POS}, vi{sizeof vi, SIF_POS};
        ::GetScrollInfo(h.hwnd, SB_CTL, &hi);
        ::GetScrollInfo(v.hwnd, SB_CTL, &vi);
        EXPECT_EQ(std::pair(hi.nPos, vi.nPos), std::pair(h.Value, v.Value)) << s.what << ": thumbs";
    }
    Show(3000, 100);  // without a vertical bar the wheel scrolls nothing
    wheel(WM_MOUSEWHEEL, 0, -120);
    EXPECT_EQ(At(0, 0), std::pair(0, 0));
}

}  // namespace
}  // namespace vx::test
