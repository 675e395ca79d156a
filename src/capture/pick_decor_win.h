#pragma once
// What is drawn on the frozen screen while a region is picked, never into a picture:
// the outline of the window under the pointer with its size, and the loupe beside the
// pointer (the pixels around it enlarged, its coordinates and colour). Drawn opaque
// over the frozen copy and erased by painting the copy back.
#include <vector>

#include "../platform/unique_handle.h"
#include "loupe_geometry.h"
#include "selection_tracking_win.h"

namespace vx {

class PickDecor final : public TrackingDecor {
public:
    // frozen: a memory context holding the copy of `screen` (screen pixels); owner:
    // the frozen screen's window, which opens the clipboard.
    bool Begin(HDC frozen, const Rect& screen, const std::vector<Rect>& monitors, HWND owner, int dpi);
    // Erases everything and lets the copy go.
    void End();
    bool Active() const { return frozen_ != nullptr; }

    // The outline (empty: none) and the loupe at the pointer, drawn again where they moved.
    void Show(const Rect& outline, Point pointer);
    // While the band is dragged: the outline goes and the loupe's last place that the
    // next one does not cover gets the copy back, before the band is drawn again...
    void Move(Point pointer) override;
    // ...and the loupe is drawn over it afterwards.
    void Draw() override;
    // Paints the copy back under everything drawn.
    void Erase() override;
    // C: the colour's text to the clipboard.
    bool Key(int key) override;
    HDC Canvas() override { return frozenDc_.get(); }

    // The pointer's pixel on the frozen copy as "#RRGGBB", put on the clipboard.
    bool CopyColour() const;
    COLORREF ColourAt(Point p) const;

private:
    void Place(const Rect& outline, Point pointer);
    void Restore(const Rect& r) const;
    void DrawOutline();
    void RenderLoupe();

    HDC frozen_ = nullptr;
    Rect screen_{};
    std::vector<Rect> monitors_;
    HWND owner_ = nullptr;
    int dpi_ = 96;
    UniqueWindowDc frozenDc_;  // the frozen screen's, in screen pixels
    UniqueCreatedDc scratch_;  // the loupe is put together here and shown in one blit
    UniqueBitmap scratchBitmap_;
    HGDIOBJ scratchPrevious_ = nullptr;
    UniqueFont font_;
    int32_t textHeight_ = 0;
    Rect outline_, label_;
    Point pointer_;
    LoupeLayout loupe_;     // where the loupe is to go
    Rect loupeShown_;       // where it is on the screen now (empty: nowhere)
};

}  // namespace vx
