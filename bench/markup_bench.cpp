// Marking up must cost what the view costs, not what the picture costs: starting, one
// pointer move while dragging, undoing one step among many, applying.
#include "bench.h"
#include "capture/capture_area_win.h"
#include "main_window/frm_main.h"
#include "platform/dialogs.h"

namespace vx::bench {
namespace {

ComPtr<IPicture> Picture(int width, int height) {
    HDC screen = ::GetDC(nullptr);
    UniqueBitmap bitmap(::CreateCompatibleBitmap(screen, width, height));
    ::ReleaseDC(nullptr, screen);
    // Pixels written, so every copy reads real memory rather than untouched pages.
    UniqueCreatedDc dc(::CreateCompatibleDC(nullptr));
    SelectGuard select(dc.get(), bitmap.get());
    ::PatBlt(dc.get(), 0, 0, width, height, WHITENESS);
    return CreatePictureFromBitmap(std::move(bitmap), UniquePalette());
}

void Press(HWND view, UINT message, int x, int y) {
    ::SendMessageW(view, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
}

// One BitBlt of the whole view (or of a whole picture) from a memory copy onto the view.
double BlitMs(FrmMain& form, int width, int height, int reps, bool toView = false) {
    HBITMAP bitmap = form.Doc().PicBmp.Bitmap();
    UniqueCreatedDc source(::CreateCompatibleDC(nullptr)), target(::CreateCompatibleDC(nullptr));
    SelectGuard select(source.get(), bitmap);
    UniqueBitmap copy;
    if (!toView) copy = UniqueBitmap(::CreateCompatibleBitmap(source.get(), width, height));
    SelectGuard selectCopy(target.get(), copy.get());
    HDC view = ::GetDC(form.picScroll());
    const double ms = MedianMs(reps, [&] {
        ::BitBlt(toView ? view : target.get(), 0, 0, width, height, source.get(), 0, 0, SRCCOPY);
        ::GdiFlush();
    });
    ::ReleaseDC(form.picScroll(), view);
    return ms;
}

// One pointer move while a rectangle is dragged, until the view shows it.
double DragMoveMs(FrmMain& form, int width, int height, int reps) {
    form.PlacePicture(Picture(width, height));
    form.Form_Resize();
    form.mnuMarkup_Click();
    form.Markup().ChooseTool(markup::Tool::Rectangle);
    HWND view = form.picScroll();
    Press(view, WM_LBUTTONDOWN, 100, 100);
    int step = 0;
    const double ms = MedianMs(reps, [&] {
        Press(view, WM_MOUSEMOVE, 400 + (step % 2) * 7, 300 + (step % 2) * 5);
        ++step;
        ::UpdateWindow(view);
        ::GdiFlush();
    });
    Press(view, WM_LBUTTONUP, 400, 300);
    form.Markup().Discard();
    return ms;
}

const Register markupBench("markup", [](const Context& context) {
    // "放弃标注吗？" answered Yes between the runs.
    struct Yes : Dialogs {
        int MessageBox(HWND, const wchar_t*, const wchar_t*, UINT) override { return IDYES; }
    } yes;
    SetDialogs(&yes);
    FrmMain form;
    form.Create(::GetModuleHandleW(nullptr));
    form.Show();
    // A view of about 1280 x 900.
    ::SetWindowPos(form.hwnd(), nullptr, 0, 0, 1300, 1010, SWP_NOMOVE | SWP_NOZORDER);
    const int reps = context.repetitions;
    RECT v{};
    ::GetClientRect(form.picScroll(), &v);
    form.PlacePicture(Picture(3840, 2160));
    form.Form_Resize();
    // A copy of the view's pixels in memory: a blit onto the window returns before X has drawn it.
    const double viewBlit = BlitMs(form, v.right, v.bottom, reps, false);

    std::vector<Figure> out;
    Figure start{"start marking up, 3840x2160", 0, viewBlit, 2, "ms", "one BitBlt of the visible view"};
    start.measured = MedianMs(reps, [&] { form.mnuMarkup_Click(); ::GdiFlush(); }, [&] { form.Markup().Discard(); });
    form.Markup().Discard();
    out.push_back(start);

    const double small = DragMoveMs(form, 1920, 1080, reps * 2);
    Figure move{"one pointer move dragging a box, 3840x2160", DragMoveMs(form, 3840, 2160, reps * 2), viewBlit, 1.5,
                "ms", "one BitBlt of the visible view"};
    out.push_back(move);
    out.push_back({"the same, 3840x20000 picture", DragMoveMs(form, 3840, 20000, reps * 2), small, 1.2, "ms",
                   "the same, 1920x1080 picture"});

    // Undo and redo in turn among 10 and among 1,000 objects.
    auto drawLines = [&](int objects) {
        form.PlacePicture(Picture(3840, 2160));
        form.Form_Resize();
        form.mnuMarkup_Click();
        form.Markup().ChooseTool(markup::Tool::Line);
        HWND view = form.picScroll();
        // Spread over the picture below the last one, which is undone alone in its corner: what
        // is measured is the cost of the others, not of drawing more of them in that place.
        for (int i = 0; i < objects; ++i) {
            const bool last = i == objects - 1;
            const int x = last ? 300 : 20 + (i * 37) % 3700, y = last ? 300 : 400 + (i * 53) % 1700;
            Press(view, WM_LBUTTONDOWN, x, y);
            Press(view, WM_MOUSEMOVE, x + 40, y + 20);
            Press(view, WM_LBUTTONUP, x + 40, y + 20);
        }
        ::UpdateWindow(view);
    };
    auto undoMs = [&](int objects) {
        drawLines(objects);
        bool undo = true;
        const double ms = MedianMs(reps * 2, [&] {
            undo ? form.Markup().Undo() : form.Markup().Redo();
            undo = !undo;
            ::UpdateWindow(form.picScroll());
            ::GdiFlush();
        });
        form.Markup().Discard();
        return ms;
    };
    const double undo10 = undoMs(10);
    out.push_back({"undo one step among 1,000 objects", undoMs(1000), undo10, 1.2, "ms", "the same among 10"});

    // Applying 100 objects against copying the whole picture once.
    const double wholeBlit = BlitMs(form, 3840, 2160, reps, false);
    Figure apply{"apply 100 objects to 3840x2160", 0, wholeBlit, 3, "ms", "one BitBlt of the whole picture"};
    apply.measured = MedianMs(reps, [&] { form.Markup().Apply(); ::GdiFlush(); }, [&] { drawLines(100); });
    out.push_back(apply);
    SetDialogs(nullptr);
    return out;
});

}  // namespace
}  // namespace vx::bench
