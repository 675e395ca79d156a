// Marking up in place under Wine: each tool drawn with the mouse over a known picture, the
// keys, Enter and Escape, and the proofs that a redaction keeps nothing of what it hides.
#include <cstdlib>
#include <random>

#include "markup/markup_session.h"
#include "platform/dpi.h"
#include "win_test_support.h"

#include <commctrl.h>

namespace vx::test {
namespace {

// As the program's message loop does: the accelerators (Ctrl+E) first.
void PumpKeys(HWND window, int milliseconds) {
    static const HACCEL keys = ::LoadAcceleratorsW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_ACCELERATORS));
    for (const DWORD end = ::GetTickCount() + milliseconds;; ::Sleep(5)) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            if (!::TranslateAcceleratorW(window, keys, &msg)) ::TranslateMessage(&msg), ::DispatchMessageW(&msg);
        if (static_cast<int>(end - ::GetTickCount()) <= 0) return;
    }
}

bool PumpUntil(const std::function<bool()>& done, int milliseconds = 3000) {
    for (const DWORD end = ::GetTickCount() + milliseconds; !done();) {
        if (static_cast<int>(end - ::GetTickCount()) <= 0) return false;
        Pump(10);
    }
    return true;
}

uint32_t Pattern(int x, int y) { return uint32_t((x * 7) & 0xFF) << 16 | ((y * 13) & 0xFF) << 8 | ((x ^ y) & 0xFF); }

bool Near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift : {0, 8, 16})
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
    return true;
}

class MarkupTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        form->PlacePicture(PictureOf(400, 300, Pattern));
        form->Form_Resize();
        ::SetForegroundWindow(form->hwnd());
        Pump(50);
    }
    markup::MarkupSession& Session() { return form->Markup(); }
    void Keys(std::vector<BYTE> keys) {
        ::SetForegroundWindow(form->hwnd());
        for (const BYTE k : keys) ::keybd_event(k, 0, 0, 0);
        for (auto k = keys.rbegin(); k != keys.rend(); ++k) ::keybd_event(*k, 0, KEYEVENTF_KEYUP, 0);
        PumpKeys(form->hwnd(), 60);
    }
    // Picture pixel p on the screen (the picture sits at the view's corner, one to one).
    POINT Screen(Point p) const {
        POINT s{p.x, p.y};
        ::ClientToScreen(form->picScroll(), &s);
        return s;
    }
    void DragPicture(Point a, Point b) {
        const POINT s = Screen(a), e = Screen(b);
        Drag(s.x, s.y, e.x, e.y);
    }
    Pixels Picture() const { return ReadPixels(BitmapOf(form->Doc().PicBmp.Picture)); }
    // Draws with the view's own mouse messages (no pointer needed), for the many runs below.
    void Draw(Point a, Point b) {
        HWND v = form->picScroll();
        ::SendMessageW(v, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(a.x, a.y));
        ::SendMessageW(v, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((a.x + b.x) / 2, (a.y + b.y) / 2));
        ::SendMessageW(v, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(b.x, b.y));
        ::SendMessageW(v, WM_LBUTTONUP, 0, MAKELPARAM(b.x, b.y));
    }
};

// Each tool by its key, drawn with the mouse, applied with Enter; the pixels where the
// shape must be and where it must not.
TEST_F(MarkupTest, EveryToolDrawnWithTheMouseLandsWhereThePointerPutIt) {
    constexpr uint32_t red = 0xE0201B;
    enum What { Original, Colour, Tinted, Black };
    struct Expect { Point at; What what; };
    const struct { BYTE key; Point from, to; std::vector<Expect> expect; } cases[] = {
        {'R', {50, 50}, {150, 120}, {{{50, 80}, Colour}, {{51, 80}, Colour}, {{149, 120}, Colour}, {{100, 85}, Original},
                                      {{52, 80}, Original}, {{49, 80}, Original}, {{100, 121}, Original}}},
        {'E', {50, 50}, {150, 120}, {{{51, 85}, Colour}, {{100, 51}, Colour}, {{100, 85}, Original}, {{52, 53}, Original}}},
        {'L', {40, 200}, {200, 200}, {{{120, 200}, Colour}, {{120, 204}, Original}, {{210, 200}, Original}}},
        {'A', {40, 200}, {200, 200}, {{{120, 200}, Colour}, {{192, 205}, Colour}, {{100, 206}, Original}}},
        {'P', {40, 40}, {200, 40}, {{{120, 40}, Colour}, {{120, 45}, Original}}},
        {'H', {40, 40}, {200, 40}, {{{120, 40}, Tinted}, {{120, 60}, Original}}},
        {'X', {50, 50}, {150, 120}, {{{50, 50}, Black}, {{150, 120}, Black}, {{100, 85}, Black}, {{49, 50}, Original},
                                      {{151, 120}, Original}, {{100, 121}, Original}}},
        {'N', {100, 100}, {100, 100}, {{{92, 100}, Colour}, {{100, 120}, Original}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(1, char(c.key)));
        form->PlacePicture(PictureOf(400, 300, Pattern));
        Keys({VK_CONTROL, 'E'});
        ASSERT_TRUE(Session().Active());
        Keys({c.key});
        if (c.from == c.to) {
            const POINT s = Screen(c.from);
            for (DWORD flags : {0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) MouseAt(s.x, s.y, flags);
            Pump(200);
        } else {
            DragPicture(c.from, c.to);
        }
        ASSERT_TRUE(PumpUntil([&] { return Session().Current().shapes.size() == 1; }));
        Keys({VK_RETURN});
        ASSERT_TRUE(PumpUntil([&] { return !Session().Active(); }));
        EXPECT_TRUE(form->Doc().ImageUnsaved);
        const Pixels px = Picture();
        for (const Expect& e : c.expect) {
            const uint32_t got = px.At(e.at.x, e.at.y), was = Pattern(e.at.x, e.at.y);
            const std::string where = std::to_string(e.at.x) + "," + std::to_string(e.at.y);
            if (e.what == Original) { EXPECT_EQ(got, was) << where; }
            if (e.what == Colour) { EXPECT_TRUE(Near(got, red, 40)) << where << " " << std::hex << got; }
            if (e.what == Black) { EXPECT_EQ(got, 0u) << where; }
            if (e.what == Tinted) { EXPECT_TRUE(got != was && !Near(got, 0xFFD800, 30)) << where << " " << std::hex << got; }
        }
    }
}

// Another colour, a text typed as an input method delivers it, a crop, undo and redo by
// key, and Escape's question: No keeps the session, Yes drops everything.
TEST_F(MarkupTest, TextCropUndoRedoAndEscape) {
    struct : ScriptedDialogs {
        bool ChooseColor(CHOOSECOLORW& cc) override { return cc.rgbResult = RGB(1, 2, 3), true; }
    } dialogs;
    Keys({VK_CONTROL, 'E'});
    Keys({'0'});  // any other colour, from the system's dialog
    EXPECT_EQ(Session().CurrentStyle().colour, 0x010203u);
    Keys({'1'});
    Keys({'T'});
    ::SendMessageW(form->picScroll(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    ::SendMessageW(form->picScroll(), WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    ASSERT_TRUE(Session().TextBox());
    for (wchar_t c : std::wstring(L"标注 ok")) ::SendMessageW(Session().TextBox(), WM_CHAR, c, 1);
    ::SetFocus(Session().TextBox());
    Keys({VK_RETURN});
    ASSERT_EQ(Session().Current().shapes.size(), 1u);
    EXPECT_EQ(Session().Current().shapes[0].text, u"标注 ok");
    Keys({'C'});
    Draw({10, 10}, {209, 109});
    EXPECT_EQ(Session().Current().crop, (Rect{10, 10, 210, 110}));
    Keys({VK_CONTROL, 'Z'});
    Keys({VK_CONTROL, 'Z'});
    EXPECT_TRUE(Session().Current().shapes.empty());
    Keys({VK_CONTROL, 'Y'});
    EXPECT_EQ(Session().Current().shapes.size(), 1u);

    dialogs.boxAnswers = {IDNO, IDYES};
    Keys({VK_ESCAPE});
    EXPECT_TRUE(Session().Active());
    Keys({VK_ESCAPE});
    EXPECT_FALSE(Session().Active());
    EXPECT_EQ(dialogs.Texts(), (std::vector<std::wstring>{L"放弃标注吗？", L"放弃标注吗？"}));
    EXPECT_EQ(Picture().At(30, 30), Pattern(30, 30));
    EXPECT_FALSE(form->Doc().ImageUnsaved);

    // Applied with a crop, the picture is the kept part with the text in it.
    Keys({VK_CONTROL, 'E'});
    Keys({'C'});
    Draw({10, 10}, {209, 109});
    Keys({VK_RETURN});
    const Pixels cropped = Picture();
    EXPECT_EQ(std::pair(cropped.width, cropped.height), std::pair(200, 100));
    EXPECT_EQ(cropped.At(0, 0), Pattern(10, 10));
}

// The strip on a wide window, on narrow ones (in rows over the menu, or beside the window
// on whichever side has room): none of it over the view, every button on the monitor and
// its tooltip there, the view where the layout put it.
TEST_F(MarkupTest, StripCoversNoPictureAtAnyWidth) {
    MONITORINFO monitor{sizeof monitor};
    ::GetMonitorInfoW(::MonitorFromWindow(form->hwnd(), MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT screen = monitor.rcMonitor;
    const int dpi = WindowDpi(form->hwnd());
    auto inside = [](RECT inner, RECT outer) { RECT both{}; return ::IntersectRect(&both, &inner, &outer) && ::EqualRect(&both, &inner); };
    const struct { int width, x; } cases[] = {{700, 0}, {440, 40}, {260, 0}, {260, -1}};  // -1: at the right edge
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " at " + std::to_string(c.x));
        const int w = Scale96(c.width, dpi), x = c.x < 0 ? screen.right - w : Scale96(c.x, dpi);
        ::SetWindowPos(form->hwnd(), nullptr, x, Scale96(60, dpi), w, Scale96(400, dpi), SWP_NOZORDER);
        RECT before{}, view{}, strip{}, overlap{}, r{};
        ::GetWindowRect(form->picScroll(), &before);
        form->mnuMarkup_Click();
        ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(Session().StripWindow()) != FALSE; }));
        ::GetWindowRect(form->picScroll(), &view);
        ::GetWindowRect(Session().StripWindow(), &strip);
        EXPECT_TRUE(::EqualRect(&view, &before) && !::IntersectRect(&overlap, &strip, &view));
        HWND bar = ::FindWindowExW(Session().StripWindow(), nullptr, TOOLBARCLASSNAMEW, nullptr);
        HWND tips = reinterpret_cast<HWND>(::SendMessageW(bar, TB_GETTOOLTIPS, 0, 0));
        for (int i = 0, n = int(::SendMessageW(bar, TB_BUTTONCOUNT, 0, 0)); i < n; ++i) {
            TBBUTTON b{};
            wchar_t tip[80] = {};
            TTTOOLINFOW tool{sizeof tool, 0, bar, UINT_PTR(b.idCommand)};
            ::SendMessageW(bar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b));
            if (b.fsStyle & BTNS_SEP) continue;
            ::SendMessageW(bar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
            ::MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&r), 2);
            tool.uId = UINT_PTR(b.idCommand), tool.lpszText = tip;
            ::SendMessageW(tips, TTM_GETTEXTW, std::size(tip), reinterpret_cast<LPARAM>(&tool));
            EXPECT_TRUE(inside(r, screen) && inside(r, strip) && std::wstring(tip).find(L'(') != std::wstring::npos) << b.idCommand;
        }
        Session().Discard();
    }
}

// (1) The same box over different secrets gives the same picture; (3) an arrow and a
// highlighter over it, moved, undone and redone, and a crop through it change nothing of
// that; (2) the secret's unique colours appear nowhere in the saved file.
TEST_F(MarkupTest, RedactionKeepsNothingOfWhatItHides) {
    const Rect box{120, 80, 260, 170};
    std::mt19937 rng(11);
    std::vector<uint32_t> first[2];
    ScriptedDialogs dialogs;
    TempDir dir;
    for (int secret = 0; secret < 6; ++secret) {
        SCOPED_TRACE(secret);
        const int mosaic = secret % 2;
        // Random noise, or stripes of two colours found nowhere else.
        form->PlacePicture(PictureOf(400, 300, [&](int x, int y) {
            if (!box.Contains({x, y})) return Pattern(x, y);
            return secret < 4 ? uint32_t(rng()) & 0xFFFFFF : ((x / 3 + y / 5) % 2 ? 0x123457u : 0xABCDEFu);
        }));
        form->mnuMarkup_Click();
        if (mosaic != (Session().CurrentStyle().redact == markup::RedactStyle::Mosaic)) Session().ToggleRedactStyle();
        Session().ChooseTool(markup::Tool::Redact);
        Draw({box.left, box.top}, {box.right - 1, box.bottom - 1});
        Session().ChooseTool(markup::Tool::Arrow);
        Draw({100, 100}, {200, 150});
        Session().ChooseTool(markup::Tool::Highlighter);
        Draw({110, 120}, {280, 120});
        Session().ChooseTool(markup::Tool::Select);
        Draw({150, 125}, {160, 135});  // moves the highlighter
        Keys({VK_CONTROL, 'Z'});
        Keys({VK_CONTROL, 'Y'});
        Session().ChooseTool(markup::Tool::Crop);
        Draw({150, 0}, {399, 299});
        ASSERT_EQ(Session().Current().shapes.size(), 3u);
        ASSERT_NE(Session().Current().shapes[2].points[0], (Point{110, 120}));
        const std::wstring file = dir.File(L"r" + std::to_wstring(secret) + L".bmp");
        dialogs.fileAnswers = {file};
        form->RunCommand(IDM_SAVE);  // applies first, then saves
        ASSERT_FALSE(Session().Active());
        const Pixels px = Picture();
        ASSERT_EQ(px.width, 250);
        if (first[mosaic].empty()) first[mosaic] = px.values;
        EXPECT_EQ(px.values, first[mosaic]) << "the picture depends on what was hidden";
        const std::string bytes = ReadFileBytes(file);
        ASSERT_GT(bytes.size(), 250u * 300 * 3);
        EXPECT_EQ(bytes.find("\xEF\xCD\xAB\xEF\xCD\xAB"), std::string::npos);
        EXPECT_EQ(bytes.find("\x57\x34\x12\x57\x34\x12"), std::string::npos);
    }
}

}  // namespace
}  // namespace vx::test
