// Marking up in place under Wine: each tool drawn with the mouse over a known picture, the
// keys, Enter and Escape, and the proofs that a redaction keeps nothing of what it hides.
#include <algorithm>
#include <cstdlib>
#include <random>

#include "capture/clipboard_copy_win.h"
#include "commands/picture_io_win.h"
#include "commands/picture_transfer_win.h"
#include "markup/markup_session.h"
#include "platform/gdi.h"
#include "platform/program_path.h"
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
// shape must be and where it must not. The choices' keys (W, B, S, M) stay chosen for the
// rows below them, as for a person; the pen's row then drags a handle of the stroke.
TEST_F(MarkupTest, EveryToolDrawnWithTheMouseLandsWhereThePointerPutIt) {
    constexpr uint32_t red = 0xE0201B;
    enum What { Original, Colour, Tinted, Black, Mosaic };
    struct Expect { Point at; What what; };
    struct Case {
        const char* keys;
        Point from, to;
        std::vector<Expect> expect;
        const wchar_t* typed = nullptr;  // after the click, then Enter
        Point grab{}, drop{};            // a handle dragged with V after drawing
    };
    const Case cases[] = {
        {"R", {50, 50}, {150, 120}, {{{50, 80}, Colour}, {{51, 80}, Colour}, {{149, 120}, Colour}, {{100, 85}, Original},
                                      {{52, 80}, Original}, {{49, 80}, Original}, {{100, 121}, Original}}},
        {"E", {50, 50}, {150, 120}, {{{51, 85}, Colour}, {{100, 51}, Colour}, {{100, 85}, Original}, {{52, 53}, Original}}},
        {"L", {40, 200}, {200, 200}, {{{120, 200}, Colour}, {{120, 204}, Original}, {{210, 200}, Original}}},
        {"A", {40, 200}, {200, 200}, {{{120, 200}, Colour}, {{192, 205}, Colour}, {{100, 206}, Original}}},
        // The right end's handle pulled from 200 to 300: the stroke stretches, its left end stays.
        {"P", {40, 40}, {200, 40}, {{{120, 40}, Colour}, {{60, 40}, Colour}, {{280, 40}, Colour}, {{120, 45}, Original},
                                     {{310, 40}, Original}}, nullptr, {200, 40}, {300, 40}},
        {"H", {40, 40}, {200, 40}, {{{120, 40}, Tinted}, {{120, 60}, Original}}},
        {"X", {50, 50}, {150, 120}, {{{50, 50}, Black}, {{150, 120}, Black}, {{100, 85}, Black}, {{49, 50}, Original},
                                      {{151, 120}, Original}, {{100, 121}, Original}}},
        {"N", {100, 100}, {100, 100}, {{{92, 100}, Colour}, {{100, 120}, Original}}},
        {"WR", {50, 50}, {150, 120}, {{{53, 80}, Colour}, {{55, 80}, Original}}},                  // 4 pixels wide
        {"BT", {100, 100}, {100, 100}, {{{100, 108}, Colour}, {{99, 99}, Original}}, L"ab"},       // filled behind
        {"SST", {100, 100}, {100, 100}, {{{101, 140}, Colour}, {{101, 160}, Original}}, L"ab"},    // 40 high
        {"MX", {50, 50}, {150, 120}, {{{100, 85}, Mosaic}, {{60, 60}, Mosaic}, {{49, 50}, Original}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        form->PlacePicture(PictureOf(400, 300, Pattern));
        Keys({VK_CONTROL, 'E'});
        ASSERT_TRUE(Session().Active());
        for (const char* k = c.keys; *k; ++k) Keys({BYTE(*k)});
        if (c.from == c.to) {
            const POINT s = Screen(c.from);
            for (DWORD flags : {0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) MouseAt(s.x, s.y, flags);
            Pump(200);
        } else {
            DragPicture(c.from, c.to);
        }
        if (c.typed) {
            ASSERT_TRUE(PumpUntil([&] { return Session().TextBox() != nullptr; }));
            for (const wchar_t* t = c.typed; *t; ++t) ::SendMessageW(Session().TextBox(), WM_CHAR, *t, 1);
            ::SetFocus(Session().TextBox());
            Keys({VK_RETURN});
        }
        ASSERT_TRUE(PumpUntil([&] { return Session().Current().shapes.size() == 1; }));
        if (c.grab != c.drop) {
            Keys({'V'});
            const Point middle{(c.from.x + c.to.x) / 2, (c.from.y + c.to.y) / 2};
            DragPicture(middle, middle);  // selects it
            DragPicture(c.grab, c.drop);
            ASSERT_TRUE(PumpUntil([&] { return markup::OutlineBox(Session().Current().shapes[0]).Contains(c.drop); }));
        }
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
            if (e.what == Mosaic) { EXPECT_TRUE(got != was && got != 0) << where << " " << std::hex << got; }
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

// The secret's unique pattern: two colours far from everything else these pictures hold
// (grey around the box, black or grey blocks in it, a red arrow, a yellow highlighter).
constexpr uint32_t kSecret[] = {0x12E457, 0x2A3BF0};
uint32_t Grey(int x, int y) { return ((x * 7 + y * 13) & 0xFF) * 0x010101u; }

// Two neighbouring pixels of a secret colour in the bytes (BGR or RGB, three or four bytes
// a pixel), or a decoded pixel near one.
bool ShowsSecret(const std::string& b, const Pixels& decoded) {
    for (const uint32_t c : kSecret) {
        if (std::any_of(decoded.values.begin(), decoded.values.end(), [c](uint32_t v) { return Near(v, c, 40); })) return true;
        for (const bool rgb : {false, true})
            for (const size_t step : {3, 4}) {
                const char p[3] = {char(rgb ? c >> 16 : c), char(c >> 8), char(rgb ? c : c >> 16)};
                for (size_t i = b.find(p, 0, 3); i != b.npos; i = b.find(p, i + 1, 3))
                    if (b.compare(i + step, 3, p, 3) == 0) return true;
            }
    }
    return false;
}

// A secret under the box: the pattern, noise, and random text in several fonts and sizes.
ComPtr<IPicture> SecretPicture(const Rect& box, std::mt19937& rng) {
    ComPtr<IPicture> picture = PictureOf(400, 300, [&](int x, int y) {
        if (!box.Contains({x, y})) return Grey(x, y);
        return y >= box.bottom - 20 ? kSecret[(x / 4 + y / 4) % 2] : uint32_t(rng()) & 0xFFFFFF;
    });
    const UniqueCreatedDc dc(::CreateCompatibleDC(nullptr));
    const SelectGuard bitmap(dc.get(), BitmapOf(picture));
    ::IntersectClipRect(dc.get(), box.left, box.top, box.right, box.bottom - 20);
    const wchar_t* faces[] = {L"Tahoma", L"Courier New", L"Times New Roman", L"WenQuanYi Micro Hei", L"Symbol"};
    const std::wstring letters = L"AKQWZakqwz0179@#_密码账号令牌";
    for (int line = 0; line < 5; ++line) {
        const UniqueFont font(::CreateFontW(-int(8 + rng() % 40), 0, 0, 0, rng() % 2 ? FW_BOLD : FW_NORMAL, rng() % 2, 0, 0, DEFAULT_CHARSET, 0, 0,
                                            rng() % 2 ? ANTIALIASED_QUALITY : NONANTIALIASED_QUALITY, 0, faces[rng() % std::size(faces)]));
        const SelectGuard selected(dc.get(), font.get());
        std::wstring text(3 + rng() % 12, L' ');
        for (wchar_t& c : text) c = letters[rng() % letters.size()];
        ::SetTextColor(dc.get(), rng() & 0xFFFFFF);
        ::SetBkColor(dc.get(), rng() & 0xFFFFFF), ::SetBkMode(dc.get(), rng() % 2 ? OPAQUE : TRANSPARENT);
        ::TextOutW(dc.get(), box.left - 20 + int(rng() % box.Width()), box.top - 10 + int(rng() % box.Height()), text.data(), int(text.size()));
    }
    return picture;
}

// (1) The same box over 100 secrets gives the same picture, solid and mosaic; (3) so does
// an arrow and a highlighter over it, moved, undone and redone, with a crop through it;
// (2) each secret then leaves by one of the program's roads, in turn (every format Save
// writes, also when there is no memory to apply at first; every clipboard format Copy
// offers, and the clipboard that held the secret before; Paint's file; the wallpaper),
// and its pattern is in none of the bytes or the decoded pixels.
TEST_F(MarkupTest, RedactionKeepsNothingOfWhatItHides) {
    const Rect box{120, 80, 260, 170};
    std::mt19937 rng(11);
    std::vector<uint32_t> first[4];
    ScriptedDialogs dialogs;
    TempDir dir;
    struct Out { std::string bytes; Pixels pixels; UINT format = 0; };
    auto file = [](const std::wstring& path) { return Out{ReadFileBytes(path), ReadPixels(BitmapOf(LoadPictureFile(path).value))}; };
    auto save = [&](const wchar_t* name) { return dialogs.fileAnswers = {dir.File(name)}, form->RunCommand(IDM_SAVE), std::vector{file(dir.File(name))}; };
    const std::wstring log = dir.File(L"paint.log"), command = L"\"" + TestProgram(L"paint_recorder.exe") + L"\" \"%1\"";
    ::SetEnvironmentVariableW(L"VX_PAINT_LOG", log.c_str());
    ::RegSetKeyValueW(HKEY_CLASSES_ROOT, L"Paint.Picture\\shell\\edit\\command", nullptr, REG_SZ, command.c_str(), (command.size() + 1) * 2);
    auto clipboard = [&] {
        std::vector<Out> outs;
        if (!::OpenClipboard(nullptr)) return outs;
        for (UINT format = 0; (format = ::EnumClipboardFormats(format));) {  // each rendered now if it was only announced
            const HANDLE data = ::GetClipboardData(format);
            Out& out = outs.emplace_back(Out{{}, {}, format});
            if (format == CF_BITMAP) out.pixels = ReadPixels(static_cast<HBITMAP>(data));
            else if (const GlobalLockGuard locked(data); locked.data()) out.bytes.assign(static_cast<const char*>(locked.data()), ::GlobalSize(data));
            if (format == PngClipboardFormat()) out.pixels = ReadPixels(BitmapOf(LoadPictureBytes(nullptr, 0, out.bytes.data(), out.bytes.size()).value));
        }
        return ::CloseClipboard(), outs;
    };
    auto enter = [&] { return Keys({VK_RETURN}), clipboard(); };
    // Each road, and what came before the markup: the secret put on the clipboard.
    const struct { const char* name; std::function<void()> before; std::function<std::vector<Out>()> leave; } roads[] = {
        {"BMP", {}, [&] { return save(L"s.bmp"); }}, {"JPEG", {}, [&] { return save(L"s.jpg"); }}, {"PNG", {}, [&] { return save(L"s.png"); }},
        {"GIF", {}, [&] { return save(L"s.gif"); }}, {"TIFF", {}, [&] { return save(L"s.tif"); }},
        {"BMP, with no memory to apply at first", {}, [&] {
             SimulateBitmapFailure(true);
             std::vector outs = save(L"early.bmp");  // not written: the markup is not in it
             const size_t told = dialogs.boxes.size();
             form->RunCommand(IDM_SAVE, Road::Toolbar);  // silent from the toolbar, applying included
             EXPECT_EQ(dialogs.boxes.size(), told);
             return SimulateBitmapFailure(false), outs.push_back(save(L"late.bmp")[0]), outs;
         }},
        {"Copy", {}, [&] { return form->RunCommand(IDM_COPY), clipboard(); }},
        {"Copy before, then Enter", [&] { form->RunCommand(IDM_COPY); }, enter},
        {"the free region's copy, then Enter", [&] { CopyScreenAreaToClipboard(form->hwnd(), CopyBitmapArea(BitmapOf(form->Doc().PicBmp.Picture), 0, 0, 400, 300)); }, enter},
        {"Paint", {}, [&] {
             ::DeleteFileW(log.c_str()), form->RunCommand(IDM_MSPAINT);
             std::string line;
             PumpUntil([&] { return (line = ReadFileBytes(log)).find('\n') != line.npos; }, 15000);
             const std::wstring scratch = ProgramFolder() + L"\\Temp\\temp.bmp";
             return line.find(Narrow(scratch)) != line.npos ? std::vector{file(scratch)} : std::vector<Out>{};
         }},
        {"wallpaper", {}, [&] { return form->RunCommand(IDM_WALLPAPER), std::vector{file(RegString(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper"))}; }},
    };
    for (int secret = 0; secret < 100; ++secret) {
        const int variant = secret / 11 % 4, mosaic = variant & 1, objects = variant & 2;
        auto draw = [&](markup::Tool tool, Point a, Point b) { Session().ChooseTool(tool), Draw(a, b); };
        const auto& road = roads[secret % std::size(roads)];
        SCOPED_TRACE(std::to_string(secret) + " " + road.name);
        form->PlacePicture(SecretPicture(box, rng));
        if (road.before) road.before();
        form->mnuMarkup_Click();
        if (mosaic != (Session().CurrentStyle().redact == markup::RedactStyle::Mosaic)) Session().ToggleRedactStyle();
        draw(markup::Tool::Redact, {box.left, box.top}, {box.right - 1, box.bottom - 1});
        if (objects) {
            draw(markup::Tool::Arrow, {100, 100}, {200, 150});
            draw(markup::Tool::Highlighter, {110, 120}, {280, 120});
            draw(markup::Tool::Select, {150, 125}, {160, 135});  // moves the highlighter
            Session().Undo(), Session().Redo();
            draw(markup::Tool::Crop, {150, 0}, {399, 299});
            ASSERT_EQ(Session().Current().shapes.size(), 3u);
            ASSERT_NE(Session().Current().shapes[2].points[0], (Point{110, 120}));
        }
        const std::vector<Out> outs = road.leave();
        ASSERT_FALSE(Session().Active());
        const Pixels px = Picture();
        ASSERT_EQ(px.width, objects ? 250 : 400);
        if (first[variant].empty()) first[variant] = px.values;
        EXPECT_TRUE(px.values == first[variant]) << "the picture depends on what was hidden";
        ASSERT_TRUE(std::any_of(outs.begin(), outs.end(), [&](const Out& o) { return o.pixels.width == px.width; }));
        for (const Out& out : outs) EXPECT_FALSE(ShowsSecret(out.bytes, out.pixels)) << "clipboard format " << out.format;
    }
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L"Paint.Picture");
    form->RunCommand(IDM_CLEARWALL);
}

}  // namespace
}  // namespace vx::test
