// The free-region selection's costs: one erase-plus-draw of the band (each mouse
// move costs that) and arming (the frozen screen copied, shown and painted), against a
// bare full-screen BitBlt measured in the same run.
#include "bench.h"
#include "capture/selection_band.h"
#include "capture/selection_overlay.h"
#include "main_window/frm_main.h"

namespace vx::bench {
namespace {

// A full-screen BitBlt into a bitmap that was used before (the strict baseline), or
// into a new one, as any copy of a new frame must make (under Wine most of that cost
// is the new bitmap's first touch).
struct BareScreenBlt {
    BareScreenBlt(int width, int height, bool newBitmap)
        : width(width), height(height), newBitmap(newBitmap),
          kept(::CreateCompatibleBitmap(display.get(), width, height)) {}
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
    const RECT screen = VirtualScreenRect();
    BareScreenBlt blt(screen.right - screen.left, screen.bottom - screen.top, true);
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
    return {f};
}

Register band("region.band", Band);
Register arming("region.arming", Arming);

}  // namespace
}  // namespace vx::bench
