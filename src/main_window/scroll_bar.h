#pragma once
// HScroll1 / VScroll1: a scroll-bar control with the value, range and steps the
// layout pass sets, in twips and over the full 32-bit range.
#include <cstdint>

#include "../platform/win32.h"
#include "layout.h"

namespace vx {

struct ScrollBar {
    HWND hwnd = nullptr;
    int32_t Value = 0;
    int32_t Max = 32767;
    int32_t SmallChange = 1;
    int32_t LargeChange = 1;
    int32_t PageSize = 0;
    bool Visible = true;

    // Applies a shown bar's range and steps; does not touch the value.
    void SetRange(const BarLayout& bar);
    // Sets the value within 0..Max; true when it changed.
    bool SetValue(int32_t value);
    void Show(bool visible);
    // The new value a scroll-bar notification asks for (thumb positions read with
    // GetScrollInfo, so they carry 32 bits).
    int32_t Requested(int code) const;
};

}  // namespace vx
