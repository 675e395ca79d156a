// The view as a person moves it: after any layout the picture's corner is in view,
// and the wheel and the keys move picture and thumbs together.
#include "platform/units.h"
#include "win_test_support.h"

namespace vx::test {
namespace {

// Every pixel tells where it lies: red + 256 * green = x, blue = y (mod 256).
ComPtr<IPicture> XyPicture(int width, int height) {
    return PictureOf(width, height, [](int x, int y) { return std::uint32_t((x & 255) << 16 | (x & 0xFF00) | (y & 255)); });
}

class ViewInputTest : public MainWindowTest {
protected:
    void SetClientSize(int width, int height) {
        RECT r{0, 0, width, height};
        ::AdjustWindowRectEx(&r, static_cast<DWORD>(::GetWindowLongW(form->hwnd(), GWL_STYLE)), TRUE, 0);
        ::SetWindowPos(form->hwnd(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
        Pump(20);
    }
    void Open(int width, int height) {
        form->PlacePicture(XyPicture(width, height));
        form->Form_Resize();
        Pump(20);
    }
    // The picture's (x, y) shown at the viewport's top-left pixel; {-1, -1} for the workspace colour.
    std::pair<int, int> Corner() {
        ::UpdateWindow(form->picScroll());
        HDC dc = ::GetDC(form->picScroll());
        const COLORREF c = ::GetPixel(dc, 0, 0);
        ::ReleaseDC(form->picScroll(), dc);
        if (c == ::GetSysColor(COLOR_APPWORKSPACE)) return {-1, -1};
        return {GetRValue(c) + 256 * GetGValue(c), GetBValue(c)};
    }
    void Bar(const ScrollBar& bar, int code) {
        ::SendMessageW(form->hwnd(), bar.hwnd == form->HScroll1().hwnd ? WM_HSCROLL : WM_VSCROLL, code,
                       reinterpret_cast<LPARAM>(bar.hwnd));
    }
    int Thumb(const ScrollBar& bar) {
        SCROLLINFO si{sizeof si, SIF_POS};
        ::GetScrollInfo(bar.hwnd, SB_CTL, &si);
        return si.nPos;
    }
    void Keys(std::initializer_list<WORD> keys) {
        std::vector<INPUT> input;
        auto key = [&](WORD vk, DWORD flags) {
            INPUT i{};
            i.type = INPUT_KEYBOARD;
            i.ki.wVk = vk;
            i.ki.dwFlags = flags;
            input.push_back(i);
        };
        for (const WORD k : keys) key(k, 0);
        for (auto k = keys.end(); k != keys.begin();) key(*--k, KEYEVENTF_KEYUP);
        ::SetForegroundWindow(form->hwnd());
        ::SetFocus(form->hwnd());
        ::SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
        Pump(100);
    }
};

TEST_F(ViewInputTest, NoLayoutLeavesThePictureOutOfView) {
    SetClientSize(554, 375);
    // Scrolled, then a smaller picture: both bars hidden, the new picture at the corner.
    Open(2000, 1500);
    for (int i = 0; i < 5; ++i) Bar(form->HScroll1(), SB_LINEDOWN), Bar(form->VScroll1(), SB_LINEDOWN);
    ASSERT_EQ(Corner(), std::make_pair(5, 5));
    Open(100, 80);
    EXPECT_FALSE(form->HScroll1().Visible);
    EXPECT_EQ(Corner(), std::make_pair(0, 0));

    // At the bottom, then a window exactly as tall as the picture: the bar stays with
    // maximum 0, and the top rows come back.
    Open(2000, 600);
    Bar(form->VScroll1(), SB_BOTTOM);
    RECT view{};
    ::GetClientRect(form->picScroll(), &view);
    SetClientSize(554, 375 + 600 - view.bottom);
    ::GetClientRect(form->picScroll(), &view);
    ASSERT_EQ(view.bottom, 600);
    EXPECT_TRUE(form->VScroll1().Visible);
    EXPECT_EQ(form->VScroll1().Max, 0);
    EXPECT_EQ(Corner(), std::make_pair(0, 0));
}

TEST_F(ViewInputTest, WheelAndKeysMoveThePictureAndTheThumbsTogether) {
    SetClientSize(554, 375);
    Open(3000, 3000);
    const ScrollBar& h = form->HScroll1();
    const ScrollBar& v = form->VScroll1();
    UINT lines = 0, chars = 0;
    ::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    ::SystemParametersInfoW(SPI_GETWHEELSCROLLCHARS, 0, &chars, 0);
    ASSERT_GT(lines, 0u);
    const struct {
        const char* what;
        std::function<void()> act;
        int x, y;  // the picture's pixel now at the viewport's corner
    } steps[] = {
        {"a notch down", [&] { ::SendMessageW(form->hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, -120), 0); }, 0, int(lines)},
        {"a touchpad's three thirds", [&] { for (int i = 0; i < 3; ++i) ::SendMessageW(form->hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, -40), 0); }, 0, int(2 * lines)},
        {"Shift and a notch", [&] { ::SendMessageW(form->hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, -120), 0); }, int(lines), int(2 * lines)},
        {"tilted right", [&] { ::SendMessageW(form->hwnd(), WM_MOUSEHWHEEL, MAKEWPARAM(0, 120), 0); }, int(lines + chars), int(2 * lines)},
        {"Down", [&] { Keys({VK_DOWN}); }, int(lines + chars), int(2 * lines + 1)},
        {"Page Down", [&] { Keys({VK_NEXT}); }, int(lines + chars), Nearest(((2 * lines + 1) * 15 + v.LargeChange) / 15.0)},
        {"Ctrl+End", [&] { Keys({VK_CONTROL, VK_END}); }, h.Max / 15, v.Max / 15},
        {"Home", [&] { Keys({VK_HOME}); }, h.Max / 15, 0},
        {"Ctrl+Home", [&] { Keys({VK_CONTROL, VK_HOME}); }, 0, 0},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        EXPECT_EQ(Corner(), std::make_pair(s.x, s.y % 256));
        EXPECT_EQ(Thumb(h), h.Value);
        EXPECT_EQ(Thumb(v), v.Value);
    }
    // Without a vertical bar the wheel scrolls nothing.
    Open(3000, 100);
    ::SendMessageW(form->hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, -120), 0);
    EXPECT_EQ(Corner(), std::make_pair(0, 0));
}

}  // namespace
}  // namespace vx::test
