#include "selection_band_win.h"

#include <string>

#include "../platform/unique_handle.h"

namespace vx {

void DrawSelectionBand(HDC display, const Rect& rect) {
    if (!display || rect.Empty()) return;
    for (const Rect& e : BandEdges(rect)) ::PatBlt(display, e.left, e.top, e.Width(), e.Height(), DSTINVERT);

    const std::string label = SizeLabel(rect);
    const int length = static_cast<int>(label.size());
    SIZE size{};
    ::GetTextExtentPoint32A(display, label.c_str(), length, &size);
    const Point at = LabelPosition(rect, size.cx, size.cy);

    UniqueCreatedDc memory(::CreateCompatibleDC(display));
    if (!memory) return;
    ::SetTextColor(memory.get(), RGB(255, 255, 255));
    ::SetBkColor(memory.get(), RGB(0, 0, 0));
    // Glyph pixels become 1 and the rest of the box 0; on the colour display the 1 bits
    // take the display's white background colour and invert, the 0 bits leave it alone.
    UniqueBitmap mask(::CreateBitmap(size.cx, size.cy, 1, 1, nullptr));
    if (!mask) return;
    SelectGuard select(memory.get(), mask.get());
    ::TextOutA(memory.get(), 0, 0, label.c_str(), length);
    ::BitBlt(display, at.x, at.y, size.cx, size.cy, memory.get(), 0, 0, SRCINVERT);
}

}  // namespace vx
