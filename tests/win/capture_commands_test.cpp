// The capture commands against a real screen: a window painted with a known pattern at
// a known place (on a thread of its own, so it repaints while the main thread waits),
// and the main window of the program.
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "capture/capture_area.h"
#include "capture/capture_procs.h"
#include "resources/resource.h"
#include "win_test_support.h"

#include <psapi.h>

namespace vx::test {
namespace {

// ---------------------------------------------------------------- pixels

struct Pixels {
    int width = 0, height = 0;
    std::vector<unsigned> values;  // 0x00RRGGBB, rows top down
    unsigned At(int x, int y) const { return values[static_cast<size_t>(y) * width + x] & 0xFFFFFF; }
};

Pixels ReadBitmap(HBITMAP bitmap, HPALETTE palette) {
    Pixels out;
    BITMAP info{};
    if (!bitmap || !::GetObjectW(bitmap, sizeof info, &info)) return out;
    out.width = info.bmWidth;
    out.height = info.bmHeight;
    out.values.resize(static_cast<size_t>(out.width) * out.height);
    UniqueWindowDc screen = UniqueWindowDc::Client(nullptr);
    UniqueCreatedDc memory(::CreateCompatibleDC(screen.get()));
    HPALETTE previous = palette ? ::SelectPalette(memory.get(), palette, FALSE) : nullptr;
    if (palette) ::RealizePalette(memory.get());
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = out.width;
    bi.bmiHeader.biHeight = -out.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    ::GetDIBits(memory.get(), bitmap, 0, static_cast<UINT>(out.height), out.values.data(), &bi, DIB_RGB_COLORS);
    if (previous) ::SelectPalette(memory.get(), previous, FALSE);
    return out;
}

Pixels ReadPicture(const PictureBox& box) { return ReadBitmap(box.Bitmap(), box.Palette()); }

Pixels ReadScreen(const RECT& r) {
    UniqueWindowDc screen = UniqueWindowDc::Client(nullptr);
    UniqueCreatedDc memory(::CreateCompatibleDC(screen.get()));
    UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), r.right - r.left, r.bottom - r.top));
    {
        SelectGuard select(memory.get(), bitmap.get());
        ::BitBlt(memory.get(), 0, 0, r.right - r.left, r.bottom - r.top, screen.get(), r.left, r.top, SRCCOPY);
    }
    return ReadBitmap(bitmap.get(), nullptr);
}

// ---------------------------------------------------------------- the pattern window

// Cells of plain colours (all in the static part of a 256-colour system palette), laid
// out so that no shift of the pattern matches itself.
constexpr int kCell = 12;
constexpr COLORREF kPlain[8] = {RGB(0, 0, 0),     RGB(255, 255, 255), RGB(255, 0, 0),   RGB(0, 255, 0),
                                RGB(0, 0, 255),   RGB(255, 255, 0),   RGB(0, 255, 255), RGB(255, 0, 255)};

unsigned PatternColor(int x, int y) {
    const int cx = x / kCell, cy = y / kCell;
    const COLORREF c = kPlain[(cx * cx + 3 * cy + cx * cy + (x % kCell == 0 ? 1 : 0)) % 8];
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// Mismatching pixels between a block of `picture` at (left, top) and the pattern.
int PatternMismatches(const Pixels& picture, int left, int top, int width, int height) {
    if (left < 0 || top < 0 || left + width > picture.width || top + height > picture.height) return width * height;
    int wrong = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) wrong += picture.At(left + x, top + y) != PatternColor(x, y);
    }
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
            std::vector<unsigned> bits(static_cast<size_t>(client.right) * client.bottom);
            for (int y = 0; y < client.bottom; ++y) {
                for (int x = 0; x < client.right; ++x) bits[static_cast<size_t>(y) * client.right + x] = PatternColor(x, y);
            }
            BITMAPINFO bi{};
            bi.bmiHeader.biSize = sizeof bi.bmiHeader;
            bi.bmiHeader.biWidth = client.right;
            bi.bmiHeader.biHeight = -client.bottom;
            bi.bmiHeader.biPlanes = 1;
            bi.bmiHeader.biBitCount = 32;
            bi.bmiHeader.biCompression = BI_RGB;
            ::SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(client.right), static_cast<DWORD>(client.bottom), 0, 0, 0,
                                static_cast<UINT>(client.bottom), bits.data(), &bi, DIB_RGB_COLORS);
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
        default:
            return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
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
    RECT Client() const {
        RECT r{};
        ::GetClientRect(hwnd_, &r);
        ::MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    // Brings it to the front from its own thread, while the main thread may be asleep.
    void ActivateAfter(int milliseconds) { ::PostMessageW(hwnd_, kActivateLater, static_cast<WPARAM>(milliseconds), 0); }

private:
    std::atomic<HWND> hwnd_{nullptr};
    std::thread thread_;
};

class CaptureCommandsTest : public MainWindowTest {
protected:
    void PlaceForm(int left, int top, int width, int height) {
        ::SetWindowPos(form->hwnd(), HWND_TOP, left, top, width, height, SWP_SHOWWINDOW);
        Pump(150);
    }
    RECT FormRect() const {
        RECT r{};
        ::GetWindowRect(form->hwnd(), &r);
        return r;
    }
    RECT ClientOnScreen() const {
        RECT r{};
        ::GetClientRect(form->hwnd(), &r);
        ::MapWindowPoints(form->hwnd(), nullptr, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
};

bool PaletteDisplay() {
    UniqueWindowDc screen = UniqueWindowDc::Client(nullptr);
    return (::GetDeviceCaps(screen.get(), RASTERCAPS) & RC_PALETTE) != 0;
}

// ---------------------------------------------------------------- whole screen

TEST_F(CaptureCommandsTest, WholeScreenShowsWhatTheMainWindowCovered) {
    PatternWindow pattern(40, 120, 240, 168);
    PlaceForm(160, 180, 570, 460);  // over the right part of the pattern
    const RECT p = pattern.Client();

    form->mnuScreen_Click();

    const Pixels shot = ReadPicture(form->PicBmp);
    EXPECT_EQ(shot.width, ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(shot.height, ::GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(PatternMismatches(shot, p.left, p.top, 240, 168), 0) << "the main window is in the capture";
    EXPECT_TRUE(form->ImageUnsaved);
    EXPECT_TRUE(::IsWindowVisible(form->hwnd()));
    EXPECT_EQ(::GetFocus(), form->hwnd());
    EXPECT_EQ(form->WindowState(), 0);
}

// ---------------------------------------------------------------- own window and client area

TEST_F(CaptureCommandsTest, ClientAndWindowCapturesStartAtTheirTopLeftPixel) {
    PlaceForm(120, 90, 600, 480);
    // What the screen shows of the window just before each command.
    const RECT client = ClientOnScreen();
    const Pixels clientBefore = ReadScreen(client);
    form->mnuClient_Click();
    const Pixels clientShot = ReadPicture(form->PicBmp);
    EXPECT_EQ(clientShot.width, client.right - client.left);
    EXPECT_EQ(clientShot.height, client.bottom - client.top);
    EXPECT_TRUE(clientShot.values == clientBefore.values) << "client capture differs from the screen";
    EXPECT_TRUE(form->ImageUnsaved);

    form->ImageUnsaved = false;
    Pump(150);  // the view now shows the first capture
    const RECT outer = FormRect();
    const Pixels windowBefore = ReadScreen(outer);
    form->Toolbar1_ButtonClick(9);  // the toolbar runs the same command
    const Pixels windowShot = ReadPicture(form->PicBmp);
    EXPECT_EQ(windowShot.width, outer.right - outer.left);
    EXPECT_EQ(windowShot.height, outer.bottom - outer.top);
    EXPECT_TRUE(windowShot.values == windowBefore.values) << "window capture differs from the screen";
    EXPECT_TRUE(form->ImageUnsaved);
}

// ---------------------------------------------------------------- delayed active window

TEST_F(CaptureCommandsTest, DelayedCaptureTakesTheWindowBroughtToFront) {
    ScriptedDialogs dialogs;
    dialogs.boxAnswers = {IDOK};
    PatternWindow pattern(300, 200, 300, 204);
    form->SetWindowState(2);
    Pump(150);
    ASSERT_EQ(form->WindowState(), 2);

    pattern.ActivateAfter(400);  // the user picks another window during the wait
    const auto start = std::chrono::steady_clock::now();
    form->mnuAtiveWindow_Click();
    const auto waited = std::chrono::steady_clock::now() - start;

    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, L"单击'确定'两秒钟之后程序会捕捉处于活动状态的窗口。单击'取消'退出捕获。");
    EXPECT_EQ(dialogs.boxes[0].title, L"Vellumox v1.0");
    EXPECT_EQ(dialogs.boxes[0].style, 65u);
    EXPECT_GE(waited, std::chrono::milliseconds(2000));
    const Pixels shot = ReadPicture(form->PicBmp);
    EXPECT_EQ(shot.width, 300);
    EXPECT_EQ(shot.height, 204);
    EXPECT_EQ(PatternMismatches(shot, 0, 0, 300, 204), 0);
    EXPECT_TRUE(form->ImageUnsaved);
    Pump(100);
    EXPECT_EQ(form->WindowState(), 0) << "not back in the normal state";
}

TEST_F(CaptureCommandsTest, DelayedCaptureCancelChangesNothing) {
    ScriptedDialogs dialogs;  // answers Cancel
    form->mnuClient_Click();
    form->ImageUnsaved = false;
    IPicture* before = form->PicBmp.Picture.get();

    const auto start = std::chrono::steady_clock::now();
    form->mnuAtiveWindow_Click();

    EXPECT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
    EXPECT_EQ(form->PicBmp.Picture.get(), before);
    EXPECT_FALSE(form->ImageUnsaved);
    EXPECT_EQ(form->WindowState(), 0);
}

TEST_F(CaptureCommandsTest, ActiveWindowFromTheDesktopEqualsItsOwnSurface) {
    PatternWindow framed(200, 150, 320, 240, WS_OVERLAPPEDWINDOW);
    framed.ActivateAfter(0);
    Pump(300);
    ASSERT_EQ(::GetForegroundWindow(), framed.hwnd());
    RECT outer{};
    ::GetWindowRect(framed.hwnd(), &outer);
    const RECT visible = VisibleFrameBounds(framed.hwnd());
    EXPECT_TRUE(::EqualRect(&visible, &outer)) << "no compositor here: the frame is the outer rectangle";

    ComPtr<IPicture> fromDesktop = CaptureActiveWindow();
    ComPtr<IPicture> fromWindow =
        CaptureWindowArea(framed.hwnd(), false, 0, 0, outer.right - outer.left, outer.bottom - outer.top);
    PictureBox a, b;
    a.SetPicture(fromDesktop, 15, 15);
    b.SetPicture(fromWindow, 15, 15);
    const Pixels desktopPixels = ReadPicture(a);
    const Pixels windowPixels = ReadPicture(b);
    EXPECT_EQ(desktopPixels.width, outer.right - outer.left);
    EXPECT_EQ(desktopPixels.height, outer.bottom - outer.top);
    EXPECT_TRUE(desktopPixels.values == windowPixels.values);
    const RECT client = framed.Client();
    EXPECT_EQ(PatternMismatches(desktopPixels, client.left - outer.left, client.top - outer.top,
                                client.right - client.left, client.bottom - client.top),
              0);
}

// ---------------------------------------------------------------- palette display

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
    form->mnuScreen_Click();

    HPALETTE palette = form->PicBmp.Palette();
    ASSERT_NE(palette, nullptr);
    PALETTEENTRY copy[256] = {};
    ASSERT_EQ(::GetPaletteEntries(palette, 0, 256, copy), 256u);
    EXPECT_EQ(::GetPaletteEntries(palette, 0, 0, nullptr), 256u);
    int differ = 0;
    for (int i = 0; i < 256; ++i) {
        differ += copy[i].peRed != system[i].peRed || copy[i].peGreen != system[i].peGreen ||
                  copy[i].peBlue != system[i].peBlue;
    }
    EXPECT_EQ(differ, 0);
    BITMAP info{};
    ::GetObjectW(form->PicBmp.Bitmap(), sizeof info, &info);
    EXPECT_EQ(info.bmBitsPixel, 8);
    const RECT p = pattern.Client();
    EXPECT_EQ(PatternMismatches(ReadPicture(form->PicBmp), p.left, p.top, 240, 168), 0);
}

TEST_F(CaptureCommandsTest, TrueColourCaptureCarriesNoPalette) {
    if (PaletteDisplay()) GTEST_SKIP() << "a palette display";
    form->mnuTitleBar_Click();
    EXPECT_NE(form->PicBmp.Bitmap(), nullptr);
    EXPECT_EQ(form->PicBmp.Palette(), nullptr);
}

// ---------------------------------------------------------------- DPI

TEST_F(CaptureCommandsTest, CapturesKeepPhysicalPixelSizesAtAnyDpi) {
    int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
    // The session script says how large the X screen really is.
    if (const char* expected = std::getenv("VX_EXPECT_SCREEN")) std::sscanf(expected, "%dx%d", &width, &height);
    {
        UniqueWindowDc screen = UniqueWindowDc::Client(nullptr);
        std::printf("DPI %d\n", ::GetDeviceCaps(screen.get(), LOGPIXELSX));
    }
    PlaceForm(50, 40, 611, 457);
    form->mnuScreen_Click();
    EXPECT_EQ(form->PicBmp.PixelWidth(), width);
    EXPECT_EQ(form->PicBmp.PixelHeight(), height);
    EXPECT_DOUBLE_EQ(form->PicBmp.Width, width * form->TwipsPerPixelX());

    const RECT outer = FormRect();
    form->mnuTitleBar_Click();
    EXPECT_EQ(form->PicBmp.PixelWidth(), outer.right - outer.left);
    EXPECT_EQ(form->PicBmp.PixelHeight(), outer.bottom - outer.top);

    const RECT client = ClientOnScreen();
    form->mnuClient_Click();
    EXPECT_EQ(form->PicBmp.PixelWidth(), client.right - client.left);
    EXPECT_EQ(form->PicBmp.PixelHeight(), client.bottom - client.top);
}

// ---------------------------------------------------------------- soak

}  // namespace
}  // namespace vx::test
