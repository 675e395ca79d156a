// The capture primitive and the capture commands against a real screen: a window
// painted with a known pattern at a known place (on a thread of its own, so it repaints
// while the main thread waits), and the main window of the program.
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "win_test_support.h"

namespace vx::test {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

// Releasing the picture frees its bitmap and palette (the standard picture object
// alone leaves the palette behind); a capture leaves only its new bitmap.
TEST(CaptureArea, PicturesFreeTheirBitmapAndPaletteAndCapturesLeaveNothingElse) {
    UniqueWindowDc screen = UniqueWindowDc::Client(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen.get(), 8, 8);
    struct { WORD version, count; PALETTEENTRY entries[2]; } logical{0x300, 2, {{1, 2, 3, 0}, {4, 5, 6, 0}}};
    HPALETTE palette = ::CreatePalette(reinterpret_cast<LOGPALETTE*>(&logical));
    ASSERT_TRUE(bitmap && palette);
    ComPtr<IPicture> picture = CreatePictureFromBitmap(UniqueBitmap(bitmap), UniquePalette(palette));
    PictureBox box;
    box.SetPicture(picture, 15, 15);
    EXPECT_EQ(box.Bitmap(), bitmap);
    EXPECT_EQ(box.Palette(), palette);
    EXPECT_TRUE(picture.As<IPictureDisp>(IID_IPictureDisp));  // the standard picture's other faces stay
    picture.reset();
    box.SetPicture(nullptr, 15, 15);
    EXPECT_EQ(::GetObjectType(bitmap), 0u) << "bitmap still alive";
    EXPECT_EQ(::GetObjectType(palette), 0u) << "palette still alive";

    const int bitmaps = CountGdiObjects(OBJ_BITMAP), memoryDcs = CountGdiObjects(OBJ_MEMDC);
    const int palettes = CountGdiObjects(OBJ_PAL);
    picture = CaptureWindowArea(::GetDesktopWindow(), false, 5, 7, 64, 48);
    ASSERT_TRUE(picture);
    EXPECT_EQ(CountGdiObjects(OBJ_BITMAP), bitmaps + 1);
    EXPECT_EQ(CountGdiObjects(OBJ_MEMDC), memoryDcs);
    picture.reset();
    EXPECT_EQ(CountGdiObjects(OBJ_BITMAP), bitmaps);
    EXPECT_EQ(CountGdiObjects(OBJ_PAL), palettes);
}

// Cells of plain colours (all in the static part of a 256-colour system palette), laid
// out so that no shift of the pattern matches itself.
constexpr int kCell = 12;
std::uint32_t PatternColor(int x, int y) {
    static const std::uint32_t plain[8] = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00,
                                           0x0000FF, 0xFFFF00, 0x00FFFF, 0xFF00FF};
    const int cx = x / kCell, cy = y / kCell;
    return plain[(cx * cx + 3 * cy + cx * cy + (x % kCell == 0 ? 1 : 0)) % 8];
}

// Mismatching pixels between a block of `picture` at (left, top) and the pattern.
int PatternMismatches(const Pixels& picture, int left, int top, int width, int height) {
    if (left < 0 || top < 0 || left + width > picture.width || top + height > picture.height) return width * height;
    int wrong = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) wrong += picture.At(left + x, top + y) != PatternColor(x, y);
    return wrong;
}

// The pattern in a window at a known place (a static control showing it at the size of
// its client area), run by a thread of its own.
class PatternWindow {
public:
    PatternWindow(int left, int top, int width, int height, DWORD style = WS_POPUP) {
        HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([=] {
            threadId_ = ::GetCurrentThreadId();
            hwnd_ = ::CreateWindowExW(0, L"STATIC", L"Pattern", style | SS_BITMAP | SS_REALSIZECONTROL, left, top, width,
                                      height, nullptr, nullptr, nullptr, nullptr);
            RECT client{};
            ::GetClientRect(hwnd_, &client);
            picture_ = PictureOf(client.right, client.bottom, PatternColor);
            ::SendMessageW(hwnd_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(BitmapOf(picture_)));
            ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
            ::UpdateWindow(hwnd_);
            ::SetEvent(ready);
            MSG msg;
            while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
                if (msg.message == WM_APP) {
                    ::Sleep(static_cast<DWORD>(msg.wParam));
                    ::SetForegroundWindow(hwnd_);
                }
                ::DispatchMessageW(&msg);
            }
        });
        ::WaitForSingleObject(ready, 10000);
        ::CloseHandle(ready);
        Pump(150);  // let its surface reach the screen
    }
    ~PatternWindow() {
        ::PostMessageW(hwnd_, WM_CLOSE, 0, 0);
        ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
        Pump();
    }
    HWND hwnd() const { return hwnd_; }
    // Brings it to the front from its own thread, while the main thread may be asleep.
    void ActivateAfter(int ms) { ::PostThreadMessageW(threadId_, WM_APP, static_cast<WPARAM>(ms), 0); }

private:
    ComPtr<IPicture> picture_;
    std::atomic<HWND> hwnd_{nullptr};
    std::atomic<DWORD> threadId_{0};
    std::thread thread_;
};

// A window's client area or whole window in screen pixels.
RECT OnScreen(HWND hwnd, bool client) {
    RECT r{};
    client ? ::GetClientRect(hwnd, &r) : ::GetWindowRect(hwnd, &r);
    if (client) ::MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class CaptureCommandsTest : public MainWindowTest {
protected:
    void PlaceForm(int left, int top, int width, int height) {
        ::SetWindowPos(form->hwnd(), HWND_TOP, left, top, width, height, SWP_SHOWWINDOW);
        Pump(150);
    }
    Pixels Shot() const { return ReadPixels(form->Doc().PicBmp.Bitmap(), form->Doc().PicBmp.Palette()); }
};

TEST_F(CaptureCommandsTest, WholeScreenShowsWhatTheMainWindowCovered) {
    PatternWindow pattern(40, 120, 240, 168);
    PlaceForm(160, 180, 570, 460);  // over the right part of the pattern
    const RECT p = OnScreen(pattern.hwnd(), true);
    mnuScreen_Click(*form);
    // The primary display in physical pixels, whatever the DPI (the 144-DPI session
    // says how large its X screen really is).
    int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
    if (const char* expected = std::getenv("VX_EXPECT_SCREEN")) std::sscanf(expected, "%dx%d", &width, &height);
    const Pixels shot = Shot();
    EXPECT_EQ(std::pair(shot.width, shot.height), std::pair(width, height));
    EXPECT_DOUBLE_EQ(form->Doc().PicBmp.Width, width * form->TwipsPerPixelX());
    EXPECT_EQ(PatternMismatches(shot, p.left, p.top, 240, 168), 0) << "the main window is in the capture";
    EXPECT_TRUE(form->Doc().ImageUnsaved);
    EXPECT_TRUE(::IsWindowVisible(form->hwnd()));
    EXPECT_EQ(::GetFocus(), form->hwnd());
    EXPECT_EQ(form->GetWindowState(), WindowState::Normal);
}

TEST_F(CaptureCommandsTest, ClientAndWindowCapturesStartAtTheirTopLeftPixel) {
    PlaceForm(120, 90, 600, 480);
    // Each capture equals what the screen showed of its rectangle just before; the
    // window capture runs from its toolbar button.
    for (bool client : {true, false}) {
        const RECT r = OnScreen(form->hwnd(), client);
        const Pixels before = ReadScreen(r);
        form->Doc().ImageUnsaved = false;
        client ? mnuClient_Click(*form) : form->Toolbar1_ButtonClick(9);
        const Pixels shot = Shot();
        EXPECT_EQ(std::pair(shot.width, shot.height), std::pair(before.width, before.height)) << client;
        EXPECT_TRUE(shot.values == before.values) << client;
        EXPECT_TRUE(form->Doc().ImageUnsaved);
        Pump(150);  // the view shows the capture before the next one
    }
}

TEST_F(CaptureCommandsTest, DelayedCaptureCancelsOrTakesTheWindowBroughtToFront) {
    ScriptedDialogs dialogs;  // the first question is cancelled: nothing changes, no wait
    PatternWindow pattern(300, 200, 300, 204);
    mnuClient_Click(*form);
    form->Doc().ImageUnsaved = false;
    IPicture* before = form->Doc().PicBmp.Picture.get();
    auto start = Clock::now();
    mnuAtiveWindow_Click(*form);
    EXPECT_LT(Clock::now() - start, milliseconds(1000));
    EXPECT_EQ(form->Doc().PicBmp.Picture.get(), before);
    EXPECT_FALSE(form->Doc().ImageUnsaved);

    dialogs.boxAnswers = {IDOK};
    form->SetWindowState(WindowState::Maximized);
    Pump(150);
    pattern.ActivateAfter(400);  // the user picks another window during the wait
    start = Clock::now();
    mnuAtiveWindow_Click(*form);
    EXPECT_GE(Clock::now() - start, milliseconds(2000));
    EXPECT_EQ(dialogs.boxes.size(), 2u);
    const Pixels shot = Shot();
    EXPECT_EQ(std::pair(shot.width, shot.height), std::pair(300, 204));
    EXPECT_EQ(PatternMismatches(shot, 0, 0, 300, 204), 0);
    EXPECT_TRUE(form->Doc().ImageUnsaved);
    Pump(100);
    EXPECT_EQ(form->GetWindowState(), WindowState::Normal) << "not back in the normal state";
}

// On a palette display the capture carries a copy of the system palette and 8-bit
// pixels; in true colour it carries no palette.
TEST_F(CaptureCommandsTest, PaletteDisplayCaptureCarriesTheSystemPalette) {
    PALETTEENTRY system[256] = {}, copy[256] = {};
    UniqueWindowDc screen = UniqueWindowDc::Client(nullptr);
    const bool paletteDisplay = ::GetDeviceCaps(screen.get(), RASTERCAPS) & RC_PALETTE;
    ASSERT_TRUE(!paletteDisplay || ::GetDeviceCaps(screen.get(), SIZEPALETTE) == 256);
    ::GetSystemPaletteEntries(screen.get(), 0, 256, system);
    mnuScreen_Click(*form);
    HPALETTE palette = form->Doc().PicBmp.Palette();
    ASSERT_EQ(palette != nullptr, paletteDisplay);
    if (!paletteDisplay) return;
    ASSERT_EQ(::GetPaletteEntries(palette, 0, 256, copy), 256u);
    int differ = 0;
    for (int i = 0; i < 256; ++i)
        differ += RGB(copy[i].peRed, copy[i].peGreen, copy[i].peBlue) != RGB(system[i].peRed, system[i].peGreen, system[i].peBlue);
    EXPECT_EQ(differ, 0);
    BITMAP info{};
    EXPECT_TRUE(::GetObjectW(form->Doc().PicBmp.Bitmap(), sizeof info, &info) && info.bmBitsPixel == 8);
}

}  // namespace
}  // namespace vx::test
