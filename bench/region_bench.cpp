// The free-region selection's costs: one erase-plus-draw of the band (each mouse
// move costs that) and arming (the frozen screen copied, shown and painted), against a
// bare full-screen BitBlt measured in the same run.
#include <cstdlib>
#include <algorithm>

#include "bench.h"
#include "capture/selection_band_win.h"
#include "capture/pick_decor_win.h"
#include "capture/frozen_screen_win.h"
#include "platform/geometry_win.h"
#include "capture/window_snapshot_win.h"
#include "main_window/frm_main.h"

namespace vx::bench {
namespace {

// A full-screen BitBlt into a bitmap that was used before (the strict baseline), or
// into a new one, as any copy of a new frame must make (under Wine most of that cost
// is the new bitmap's first touch).
struct BareScreenBlt {
    BareScreenBlt(int w, int h, bool fresh)
        : width(w), height(h), newBitmap(fresh), kept(::CreateCompatibleBitmap(display.get(), w, h)) {}
    void operator()() {
        UniqueBitmap fresh(newBitmap ? ::CreateCompatibleBitmap(display.get(), width, height) : nullptr);
        SelectGuard select(memory.get(), newBitmap ? fresh.get() : kept.get());
        ::BitBlt(memory.get(), 0, 0, width, height, display.get(), 0, 0, SRCCOPY);
        ::GdiFlush();
    }
    int width, height;
    bool newBitmap;
    UniqueCreatedDc display = DisplayDc();
    UniqueCreatedDc memory{::CreateCompatibleDC(display.get())};
    UniqueBitmap kept;
};

std::vector<Figure> Band(const Context& c) {
    UniqueCreatedDc display = DisplayDc();
    Rect rect{100, 100, 1100, 700};
    Figure f{"band erase+draw 1000x600 with label", 0, 0, 0.1};
    BareScreenBlt blt(1920, 1080, false);
    MeasurePairs(f, c.repetitions * 4, [&] {
        DrawSelectionBand(display.get(), rect);  // erase the last one
        ++rect.right;
        DrawSelectionBand(display.get(), rect);
        // Drawing on the display may only be queued: a read waits until it is done.
        ::GetPixel(display.get(), rect.left, rect.top);
    }, std::ref(blt));
    DrawSelectionBand(display.get(), rect);
    f.baselineName = "BitBlt of the screen at 1920x1080, kept bitmap";
    return {f};
}

// The frozen screen alone, as arming shows it.
struct FrozenOnly final : OverlayEvents {
    void OnOverlayPress(int, POINT) override {}
    void OnOverlayRelease(int) override {}
    void OnOverlayCancel() override {}
    void OnOverlayGone() override {}
};

std::vector<Figure> Arming(const Context& c) {
    FrmMain form;  // as when the program arms: its window exists
    form.Create(::GetModuleHandleW(nullptr));
    FrozenOnly events;
    FrozenScreen frozen(&events);
    Figure f{"arming: screen copy + frozen popup painted", 0, 0, 2.5};
    const UniqueCreatedDc display = DisplayDc();
    const Rect screen = VirtualScreenRect();
    BareScreenBlt blt(screen.Width(), screen.Height(), true);
    MeasurePairs(f, c.repetitions, [&] {
        frozen.Show();
        ::GetPixel(display.get(), 0, 0);  // waits until the popup is on the screen
    }, std::ref(blt), [&] {
        // The screen at rest, as a person arms it: the windows the popup covered have
        // repainted (under X they do so in the server, which the next copy would wait for).
        frozen.Hide();
        for (MSG m; ::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);) ::DispatchMessageW(&m);
        ::Sleep(150);
    });
    f.baselineName = "CreateCompatibleBitmap+BitBlt of the screen";
    if (!std::getenv("VX_BENCH_DETAIL")) return {f};
    // Where arming's time goes, step by step, in a plain popup of the screen's size: the
    // copy of the screen (the baseline), showing the popup, and painting the copy into it
    // until the screen shows it.
    frozen.Hide();
    const int w = screen.Width(), h = screen.Height();
    HWND popup = ::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP, screen.left, screen.top, w, h, nullptr,
                                   nullptr, nullptr, nullptr);
    UniqueCreatedDc memory(::CreateCompatibleDC(display.get()));
    UniqueBitmap copy(::CreateCompatibleBitmap(display.get(), w, h));
    SelectGuard select(memory.get(), copy.get());
    ::BitBlt(memory.get(), 0, 0, w, h, display.get(), 0, 0, SRCCOPY);
    auto rest = [&] {
        ::ShowWindow(popup, SW_HIDE);
        for (MSG m; ::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);) ::DispatchMessageW(&m);
        ::Sleep(150);
    };
    Figure show{"detail: show a full-screen popup", 0, 0, 0, "ms", "copy of the screen"};
    MeasurePairs(show, c.repetitions, [&] {
        ::SetWindowPos(popup, HWND_TOPMOST, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
        ::ValidateRect(popup, nullptr);
        ::GdiFlush();
    }, std::ref(blt), rest);
    Figure paint{"detail: paint the copy into it, on the screen", 0, 0, 0, "ms", "copy of the screen"};
    MeasurePairs(paint, c.repetitions, [&] {
        {
            const UniqueWindowDc dc = UniqueWindowDc::Client(popup);
            ::BitBlt(dc.get(), 0, 0, w, h, memory.get(), 0, 0, SRCCOPY);
        }
        ::GdiFlush();
        ::GetPixel(display.get(), 0, 0);
    }, std::ref(blt), [&] {
        rest();
        ::SetWindowPos(popup, HWND_TOPMOST, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
        ::ValidateRect(popup, nullptr);
    });
    ::DestroyWindow(popup);
    return {f, show, paint};
}

// One mouse move while armed: the outline (here alternating between two windows, as
// when the pointer crosses from one to the other) and the loupe drawn again.
std::vector<Figure> PickMove(const Context& c) {
    FrozenOnly events;
    FrozenScreen frozen(&events);
    WindowSnapshot windows;
    windows.Take(nullptr);
    frozen.Show();
    PickDecor decor;
    decor.Begin(frozen.Memory(), frozen.Screen(), windows.Monitors(), frozen.Window(), 96);
    const UniqueWindowDc dc = UniqueWindowDc::Client(frozen.Window());
    int step = 0;
    Figure f{"pick: one move, outline + loupe drawn again", 0, 0, 0.1};
    BareScreenBlt blt(1920, 1080, false);
    MeasurePairs(f, c.repetitions * 4, [&] {
        ++step;
        decor.Show(step % 2 ? Rect{100, 100, 900, 700} : Rect{200, 150, 700, 500}, {400 + step % 50, 300});
        ::GetPixel(dc.get(), 0, 0);  // drawing may only be queued: a read waits for it
    }, std::ref(blt));
    decor.End();
    frozen.Hide();
    f.baselineName = "BitBlt of the screen at 1920x1080, kept bitmap";
    return {f};
}

// Arming as it is now (the window list taken, the frozen screen shown, the outline
// and the loupe drawn) against arming without the window list, outline and loupe.
std::vector<Figure> ArmingWithWindows(const Context& c) {
    FrmMain form;
    form.Create(::GetModuleHandleW(nullptr));
    FrozenOnly events;
    FrozenScreen frozen(&events);
    WindowSnapshot windows;
    PickDecor decor;
    const UniqueCreatedDc display = DisplayDc();
    const auto rest = [&] {
        decor.End();
        frozen.Hide();
        for (MSG m; ::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);) ::DispatchMessageW(&m);
        ::Sleep(150);
    };
    Figure f{"arming with the window list, outline and loupe", 0, 0, 1.1};
    // The two in turn, so that the machine's swings fall on both alike.
    std::vector<double> with, without;
    for (int i = 0; i < c.repetitions; ++i) {
        with.push_back(MedianMs(1, [&] {
            windows.Take(frozen.Window());
            frozen.Show();
            decor.Begin(frozen.Memory(), frozen.Screen(), windows.Monitors(), frozen.Window(), 96);
            decor.Show(windows.At({400, 300}).rect, {400, 300});
            ::GetPixel(display.get(), 0, 0);
        }, rest));
        without.push_back(MedianMs(1, [&] {
            frozen.Show();
            ::GetPixel(display.get(), 0, 0);
        }, rest));
    }
    SetFromPairs(f, std::move(with), std::move(without));
    f.baselineName = "arming without them";
    return {f};
}

Register band("region.band", Band);
Register pickMove("region.pick_move", PickMove);
Register armingWindows("region.pick_arming", ArmingWithWindows);
Register arming("region.arming", Arming);

}  // namespace
}  // namespace vx::bench
