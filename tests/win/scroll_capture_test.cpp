// The scrolling capture against a window whose whole picture is known: the stitched
// picture must be that picture, pixel for pixel, however the window scrolls and
// however the capture ends; a cancel before the click changes nothing.
#include <process.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "win_test_support.h"

namespace vx::test {
namespace {

constexpr int kHeader = 30, kFooter = 20;

// Pumps messages until `done` holds or `ms` have passed; whether it holds.
bool Until(const std::function<bool()>& done, int ms = 5000) {
    for (const DWORD end = ::GetTickCount() + ms; !done();) {
        if (static_cast<int>(end - ::GetTickCount()) <= 0) return false;
        Pump(5);
    }
    return true;
}

struct Target {
    explicit Target(const std::wstring& args) {
        // The arguments go on as one line, split again by the target.
        process.reset(reinterpret_cast<HANDLE>(_wspawnl(_P_NOWAIT, TestProgram(L"scroll_target.exe").c_str(), L"scroll_target", args.c_str(), nullptr)));
        Until([&] {  // shown and painted: its header's first pixel is on the screen
            POINT o{0, 0};
            return (hwnd = ::FindWindowW(L"VxScrollTarget", nullptr)) && ::ClientToScreen(hwnd, &o) &&
                   ((ReadScreen({o.x, o.y, o.x + 1, o.y + 1}).values[0] & 0xFFFFFF) | 0x200000) == 0x600000;
        });
    }
    ~Target() {
        ::TerminateProcess(process.get(), 0);
        ::WaitForSingleObject(process.get(), 5000);
    }
    int Position() const { return _wtoi(WindowTitle(hwnd).substr(14).c_str()); }
    // When the target pressed Escape (the system's tick count), 0 before.
    DWORD Escaped() const { const std::wstring t = WindowTitle(hwnd) + L" escaped=0"; return wcstoul(t.c_str() + t.find(L"escaped=") + 8, nullptr, 10); }
    UniqueProcess process;
    HWND hwnd = nullptr;
};

// The whole picture of the target started with `target` (KIND ROWS [switches]): the
// header, every content row, the footer.
Pixels Truth(const std::wstring& target) {
    TempDir dir;
    const size_t rows = target.find(' ') + 1, end = target.find(' ', rows);
    const std::wstring args = L"truth " + target.substr(rows, end - rows) + L" \"" + dir.File(L"t") + L"\"" + (end == std::wstring::npos ? L"" : target.substr(end));
    _wspawnl(_P_WAIT, TestProgram(L"scroll_target.exe").c_str(), L"scroll_target", args.c_str(), nullptr);
    const std::string bytes = ReadFileBytes(dir.File(L"t"));
    Pixels p{0, 0, std::vector<std::uint32_t>(bytes.size() / 4)};
    std::memcpy(p.values.data(), bytes.data(), p.values.size() * 4);
    if (p.values.size() < 2) return {};
    p.width = static_cast<int>(p.values[0]), p.height = static_cast<int>(p.values[1]);
    p.values.erase(p.values.begin(), p.values.begin() + 2);
    return p;
}

// Rows of `got` that differ from the truth shown from content row `start`: the header,
// then content, then (footer) the footer as the last rows; or, for a dragged area at
// `drag` of the client area, the truth from there on. The caret's place is free.
int WrongRows(const Pixels& got, const Pixels& truth, int start, bool footer, POINT drag) {
    const int content = truth.height - kHeader - kFooter;
    int wrong = 0;
    for (int y = 0; y < got.height; ++y) {
        const int row = drag.y ? drag.y + y : y < kHeader ? y : footer && got.height - y <= kFooter ? truth.height - got.height + y : y + start;
        // A dragged area may take in the scroll bar beside the content: only content is compared.
        bool same = row < truth.height && (drag.y || got.width == truth.width) && (footer || row < kHeader + content);
        for (int x = 0; same && x < std::min<int>(got.width, truth.width - drag.x); ++x) {
            const std::uint32_t t = truth.At(x + drag.x, row);
            same = t == 0xFF000000u || t == got.At(x, y);
        }
        wrong += !same;
    }
    return wrong;
}

struct ScrollCaptureTest : MainWindowTest {
    // Arms, clicks the target (or drags `drag` of its client area), and waits until the
    // picture is there; the tick count then.
    DWORD Capture(const Target& target, RECT drag = {}) {
        // A drag is armed by Shift+Print Screen: as the menu item, and the picture goes on the clipboard.
        if (drag.right) form->HotKey_Press(3);
        else form->RunCommand(IDM_SCROLL);
        RECT r{};
        ::GetWindowRect(target.hwnd, &r);
        POINT a{drag.left, drag.top}, b{drag.right, drag.bottom};
        ::ClientToScreen(target.hwnd, &a), ::ClientToScreen(target.hwnd, &b);
        if (drag.right) Drag(a.x, a.y, b.x, b.y);
        else for (DWORD flags : {0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) MouseAt((r.left + r.right) / 2, (r.top + r.bottom) / 2, flags);
        EXPECT_TRUE(Until([&] { return !form->Scroll().Busy(); }, 60000)) << "the capture never ended";
        return ::GetTickCount();
    }
    ScriptedDialogs dialogs;
};

TEST_F(ScrollCaptureTest, StitchedPictureIsTheTruth) {
    const struct {
        const char* what;
        std::wstring args;
        int rows, view, start;
        bool footer;       // ran to the content's end
        int minHeight;     // at least this tall
        bool maximised;
        RECT drag;         // a free rectangle of the client area instead of a click
    } cases[] = {
        {"standard bar, from the top", L"bar 2000", 2000, 544, 0, true, 2050, true},
        {"wheel, smooth, a caret", L"wheel 2000", 2000, 544, 0, true, 2050, false},
        {"standard bar, from the middle", L"bar 2000 start=800", 2000, 544, 800, true, 1250, false},
        {"a click and Escape half-way: a prefix", L"bar 2000 escape=1000", 2000, 544, 0, false, 1400, false},
        {"wheel, Escape half-way", L"wheel 2000 start=96 key=1000 hot=1", 2000, 544, 96, false, 1100, false},
        {"the target closes half-way", L"bar 2000 close=1000", 2000, 544, 0, false, 1100, false},
        {"a window that does not scroll", L"still 2000", 2000, 544, 0, true, 590, false},
        {"a dragged rectangle with the scroll bar", L"bar 2000", 2000, 544, 0, true, 1876, false, {50, 80, 417, 500}},
        {"over 32767 pixels", L"bar 34000 view=896", 34000, 896, 0, true, 34050, false},
        {"a caret in the header, a counter in the footer", L"wheel 2000 header=1 clock=1", 2000, 544, 0, true, 2050, false},
        {"bar, a caret in the header, the line under the pointer lit", L"bar 2000 header=1 hot=1", 2000, 544, 0, true, 2050, false},
        {"bar, a repaint 200 ms late", L"bar 2000 late=200", 2000, 544, 0, true, 2050, false},
        {"a header that shrinks once", L"wheel 2000 sticky=40", 2000, 544, 0, true, 2090, false},
        {"columns equal on every line", L"wheel 2000 columns=1", 2000, 544, 0, true, 2050, false},
        {"an overlay bar fading in while scrolling, out when still; a short last step", L"wheel 1808 overlay=1", 1808, 544, 0, true, 1858, false},
        {"overlay bar, a caret in the header, a counter in the footer, a repaint 150 ms late", L"wheel 2000 overlay=1 header=1 clock=1 late=150", 2000, 544, 0, true, 2050, false},
        {"bar, more rows loaded late as the end comes into view", L"bar 2000 grow=600", 2000, 544, 0, true, 2050, false},
        {"all at once: header caret, slow, lit line, late", L"wheel 2000 header=1 clock=1 slow=1 hot=1 late=150", 2000, 544, 0, true, 2050, false},
    };
    for (const auto& c : cases) {
        form->SetWindowState(c.maximised ? WindowState::Maximized : WindowState::Normal);
        form->Doc().ImageUnsaved = false;
        const Pixels truth = Truth(c.args);
        Target target(c.args);
        ASSERT_TRUE(target.hwnd && truth.height >= c.rows + kHeader + kFooter) << c.what;
        const int before = target.Position();
        const DWORD clipboard = ::GetClipboardSequenceNumber();
        const DWORD ended = Capture(target, c.drag);
        const Pixels got = ReadPixels(form->Doc().PicBmp.Bitmap());
        EXPECT_EQ(::GetClipboardSequenceNumber() != clipboard, c.drag.right != 0) << c.what;
        EXPECT_GE(got.height, c.minHeight) << c.what;
        EXPECT_LE(got.height, truth.height - c.start) << c.what;
        EXPECT_EQ(WrongRows(got, truth, c.start, c.footer, {c.drag.left, c.drag.top}), 0) << c.what;
        EXPECT_TRUE(form->Doc().ImageUnsaved && !form->Scroll().Armed() && dialogs.boxes.empty()) << c.what;
        EXPECT_EQ(form->GetWindowState(), c.maximised ? WindowState::Maximized : WindowState::Normal) << c.what;
        EXPECT_EQ(WindowTitle(target.hwnd).find(L"touched"), std::wstring::npos) << c.what << ": the stop reached the target";
        const DWORD escaped = target.Escaped();
        EXPECT_TRUE(!escaped || ended - escaped <= 500) << c.what << ": the stop took " << ended - escaped << " ms";
        // Put back where it was, to the pixel: by the bar always, by the wheel where no
        // notch ran into the content's end.
        const bool back = ::IsWindow(target.hwnd) && (!c.args.rfind(L"bar", 0) || !c.footer);
        EXPECT_TRUE(!back || Until([&] { return target.Position() == before; }, 30000)) << c.what << ": put back at " << target.Position();
    }
    // The last picture is over 32767 rows: its last row can be brought into the view.
    ::SendMessageW(form->hwnd(), WM_VSCROLL, SB_BOTTOM, reinterpret_cast<LPARAM>(form->VScroll1().hwnd));
    RECT view{};
    ::GetWindowRect(form->picScroll(), &view);
    const Pixels picture = ReadPixels(form->Doc().PicBmp.Bitmap());
    EXPECT_TRUE(Until([&] {
        const Pixels shown = ReadScreen({view.left, view.bottom - kFooter, view.left + picture.width, view.bottom});
        return std::equal(shown.values.begin(), shown.values.end(), picture.values.end() - shown.values.size());
    }));
}

// Escape, a right click or the overlay closed before the click: nothing changes. With
// no memory for the picture, the previous one stays and the menu says so.
TEST_F(ScrollCaptureTest, CancelsAndNoMemoryKeepEverything) {
    Target target(L"bar 2000");
    form->PlacePicture(PatternPicture(50, 40));
    const std::vector<std::uint32_t> previous = PixelsOf(form->Doc().PicBmp.Bitmap());
    for (UINT how : {0u, 1u, 2u}) {
        form->RunCommand(IDM_SCROLL);
        const HWND overlay = form->Scroll().Overlay();
        ASSERT_TRUE(overlay && form->GetWindowState() == WindowState::Minimized);
        if (how == 0) ::PostMessageW(overlay, WM_KEYDOWN, VK_ESCAPE, 0);
        if (how == 1) for (DWORD f : {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP}) MouseAt(300, 300, f);
        if (how == 2) ::PostMessageW(overlay, WM_CLOSE, 0, 0);
        EXPECT_TRUE(Until([&] {
            return !form->Scroll().Armed() && !form->Scroll().Overlay() && !form->Doc().ImageUnsaved &&
                   form->GetWindowState() == WindowState::Normal && form->GetMousePointer() == MousePointer::Default;
        })) << how;
    }
    SimulateBitmapFailure(true);
    Capture(target);
    SimulateBitmapFailure(false);
    EXPECT_EQ(PixelsOf(form->Doc().PicBmp.Bitmap()), previous);
    EXPECT_TRUE(dialogs.boxes.size() == 1 && dialogs.boxes[0].text == LoadText(IDS_MSG_CAPTURE_NO_MEMORY) &&
                !form->Doc().ImageUnsaved);
}

}  // namespace
}  // namespace vx::test
