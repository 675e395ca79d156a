// Scrolling cost must follow the viewport, not the picture: one line step (value
// change plus repaint) of a 7680 x 4320 picture against a 1280 x 720 one.
#include "bench.h"
#include "capture/capture_area.h"
#include "main_window/frm_main.h"

namespace vx::bench {
namespace {

ComPtr<IPicture> ScreenCompatiblePicture(int width, int height) {
    HDC screen = ::GetDC(nullptr);
    UniqueBitmap bitmap(::CreateCompatibleBitmap(screen, width, height));
    ::ReleaseDC(nullptr, screen);
    return CreatePictureFromBitmap(std::move(bitmap), UniquePalette());
}

double LineStepMs(FrmMain& form, int width, int height, int repetitions) {
    form.PlacePicture(ScreenCompatiblePicture(width, height));
    form.Form_Resize();
    bool right = true;
    return MedianMs(repetitions, [&] {
        ::SendMessageW(form.hwnd(), WM_HSCROLL, MAKEWPARAM(right ? SB_LINERIGHT : SB_LINELEFT, 0),
                       reinterpret_cast<LPARAM>(form.HScroll1().hwnd));
        right = !right;
        ::GdiFlush();
    });
}

// One notch of the wheel, down and up in turn.
double WheelNotchMs(FrmMain& form, int width, int height, int repetitions) {
    form.PlacePicture(ScreenCompatiblePicture(width, height));
    form.Form_Resize();
    bool down = true;
    return MedianMs(repetitions, [&] {
        ::SendMessageW(form.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, down ? -WHEEL_DELTA : WHEEL_DELTA), 0);
        down = !down;
        ::GdiFlush();
    });
}

const Register scroll("view.scroll", [](const Context& context) {
    FrmMain form;
    form.Create(::GetModuleHandleW(nullptr));
    form.Show();
    ::SetWindowPos(form.hwnd(), nullptr, 0, 0, 1000, 700, SWP_NOMOVE | SWP_NOZORDER);
    const int reps = context.repetitions * 4;
    const double small = LineStepMs(form, 1280, 720, reps);
    const double large = LineStepMs(form, 7680, 4320, reps);
    Figure f;
    f.name = "scroll line step, 7680x4320 picture";
    f.measured = large;
    f.baseline = small;
    f.baselineName = "the same for 1280x720";
    f.goal = 1.5;
    Figure wheel = f;
    wheel.name = "wheel notch, 7680x4320 picture";
    wheel.baseline = WheelNotchMs(form, 1280, 720, reps);
    wheel.measured = WheelNotchMs(form, 7680, 4320, reps);
    return std::vector<Figure>{f, wheel};
});

}  // namespace
}  // namespace vx::bench
