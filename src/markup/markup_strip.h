#pragma once
// The tool strip, over the main toolbar's row for as long as the markup lasts, so it covers
// none of the picture: a child of the window there (showing it costs no trip to the display
// server). A window too narrow for it gets it in rows, in a window of its own over the menu
// and the toolbar's row when they fit there, else beside the window. Each button's tooltip
// names its key.
#include <functional>

#include "../platform/unique_handle.h"
#include "../platform/window_base.h"

namespace vx::markup {

class MarkupSession;

class MarkupStrip final : public WindowBase {
public:
    MarkupStrip() = default;
    ~MarkupStrip() { Destroy(); }

    bool Create(HWND owner, HWND toolbarRow, MarkupSession* session);
    void Destroy();
    // Shown again for the next session, or hidden until then.
    void Show();
    void Hide();
    // Over the toolbar's row again (the window moved, changed its size or its DPI).
    void Place();
    // Shows the tool, colour and choices in force.
    void Update();
    // The window the buttons are in now.
    HWND Shown() const { return bar_ ? ::GetParent(bar_) : nullptr; }

private:
    // The window of its own for the rows, never active.
    class Popup final : public WindowBase {
    public:
        bool Create(HWND owner);
    private:
        LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    };
    // Lays the buttons out in rows at most `width` wide (one row when it is 0); the size taken.
    SIZE Wrap(int width);
    SIZE WrapAt(int width);  // the same, kept while the width stays
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    HWND bar_ = nullptr, row_ = nullptr, owner_ = nullptr;
    UniqueFont font_;
    MarkupSession* session_ = nullptr;
    Popup popup_;
    bool shown_ = false;
    int wrappedAt_ = -1;  // the width the rows were laid out for, and what they took
    SIZE fit_{}, oneRow_{};
};

}  // namespace vx::markup
