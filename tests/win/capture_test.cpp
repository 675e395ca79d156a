// The capture primitive and the capture commands against a real screen: a window
// painted with a known pattern at a known place (on a thread of its own, so it repaints
// while the main thread waits), and the main window of the program.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "commands/picture_io_win.h"
#include "win_test_support.h"

namespace vx::test {
namespace {

// Releasing the picture frees its bitmap and palette (the standard picture object
// alone leaves the palette behind); a capture leaves only its new bitmap.
TEST(CaptureArea, PicturesFreeTheirBitmapAndPaletteAndCapturesLeaveNothingElse) {
    struct { WORD version, count; PALETTEENTRY entries[2]; } logical{0x300, 2, {{1, 2, 3, 0}, {4, 5, 6, 0}}};
    HPALETTE palette = ::CreatePalette(reinterpret_cast<LOGPALETTE*>(&logical));
    HBITMAP bitmap = ::CreateCompatibleBitmap(UniqueWindowDc::Client(nullptr).get(), 8, 8);
    ComPtr<IPicture> picture = CreatePictureFromBitmap(UniqueBitmap(bitmap), UniquePalette(palette));
    // The standard object behind the front (reached through another interface) may
    // outlive it: it must not be left naming the palette the front has freed, a value
    // the next palette of the program may get.
    ComPtr<IPicture> inner = picture.As<IDispatch>(IID_IDispatch).As<IPicture>(IID_IPicture);
    PictureBox box;
    box.SetPicture(picture, 15, 15);
    EXPECT_EQ(box.Palette(), palette);  // answered by the palette's one owner
    picture.reset();
    box.SetPicture(nullptr, 15, 15);
    OLE_HANDLE held = 1;
    ASSERT_EQ(inner->get_hPal(&held), S_OK);
    EXPECT_EQ(held, 0u) << "the palette the front freed";
    inner.reset();
    EXPECT_EQ(std::tuple(::GetObjectType(bitmap), ::GetObjectType(palette)), std::tuple(0u, 0u)) << "bitmap, palette alive";

    auto counts = [] { return std::vector{CountGdiObjects(OBJ_BITMAP), CountGdiObjects(OBJ_MEMDC), CountGdiObjects(OBJ_PAL)}; };
    const std::vector<int> before = counts();
    picture = CaptureWindowArea(::GetDesktopWindow(), false, 5, 7, 64, 48);
    const int palettes = ::GetDeviceCaps(UniqueWindowDc::Client(nullptr).get(), RASTERCAPS) & RC_PALETTE ? 1 : 0;
    EXPECT_EQ(counts(), std::vector({before[0] + 1, before[1], before[2] + palettes}));  // and its palette
    picture.reset();
    EXPECT_EQ(counts(), before) << "bitmaps, memory contexts, palettes";
}

// Cells of plain colours (all in the static part of a 256-colour system palette), laid
// out so that no shift of the pattern matches itself.
std::uint32_t PatternColor(int x, int y) {
    static const std::uint32_t plain[8] = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF, 0xFF00FF};
    const int cx = x / 12, cy = y / 12;
    return plain[(cx * cx + 3 * cy + cx * cy + (x % 12 == 0)) % 8];
}

// Whether the block of `picture` at (left, top) shows the pattern.
bool ShowsPattern(const Pixels& picture, int left, int top, int width, int height) {
    for (int i = 0; i < width * height; ++i)
        if (picture.At(left + i % width, top + i / width) != PatternColor(i % width, i / width)) return false;
    return true;
}

// The pattern in a borderless window at a known place (a static control showing it),
// run by a thread of its own; with `activateAfter`, that thread brings it to the front
// so many milliseconds after it appears, while the main thread may be asleep.
struct PatternWindow {
    PatternWindow(int left, int top, int width, int height, UINT activateAfter = 0) {
        thread = std::thread([=] {
            HWND w = ::CreateWindowExW(0, L"STATIC", L"Pattern", WS_POPUP | SS_BITMAP | SS_REALSIZECONTROL, left, top, width,
                                       height, nullptr, nullptr, nullptr, nullptr);
            const ComPtr<IPicture> picture = PictureOf(width, height, PatternColor);
            ::SendMessageW(w, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(BitmapOf(picture)));
            ::ShowWindow(w, SW_SHOWNOACTIVATE);
            ::UpdateWindow(w);
            if (activateAfter)
                ::SetTimer(w, 1, activateAfter, [](HWND h, UINT, UINT_PTR id, DWORD) { ::KillTimer(h, id), ::SetForegroundWindow(h); });
            hwnd = w;
            for (MSG msg; ::GetMessageW(&msg, nullptr, 0, 0) > 0;) ::DispatchMessageW(&msg);
            ::DestroyWindow(w);
        });
        // Up, and its surface on the screen.
        const RECT r{left, top, left + width, top + height};
        PumpUntil([this, r] { return hwnd && ShowsPattern(ReadScreen(r), 0, 0, r.right - r.left, r.bottom - r.top); });
    }
    ~PatternWindow() {
        ::PostThreadMessageW(::GetWindowThreadProcessId(hwnd, nullptr), WM_QUIT, 0, 0);
        thread.join();
    }
    std::atomic<HWND> hwnd{nullptr};  // once it is on the screen
    std::thread thread;
};

using CaptureCommandsTest = MainWindowTest;
Pixels Shot(const FrmMain& form) { return ReadPixels(form.Doc().PicBmp.Bitmap(), form.Doc().PicBmp.Palette()); }

TEST_F(CaptureCommandsTest, WholeScreenShowsWhatTheMainWindowCovered) {
    PatternWindow pattern(40, 120, 240, 168);
    ::SetWindowPos(form->hwnd(), HWND_TOP, 160, 180, 570, 460, SWP_SHOWWINDOW);  // over the pattern's right part
    // On the screen over it (a window manager may keep it below: then not for long).
    PumpUntil([] { return !ShowsPattern(ReadScreen({40, 120, 280, 288}), 0, 0, 240, 168); }, 2000);
    mnuScreen_Click(*form);
    // The primary display in physical pixels, whatever the DPI (the 144-DPI session
    // says how large its X screen really is).
    int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
    if (const char* expected = std::getenv("VX_EXPECT_SCREEN")) std::sscanf(expected, "%dx%d", &width, &height);
    const Pixels shot = Shot(*form);
    ASSERT_EQ(std::pair(shot.width, shot.height), std::pair(width, height));
    EXPECT_TRUE(ShowsPattern(shot, 40, 120, 240, 168)) << "the main window is in the capture";
    EXPECT_EQ(std::tuple(form->Doc().ImageUnsaved, bool(::IsWindowVisible(form->hwnd())), ::GetFocus() == form->hwnd(),
                         form->GetWindowState()), std::tuple(true, true, true, WindowState::Normal));
}

// Each capture equals what the screen showed of its rectangle just before; the window
// capture runs from its toolbar button.
TEST_F(CaptureCommandsTest, ClientAndWindowCapturesStartAtTheirTopLeftPixel) {
    ::SetWindowPos(form->hwnd(), HWND_TOP, 120, 90, 600, 480, SWP_SHOWWINDOW);
    PumpUntil(Settled);
    for (bool client : {true, false}) {
        RECT r{};
        client ? ::GetClientRect(form->hwnd(), &r) : ::GetWindowRect(form->hwnd(), &r);
        if (client) ::MapWindowPoints(form->hwnd(), nullptr, reinterpret_cast<POINT*>(&r), 2);
        const Pixels before = ReadScreen(r);
        client ? mnuClient_Click(*form) : form->Toolbar1_ButtonClick(9);
        const Pixels shot = Shot(*form);
        EXPECT_EQ(std::tuple(shot.width, shot.values == before.values), std::tuple(before.width, true)) << client;
        PumpUntil(Settled);  // the view shows the capture before the next one
    }
}

// The user picks another window during the wait, from a maximised main window that
// comes back normal. (Cancelled, nothing changes: the Print Screen keys' test.)
TEST_F(CaptureCommandsTest, DelayedCaptureTakesTheWindowBroughtToFront) {
    ScriptedDialogs dialogs;
    dialogs.boxAnswers = {IDOK};
    form->SetWindowState(WindowState::Maximized);
    PatternWindow pattern(300, 200, 300, 204, 550);
    const DWORD start = ::GetTickCount();
    mnuAtiveWindow_Click(*form);
    EXPECT_GE(::GetTickCount() - start, 1990u);
    const Pixels shot = Shot(*form);
    ASSERT_EQ(std::tuple(shot.width, shot.height), std::tuple(300, 204));
    EXPECT_TRUE(ShowsPattern(shot, 0, 0, 300, 204));
    PumpUntil(Settled);
    EXPECT_EQ(std::tuple(dialogs.boxes.size(), form->Doc().ImageUnsaved, form->GetWindowState()),
              std::tuple(1u, true, WindowState::Normal));
}

// On a palette display the capture carries a copy of the system palette and 8-bit
// pixels, and is written at 8 bits, reading back the same; in true colour it carries no
// palette (and the rest is skipped: the 8-bit screen's script fails on a skip).
TEST_F(CaptureCommandsTest, PaletteDisplayCaptureCarriesTheSystemPalette) {
    PALETTEENTRY system[256] = {}, copy[256] = {};
    UniqueWindowDc screen = UniqueWindowDc::Client(nullptr);
    ::GetSystemPaletteEntries(screen.get(), 0, 256, system);
    mnuScreen_Click(*form);
    const HPALETTE palette = form->Doc().PicBmp.Palette();
    ASSERT_EQ(palette != nullptr, bool(::GetDeviceCaps(screen.get(), RASTERCAPS) & RC_PALETTE));
    if (!palette) GTEST_SKIP() << "not a palette display";
    ASSERT_EQ(::GetPaletteEntries(palette, 0, 256, copy), 256u);
    for (int i = 0; i < 256; ++i) system[i].peFlags = copy[i].peFlags = 0;  // the colours only
    BITMAP info{};
    EXPECT_EQ(memcmp(system, copy, sizeof system), 0) << "not the system palette";
    ASSERT_TRUE(::GetObjectW(form->Doc().PicBmp.Bitmap(), sizeof info, &info));
    EXPECT_EQ(info.bmBitsPixel, 8);
    TempDir dir;
    ASSERT_TRUE(SavePictureFile(form->Doc().PicBmp.Bitmap(), palette, dir.File(L"8.bmp"), PictureFileFormat::Bmp).ok());
    EXPECT_EQ(ReadFileBytes(dir.File(L"8.bmp")).size(), 54 + 1024 + (info.bmWidth + 3) / 4 * 4 * size_t(info.bmHeight));
    EXPECT_EQ(ReadPixels(BitmapOf(LoadPictureFile(dir.File(L"8.bmp")).value), palette).values, Shot(*form).values);
}

}  // namespace
}  // namespace vx::test
