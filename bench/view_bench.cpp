// Scrolling cost must follow the viewport, not the picture: one line step (value
// change plus repaint) of a 7680 x 4320 picture against a 1280 x 720 one.
#include "bench.h"
#include "capture/capture_area_win.h"
#include "main_window/frm_main.h"

namespace vx::bench {
namespace {

ComPtr<IPicture> ScreenCompatiblePicture(int width, int height) {
    HDC screen = ::GetDC(nullptr);
    UniqueBitmap bitmap(::CreateCompatibleBitmap(screen, width, height));
    ::ReleaseDC(nullptr, screen);
    return CreatePictureFromBitmap(std::move(bitmap), UniquePalette());
}

// A window of its own for each picture, side by side, so that the two are timed in
// turn without a picture made between them.
struct View {
    View(int width, int height, int left) {
        form.Create(::GetModuleHandleW(nullptr));
        form.Show();
        ::SetWindowPos(form.hwnd(), nullptr, left, 0, 900, 700, SWP_NOZORDER);
        form.PlacePicture(ScreenCompatiblePicture(width, height));
        form.Form_Resize();
    }
    // One line step, right and left in turn.
    void Line() {
        ::SendMessageW(form.hwnd(), WM_HSCROLL, MAKEWPARAM(right ? SB_LINERIGHT : SB_LINELEFT, 0),
                       reinterpret_cast<LPARAM>(form.HScroll1().hwnd));
        right = !right;
        ::GdiFlush();
    }
    // One notch of the wheel, down and up in turn.
    void Notch() {
        ::SendMessageW(form.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, down ? -WHEEL_DELTA : WHEEL_DELTA), 0);
        down = !down;
        ::GdiFlush();
    }
    FrmMain form;
    bool right = true, down = true;
};

const Register scroll("view.scroll", [](const Context& context) {
    View small(1280, 720, 0), large(7680, 4320, 920);
    const int reps = context.repetitions * 4;
    Figure f{"scroll line step, 7680x4320 picture", 0, 0, 1.5, "ms", "the same for 1280x720"};
    MeasurePairs(f, reps, [&] { large.Line(); }, [&] { small.Line(); });
    Figure wheel{"wheel notch, 7680x4320 picture", 0, 0, 1.5, "ms", "the same for 1280x720"};
    MeasurePairs(wheel, reps, [&] { large.Notch(); }, [&] { small.Notch(); });
    return std::vector<Figure>{f, wheel};
});

}  // namespace
}  // namespace vx::bench
