// The capture commands against a real screen: a window painted with a known pattern at
// a known place (on a thread of its own, so it repaints while the main thread waits),
// and the main window of the program.
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "capture/capture_procs.h"
#include "win_test_support.h"

namespace vx::test {
namespace {

Pixels ReadPicture(const PictureBox& box) { return ReadPixels(box.Bitmap(), box.Palette()); }

// Cells of plain colours (all in the static part of a 256-colour system palette), laid
// out so that no shift of the pattern matches itself.
constexpr int kCell = 12;
constexpr COLORREF kPlain[8] = {RGB(0, 0, 0),     RGB(255, 255, 255), RGB(255, 0, 0),   RGB(0, 255, 0),
                                RGB(0, 0, 255),   RGB(255, 255, 0),   RGB(0, 255, 255), RGB(255, 0, 255)};

std::uint32_t PatternColor(int x, int y) {
    const int cx = x / kCell, cy = y / kCell;
    const COLORREF c = kPlain[(cx * cx + 3 * cy + cx * cy + (x % kCell == 0 ? 1 : 0)) % 8];
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// Mismatching pixels between a block of `picture` at (left, top) and the pattern.
int PatternMismatches(const Pixels& picture, int left, int top, int width, int height) {
    if (left < 0 || top < 0 || left + width > picture.width || top + height > picture.height) return width * height;
    int wrong = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) wrong += picture.At(left + x, top + y) != PatternColor(x, y);
    return wrong;
}

constexpr UINT kActivateLater = WM_APP + 1;

LRESULT CALLBACK PatternProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(hwnd, &ps);
            RECT client{};
            ::GetClientRect(hwnd, &client);
            PaintPattern(dc, client.right, client.bottom, PatternColor);
            ::EndPaint(hwnd, &ps);
            return 0;
        }
        case kActivateLater:
            ::SetTimer(hwnd, 1, static_cast<UINT>(wParam), nullptr);
            return 0;
        case WM_TIMER:
            ::KillTimer(hwnd, 1);
            ::SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
            ::SetForegroundWindow(hwnd);
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

// The pattern in a window at a known place, run by a thread of its own.
class PatternWindow {
public:
    PatternWindow(int left, int top, int width, int height, DWORD style = WS_POPUP) {
        HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([=] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = PatternProc;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
            wc.lpszClassName = L"VxCapturePattern";
            ::RegisterClassW(&wc);
            hwnd_ = ::CreateWindowExW(0, wc.lpszClassName, L"Pattern", style, left, top, width, height, nullptr,
                                      nullptr, wc.hInstance, nullptr);
            ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
            ::UpdateWindow(hwnd_);
            ::SetEvent(ready);
            MSG msg;
            while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
        });
        ::WaitForSingleObject(ready, 10000);
        ::CloseHandle(ready);
        Pump(150);  // let its surface reach the screen
    }
    ~PatternWindow() {
        ::PostMessageW(hwnd_, WM_CLOSE, 0, 0);
        thread_.join();
        Pump();
    }
    HWND hwnd() const { return hwnd_; }
    // Brings it to the front from its own thread, while the main thread may be asleep.
    void ActivateAfter(int milliseconds) { ::PostMessageW(hwnd_, kActivateLater, static_cast<WPARAM>(milliseconds), 0); }

private:
    std::atomic<HWND> hwnd_{nullptr};
    std::thread thread_;
};

RECT ClientOnScreen(HWND hwnd) {
    RECT r{};
    ::GetClientRect(hwnd, &r);
    ::MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT OuterRect(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return r;
}

class CaptureCommandsTest : public MainWindowTest {
protected:
    void PlaceForm(int left, int top, int width, int height) {
        ::SetWindowPos(form->hwnd(), HWND_TOP, left, top, width, height, SWP_SHOWWINDOW);
        Pump(150);
    }
};

bool PaletteDisplay() {
    UniqueWindowDc screen = UniqueWindowDc::Client(nullptr);
    return (::GetDeviceCaps(screen.get(), RASTERCAPS) & RC_PALETTE) != 0;
}

TEST_F(CaptureCommandsTest, WholeScreenShowsWhatTheMainWindowCovered) {
    PatternWindow pattern(40, 120, 240, 168);
    PlaceForm(160, 180, 570, 460);  // over the right part of the pattern
    const RECT p = ClientOnScreen(pattern.hwnd());

    mnuScreen_Click(*form);

    // The primary display in physical pixels, whatever the DPI (the 144-DPI session
    // says how large its X screen really is).
    int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
    if (const char* expected = std::getenv("VX_EXPECT_SCREEN")) std::sscanf(expected, "%dx%d", &width, &height);
    const Pixels shot = ReadPicture(form->Doc().PicBmp);
    EXPECT_EQ(shot.width, width);
    EXPECT_EQ(shot.height, height);
    EXPECT_DOUBLE_EQ(form->Doc().PicBmp.Width, width * form->TwipsPerPixelX());
    EXPECT_EQ(PatternMismatches(shot, p.left, p.top, 240, 168), 0) << "the main window is in the capture";
    EXPECT_TRUE(form->Doc().ImageUnsaved);
    EXPECT_TRUE(::IsWindowVisible(form->hwnd()));
    EXPECT_EQ(::GetFocus(), form->hwnd());
    EXPECT_EQ(form->GetWindowState(), WindowState::Normal);
}

TEST_F(CaptureCommandsTest, ClientAndWindowCapturesStartAtTheirTopLeftPixel) {
    PlaceForm(120, 90, 600, 480);
    // Each capture equals what the screen showed of its rectangle just before.
    auto check = [&](const RECT& r, const std::function<void()>& command) {
        const Pixels before = ReadScreen(r);
        form->Doc().ImageUnsaved = false;
        command();
        const Pixels shot = ReadPicture(form->Doc().PicBmp);
        EXPECT_EQ(shot.width, r.right - r.left);
        EXPECT_EQ(shot.height, r.bottom - r.top);
        EXPECT_TRUE(shot.values == before.values);
        EXPECT_TRUE(form->Doc().ImageUnsaved);
        Pump(150);  // the view shows the capture before the next one
    };
    check(ClientOnScreen(form->hwnd()), [&] { mnuClient_Click(*form); });
    check(OuterRect(form->hwnd()), [&] { form->Toolbar1_ButtonClick(9); });  // the toolbar runs the window capture
}

TEST_F(CaptureCommandsTest, DelayedCaptureCancelsOrTakesTheWindowBroughtToFront) {
    ScriptedDialogs dialogs;  // the first question is cancelled: nothing changes, no wait
    PatternWindow pattern(300, 200, 300, 204);
    mnuClient_Click(*form);
    form->Doc().ImageUnsaved = false;
    IPicture* before = form->Doc().PicBmp.Picture.get();
    auto start = std::chrono::steady_clock::now();
    mnuAtiveWindow_Click(*form);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
    EXPECT_EQ(form->Doc().PicBmp.Picture.get(), before);
    EXPECT_FALSE(form->Doc().ImageUnsaved);
    EXPECT_EQ(form->GetWindowState(), WindowState::Normal);

    dialogs.boxAnswers = {IDOK};
    form->SetWindowState(WindowState::Maximized);
    Pump(150);
    ASSERT_EQ(form->GetWindowState(), WindowState::Maximized);
    pattern.ActivateAfter(400);  // the user picks another window during the wait
    start = std::chrono::steady_clock::now();
    mnuAtiveWindow_Click(*form);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2000));
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[1].text, L"单击'确定'两秒钟之后程序会捕捉处于活动状态的窗口。单击'取消'退出捕获。");
    EXPECT_EQ(dialogs.boxes[1].title, L"Vellumox v1.0");
    EXPECT_EQ(dialogs.boxes[1].style, 65u);
    const Pixels shot = ReadPicture(form->Doc().PicBmp);
    EXPECT_EQ(shot.width, 300);
    EXPECT_EQ(shot.height, 204);
    EXPECT_EQ(PatternMismatches(shot, 0, 0, 300, 204), 0);
    EXPECT_TRUE(form->Doc().ImageUnsaved);
    Pump(100);
    EXPECT_EQ(form->GetWindowState(), WindowState::Normal) << "not back in the normal state";
}

TEST_F(CaptureCommandsTest, ActiveWindowFromTheDesktopEqualsItsOwnSurface) {
    PatternWindow framed(200, 150, 320, 240, WS_OVERLAPPEDWINDOW);
    framed.ActivateAfter(0);
    Pump(300);
    ASSERT_EQ(::GetForegroundWindow(), framed.hwnd());
    const RECT outer = OuterRect(framed.hwnd());
    const RECT visible = VisibleFrameBounds(framed.hwnd());
    EXPECT_TRUE(::EqualRect(&visible, &outer)) << "no compositor here: the frame is the outer rectangle";

    ComPtr<IPicture> fromDesktop = CaptureActiveWindow();
    ComPtr<IPicture> fromWindow =
        CaptureWindowArea(framed.hwnd(), false, 0, 0, outer.right - outer.left, outer.bottom - outer.top);
    const Pixels desktopPixels = ReadPixels(BitmapOf(fromDesktop));
    const Pixels windowPixels = ReadPixels(BitmapOf(fromWindow));
    EXPECT_EQ(desktopPixels.width, outer.right - outer.left);
    EXPECT_EQ(desktopPixels.height, outer.bottom - outer.top);
    EXPECT_TRUE(desktopPixels.values == windowPixels.values);
    const RECT client = ClientOnScreen(framed.hwnd());
    EXPECT_EQ(PatternMismatches(desktopPixels, client.left - outer.left, client.top - outer.top,
                                client.right - client.left, client.bottom - client.top),
              0);
}

TEST_F(CaptureCommandsTest, PaletteDisplayCaptureCarriesTheSystemPalette) {
    if (!PaletteDisplay()) GTEST_SKIP() << "not a palette display";
    PatternWindow pattern(40, 120, 240, 168);
    PlaceForm(160, 180, 570, 460);
    PALETTEENTRY system[256] = {};
    {
        UniqueWindowDc screen = UniqueWindowDc::Client(nullptr);
        ASSERT_EQ(::GetDeviceCaps(screen.get(), SIZEPALETTE), 256);
        ::GetSystemPaletteEntries(screen.get(), 0, 256, system);
    }
    mnuScreen_Click(*form);

    HPALETTE palette = form->Doc().PicBmp.Palette();
    ASSERT_NE(palette, nullptr);
    PALETTEENTRY copy[256] = {};
    ASSERT_EQ(::GetPaletteEntries(palette, 0, 0, nullptr), 256u);
    ::GetPaletteEntries(palette, 0, 256, copy);
    int differ = 0;
    for (int i = 0; i < 256; ++i)
        differ += RGB(copy[i].peRed, copy[i].peGreen, copy[i].peBlue) != RGB(system[i].peRed, system[i].peGreen, system[i].peBlue);
    EXPECT_EQ(differ, 0);
    BITMAP info{};
    ::GetObjectW(form->Doc().PicBmp.Bitmap(), sizeof info, &info);
    EXPECT_EQ(info.bmBitsPixel, 8);
    const RECT p = ClientOnScreen(pattern.hwnd());
    EXPECT_EQ(PatternMismatches(ReadPicture(form->Doc().PicBmp), p.left, p.top, 240, 168), 0);
}

TEST_F(CaptureCommandsTest, TrueColourCaptureCarriesNoPalette) {
    if (PaletteDisplay()) GTEST_SKIP() << "a palette display";
    mnuTitleBar_Click(*form);
    EXPECT_NE(form->Doc().PicBmp.Bitmap(), nullptr);
    EXPECT_EQ(form->Doc().PicBmp.Palette(), nullptr);
}

}  // namespace
}  // namespace vx::test
