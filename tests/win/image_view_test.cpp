// The image view under Wine: a real window with a real picture, scrolled by the
// scroll-bar messages a person's clicks produce, checked on the painted pixels.
#include <atomic>
#include <thread>

#include "win_test_support.h"

namespace vx::test {
namespace {

// A picture whose every pixel tells its own column: red + 256 * green = x, blue = y.
ComPtr<IPicture> ColumnPicture(int width, int height) {
    return PictureOf(width, height, [](int x, int y) { return std::uint32_t((x & 255) << 16 | (x & 0xFF00) | (y & 255)); });
}

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
        Pump(20);
    }
    void Show(int width, int height) {
        form->PlacePicture(ColumnPicture(width, height));
        form->Form_Resize();
        Pump(20);
    }
    RECT ChildRect(HWND child) const {
        RECT r{};
        ::GetWindowRect(child, &r);
        ::MapWindowPoints(nullptr, form->hwnd(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    // The image column painted at viewport column x (row 0), or -1 for workspace colour.
    int ColumnAt(int x, int y = 0) {
        ::UpdateWindow(form->picScroll());
        HDC dc = ::GetDC(form->picScroll());
        const COLORREF c = ::GetPixel(dc, x, y);
        ::ReleaseDC(form->picScroll(), dc);
        if (c == ::GetSysColor(COLOR_APPWORKSPACE)) return -1;
        return GetRValue(c) + 256 * GetGValue(c);
    }
    int ViewportWidth() const {
        RECT r{};
        ::GetClientRect(form->picScroll(), &r);
        return r.right;
    }
    void Scroll(const ScrollBar& bar, int code) {
        ::SendMessageW(form->hwnd(), bar.hwnd == form->HScroll1().hwnd ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(code, 0),
                       reinterpret_cast<LPARAM>(bar.hwnd));
        Pump();
    }
    int ControlMaximum(HWND bar) const {
        SCROLLINFO si{sizeof si};
        si.fMask = SIF_ALL;
        ::GetScrollInfo(bar, SB_CTL, &si);
        return si.nMax - static_cast<int>(si.nPage) + 1;
    }
};

TEST_F(ImageViewTest, ResizeSetsTheBarsFromTheVisibleSizes) {
    Show(1280, 960);
    const double tpp = form->TwipsPerPixelX();
    const RECT view = ChildRect(form->picScroll());
    const RECT hbar = ChildRect(form->HScroll1().hwnd);
    const RECT vbar = ChildRect(form->VScroll1().hwnd);
    const RECT status = ChildRect(form->StatusBar1());
    const RECT toolbar = ChildRect(form->Toolbar1());
    ASSERT_TRUE(::IsWindowVisible(form->HScroll1().hwnd));
    ASSERT_TRUE(::IsWindowVisible(form->VScroll1().hwnd));
    // The pieces tile the client area: viewport under the toolbar, bars along its edges.
    EXPECT_EQ(view.top, toolbar.bottom);
    EXPECT_EQ(hbar.top, view.bottom);
    EXPECT_EQ(hbar.bottom, status.top);
    EXPECT_EQ(vbar.left, view.right);
    EXPECT_EQ(vbar.right, 554);
    // Maximum shows the last column at the right edge; read back from the control.
    const int viewW = view.right - view.left, viewH = view.bottom - view.top;
    EXPECT_EQ(ControlMaximum(form->HScroll1().hwnd), static_cast<int>((1280 - viewW) * tpp));
    EXPECT_EQ(ControlMaximum(form->VScroll1().hwnd), static_cast<int>((960 - viewH) * tpp));
    EXPECT_EQ(form->HScroll1().LargeChange, static_cast<int>(viewW * tpp) / 3);
    EXPECT_EQ(form->HScroll1().SmallChange, static_cast<int>(tpp));
}

TEST_F(ImageViewTest, ArrowTroughAndEndMoveTheImage) {
    Show(1280, 960);
    const double tpp = form->TwipsPerPixelX();
    EXPECT_EQ(ColumnAt(0), 0);
    Scroll(form->HScroll1(), SB_LINERIGHT);
    EXPECT_EQ(ColumnAt(0), 1) << "an arrow click moves one pixel";
    Scroll(form->HScroll1(), SB_LINELEFT);
    Scroll(form->HScroll1(), SB_PAGERIGHT);
    const int third = static_cast<int>(ViewportWidth() * tpp) / 3;
    EXPECT_EQ(form->HScroll1().Value, third);
    EXPECT_EQ(ColumnAt(0), static_cast<int>(third / tpp)) << "a trough click moves a third of the viewport";
    Scroll(form->HScroll1(), SB_RIGHT);
    EXPECT_EQ(ColumnAt(ViewportWidth() - 1), 1279) << "at the maximum the right edges meet";
    EXPECT_EQ(form->Doc().PicBmp.Left, -static_cast<double>(form->HScroll1().Value));
}

TEST_F(ImageViewTest, WholeOfVeryWideImagesIsReachable) {
    for (int width : {554 + 5000, 40000}) {
        Show(width, 64);
        ASSERT_TRUE(::IsWindowVisible(form->HScroll1().hwnd));
        Scroll(form->HScroll1(), SB_RIGHT);
        EXPECT_EQ(ColumnAt(ViewportWidth() - 1), width - 1) << "image " << width << " wide";
        Scroll(form->HScroll1(), SB_PAGELEFT);
        const int first = ColumnAt(0);
        EXPECT_EQ(ColumnAt(100), first + 100) << "painted contiguously";
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
        auto send = [](DWORD flags, int x, int y) {
            MouseAt(x, y, flags);
            ::Sleep(80);
        };
        send(0, start.x, start.y);
        send(MOUSEEVENTF_LEFTDOWN, start.x, start.y);
        for (int dx = 10; dx <= 120; dx += 10) send(0, start.x + dx, start.y);
        ::Sleep(150);
        duringDrag = form->Doc().PicBmp.Left;
        send(MOUSEEVENTF_LEFTUP, start.x + 120, start.y);
        done = true;
    });
    while (!done) Pump(10);
    hand.join();
    Pump(50);
    EXPECT_LT(duringDrag.load(), -1000.0) << "the image followed the thumb while the button was held";
    EXPECT_EQ(form->Doc().PicBmp.Left, -static_cast<double>(form->HScroll1().Value));
}

TEST_F(ImageViewTest, ResizingByOnePixelScrollsBackToTheCorner) {
    Show(1280, 960);
    Scroll(form->HScroll1(), SB_PAGERIGHT);
    Scroll(form->VScroll1(), SB_PAGEDOWN);
    ASSERT_NE(form->Doc().PicBmp.Left, 0);
    SetClientSize(555, 375);
    EXPECT_EQ(form->Doc().PicBmp.Left, 0);
    EXPECT_EQ(form->Doc().PicBmp.Top, 0);
    EXPECT_EQ(ColumnAt(0), 0);
}

TEST_F(ImageViewTest, HiddenBarPutsThePictureAtTheEdgeAndViewportTakesItsStrip) {
    Show(600, 2000);  // a little wider than the viewport, much taller
    Scroll(form->HScroll1(), SB_RIGHT);
    ASSERT_LT(form->Doc().PicBmp.Left, 0);
    SetClientSize(700, 375);  // now the width fits: the horizontal bar goes away
    EXPECT_FALSE(::IsWindowVisible(form->HScroll1().hwnd));
    EXPECT_EQ(form->Doc().PicBmp.Left, 0) << "a hidden bar leaves the picture scrolled";
    // The viewport reaches down to the status bar and stops at the vertical bar.
    const RECT view = ChildRect(form->picScroll());
    EXPECT_EQ(view.bottom, ChildRect(form->StatusBar1()).top);
    EXPECT_EQ(view.right, ChildRect(form->VScroll1().hwnd).left);
}

TEST_F(ImageViewTest, EmptyViewAtStartHasNoBars) {
    EXPECT_FALSE(::IsWindowVisible(form->HScroll1().hwnd));
    EXPECT_FALSE(::IsWindowVisible(form->VScroll1().hwnd));
    EXPECT_EQ(ColumnAt(10, 10), -1);
}

}  // namespace
}  // namespace vx::test
