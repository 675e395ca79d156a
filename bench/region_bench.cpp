// The free-region selection's costs: one erase-plus-draw of the band (each mouse
// move costs that) and arming (the frozen screen copied, shown and painted), against a
// bare full-screen BitBlt measured in the same run.
#include <algorithm>

#include "bench.h"
#include "capture/selection_band.h"
#include "capture/pick_decor.h"
#include "capture/selection_overlay.h"
#include "capture/window_snapshot.h"
#include "main_window/frm_main.h"

namespace vx::bench {
namespace {

// A full-screen BitBlt into a bitmap that was used before (the strict baseline), or
// into a new one, as any copy of a new frame must make (under Wine most of that cost
// is the new bitmap's first touch).
double BareScreenBlt(const Context& c, int width, int height, bool newBitmap) {
    UniqueCreatedDc display = DisplayDc();
    UniqueCreatedDc memory(::CreateCompatibleDC(display.get()));
    UniqueBitmap kept(::CreateCompatibleBitmap(display.get(), width, height));
    return MedianMs(c.repetitions, [&] {
        UniqueBitmap fresh(newBitmap ? ::CreateCompatibleBitmap(display.get(), width, height) : nullptr);
        SelectGuard select(memory.get(), newBitmap ? fresh.get() : kept.get());
        ::BitBlt(memory.get(), 0, 0, width, height, display.get(), 0, 0, SRCCOPY);
        ::GdiFlush();
    });
}

std::vector<Figure> Band(const Context& c) {
    UniqueCreatedDc display = DisplayDc();
    Rect rect{100, 100, 1100, 700};
    Figure f{"band erase+draw 1000x600 with label", 0, 0, 0.1};
    f.measured = MedianMs(c.repetitions * 4, [&] {
        DrawSelectionBand(display.get(), rect);  // erase the last one
        ++rect.right;
        DrawSelectionBand(display.get(), rect);
        // Drawing on the display may only be queued: a read waits until it is done.
        ::GetPixel(display.get(), rect.left, rect.top);
    });
    DrawSelectionBand(display.get(), rect);
    f.baseline = BareScreenBlt(c, 1920, 1080, false);
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
    f.measured = MedianMs(c.repetitions, [&] {
        frozen.Show();
        ::GetPixel(display.get(), 0, 0);  // waits until the popup is on the screen
    }, [&] {
        // The screen at rest, as a person arms it: the windows the popup covered have
        // repainted (under X they do so in the server, which the next copy would wait for).
        frozen.Hide();
        for (MSG m; ::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);) ::DispatchMessageW(&m);
        ::Sleep(150);
    });
    const RECT screen = VirtualScreenRect();
    f.baseline = BareScreenBlt(c, screen.right - screen.left, screen.bottom - screen.top, true);
    f.baselineName = "CreateCompatibleBitmap+BitBlt of the screen";
    return {f};
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
    f.measured = MedianMs(c.repetitions * 4, [&] {
        ++step;
        decor.Show(step % 2 ? Rect{100, 100, 900, 700} : Rect{200, 150, 700, 500}, {400 + step % 50, 300});
        ::GetPixel(dc.get(), 0, 0);  // drawing may only be queued: a read waits for it
    });
    decor.End();
    frozen.Hide();
    f.baseline = BareScreenBlt(c, 1920, 1080, false);
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
    std::sort(with.begin(), with.end());
    std::sort(without.begin(), without.end());
    f.measured = with[with.size() / 2];
    f.baseline = without[without.size() / 2];
    f.baselineName = "arming without them";
    return {f};
}

Register band("region.band", Band);
Register pickMove("region.pick_move", PickMove);
Register armingWindows("region.pick_arming", ArmingWithWindows);
Register arming("region.arming", Arming);

}  // namespace
}  // namespace vx::bench
