// Chinese captions need a glyph behind the interface fonts: in a prefix without a CJK
// font linked, "文" draws as the same empty box as an unassigned private-use character.
#include "win_test_support.h"

namespace vx::test {
namespace {

std::vector<std::uint32_t> DrawChar(const LOGFONTW& font, const wchar_t* text) {
    UniqueWindowDc screen = UniqueWindowDc::Client(nullptr);
    UniqueCreatedDc memory(::CreateCompatibleDC(screen.get()));
    UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), 64, 64));
    UniqueHandle<HFONT, DeleteObjectCloser> hfont(::CreateFontIndirectW(&font));
    {
        SelectGuard selectBitmap(memory.get(), bitmap.get());
        SelectGuard selectFont(memory.get(), hfont.get());
        RECT all{0, 0, 64, 64};
        ::FillRect(memory.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ::TextOutW(memory.get(), 4, 4, text, 1);
    }
    return PixelsOf(bitmap.get());
}

// Menus, tooltips and status bar, message boxes, and controls left with the stock font.
TEST(Fonts, ChineseHasGlyphsInEveryInterfaceFont) {
    NONCLIENTMETRICSW metrics{sizeof metrics};
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    LOGFONTW controls{};
    ASSERT_TRUE(::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof controls, &controls));
    for (const LOGFONTW& font : {metrics.lfMenuFont, metrics.lfStatusFont, metrics.lfMessageFont, controls})
        EXPECT_TRUE(DrawChar(font, L"\u6587") != DrawChar(font, L"\uE000"))
            << "no Chinese glyph behind \"" << Narrow(font.lfFaceName) << "\": captions would be boxes";
}

}  // namespace
}  // namespace vx::test
