// Marking up must cost what the view costs, not what the picture costs: starting, one
// pointer move while dragging, undoing one step among many, applying, and the peak memory
// of a whole session.
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "bench.h"
#include "capture/capture_area_win.h"
#include "main_window/frm_main.h"
#include "platform/dialogs.h"
#include "markup/markup_render.h"

#include <psapi.h>

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

double WorkingSet(bool peak) {
    PROCESS_MEMORY_COUNTERS counters{sizeof counters};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(peak ? counters.PeakWorkingSetSize : counters.WorkingSetSize);
}

// "放弃标注吗？" answered Yes, for as long as it lives.
struct YesToAll : Dialogs {
    YesToAll() { SetDialogs(this); }
    ~YesToAll() override { SetDialogs(nullptr); }
    int MessageBox(HWND, const wchar_t*, const wchar_t*, UINT) override { return IDYES; }
};

// The window as a person has it, with a view of about 1280 x 900.
void ShowForm(FrmMain& form) {
    form.Create(::GetModuleHandleW(nullptr));
    form.Show();
    ::SetWindowPos(form.hwnd(), nullptr, 0, 0, 1300, 1010, SWP_NOMOVE | SWP_NOZORDER);
}

// A whole session in a copy of this program of its own (the peak cannot be reset): the
// picture placed, marked up with 100 objects (a redaction, a text, lines over the picture),
// painted, applied. The picture counts: what the session needs besides the window.
std::vector<Figure> MemoryChild(const Context&) {
    if (!std::getenv("VX_MARKUP_MEMORY")) return {};  // only as the memory figure's child
    YesToAll yes;
    FrmMain form;
    ShowForm(form);
    ::UpdateWindow(form.hwnd());
    const double before = WorkingSet(false);
    form.PlacePicture(Picture(3840, 2160));
    form.Form_Resize();
    form.mnuMarkup_Click();
    HWND view = form.picScroll();
    auto drag = [&](markup::Tool tool, int x, int y, int dx, int dy) {
        form.Markup().ChooseTool(tool);
        Press(view, WM_LBUTTONDOWN, x, y);
        Press(view, WM_MOUSEMOVE, x + dx, y + dy);
        Press(view, WM_LBUTTONUP, x + dx, y + dy);
    };
    drag(markup::Tool::Redact, 200, 200, 300, 120);
    form.Markup().ToggleRedactStyle();
    drag(markup::Tool::Redact, 600, 200, 200, 120);
    for (int i = 0; i < 98; ++i) drag(markup::Tool::Line, 20 + (i * 37) % 1200, 20 + (i * 53) % 800, 40, 20);
    ::InvalidateRect(view, nullptr, FALSE);
    ::UpdateWindow(view);
    form.Markup().Apply();
    ::UpdateWindow(view);
    std::printf("%.0f %.0f\n", WorkingSet(true) - before, 3840.0 * 2160 * 4);
    return {};
}
const Register memoryChild("markup_memory_child", MemoryChild);

Figure MemoryFigure() {
    double peak = 0, picture = 0;
    RunChild(L"markup_memory_child", L"VX_MARKUP_MEMORY", peak, picture);
    return {"markup session peak memory, 3840x2160", peak, picture, 2.2, "B", "width x height x 4"};
}

const Register markupBench("markup", [](const Context& context) {
    YesToAll yes;  // between the runs
    FrmMain form;
    ShowForm(form);
    const int reps = context.repetitions;
    RECT v{};
    ::GetClientRect(form.picScroll(), &v);
    form.PlacePicture(Picture(3840, 2160));
    form.Form_Resize();
    // A copy of the view's pixels in memory: a blit onto the window returns before X has drawn it.
    const double viewBlit = BlitMs(form, v.right, v.bottom, reps, false);

    std::vector<Figure> out;
    // In pairs with the baseline: the strip's show talks to the server, which the machine's
    // other work delays as much as it delays the copy.
    Figure start{"start marking up, 3840x2160", 0, 0, 2, "ms", "one BitBlt of the visible view"};
    auto discard = [&] { form.Markup().Discard(); };
    // The same copy as the baseline above, in turn with each start.
    HDC screen = ::GetDC(nullptr);
    UniqueBitmap viewBits(::CreateCompatibleBitmap(screen, v.right, v.bottom));
    ::ReleaseDC(nullptr, screen);
    UniqueCreatedDc viewSource(::CreateCompatibleDC(nullptr)), viewTarget(::CreateCompatibleDC(nullptr));
    auto viewCopy = [&] {
        ::BitBlt(viewTarget.get(), 0, 0, v.right, v.bottom, viewSource.get(), 0, 0, SRCCOPY);
        ::GdiFlush();
    };
    std::optional<SelectGuard> copyIn(std::in_place, viewSource.get(), form.Doc().PicBmp.Bitmap());
    SelectGuard copyOut(viewTarget.get(), viewBits.get());
    MeasurePairs(start, reps, [&] { form.mnuMarkup_Click(); ::GdiFlush(); }, viewCopy, discard);
    form.Markup().Discard();
    out.push_back(start);
    if (std::getenv("VX_BENCH_DETAIL")) {
        // Where starting's time goes: the strip's show alone (hidden again between the runs).
        form.mnuMarkup_Click();
        HWND strip = form.Markup().StripWindow();
        Figure show{"detail: show the strip", 0, 0, 0, "ms", "one BitBlt of the visible view"};
        const UINT still = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
        MeasurePairs(show, reps, [&] { ::SetWindowPos(strip, HWND_TOP, 0, 0, 0, 0, still | SWP_SHOWWINDOW); ::GdiFlush(); },
                     viewCopy, [&] { ::SetWindowPos(strip, nullptr, 0, 0, 0, 0, still | SWP_NOZORDER | SWP_HIDEWINDOW); });
        form.Markup().Discard();
        out.push_back(show);
    }
    copyIn.reset();  // the picture free for the view's paint again
    copyOut.reset();

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
    // One session at a time, so the two are paired by rounds, in turn (the order flips each
    // round), rather than one after the other: the machine's other work weighs on both alike.
    std::vector<double> among10, among1000;
    for (int round = 0; round < 5; ++round) {
        if (round % 2) among1000.push_back(undoMs(1000));
        among10.push_back(undoMs(10));
        if (round % 2 == 0) among1000.push_back(undoMs(1000));
    }
    Figure undo{"undo one step among 1,000 objects", 0, 0, 1.2, "ms", "the same among 10"};
    SetFromPairs(undo, std::move(among1000), std::move(among10));
    out.push_back(undo);

    // Applying 100 objects against copying the whole picture once, in turn, each on a new
    // picture with a new session (not timed).
    HDC screenDc = ::GetDC(nullptr);
    UniqueBitmap wholeBits(::CreateCompatibleBitmap(screenDc, 3840, 2160));
    ::ReleaseDC(nullptr, screenDc);
    const auto copyWhole = [&] {
        SelectGuard in(viewSource.get(), form.Doc().PicBmp.Bitmap()), to(viewTarget.get(), wholeBits.get());
        ::BitBlt(viewTarget.get(), 0, 0, 3840, 2160, viewSource.get(), 0, 0, SRCCOPY);
        ::GdiFlush();
    };
    Figure apply{"apply 100 objects to 3840x2160", 0, 0, 3, "ms", "one BitBlt of the whole picture"};
    MeasurePairs(apply, reps, [&] { form.Markup().Apply(); ::GdiFlush(); }, copyWhole, [&] {
        form.Markup().Discard();
        drawLines(100);
    });
    form.Markup().Discard();
    out.push_back(apply);
    if (std::getenv("VX_BENCH_DETAIL")) {
        // Apply's drawing alone, into the picture in place: the rest is the session's end
        // and the layout pass.
        Figure draw{"detail: draw 100 objects into the picture", 0, 0, 0, "ms", "one BitBlt of the whole picture"};
        std::optional<markup::Document> doc;
        MeasurePairs(draw, reps, [&] {
            bool failed = false;
            markup::ApplyToBitmap(form.Doc().PicBmp.Bitmap(), *doc, true, &failed);
        }, copyWhole, [&] {
            form.Markup().Discard();
            drawLines(100);
            doc = form.Markup().Current();
        });
        form.Markup().Discard();
        out.push_back(draw);
    }
    out.push_back(MemoryFigure());
    return out;
});

}  // namespace
}  // namespace vx::bench
