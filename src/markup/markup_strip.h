#pragma once
// The tool strip: a window of its own over the main toolbar's row for as long as the
// markup lasts, so it covers none of the picture. Each button's tooltip names its key.
#include <functional>

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
    void Hide() { if (hwnd_) ::ShowWindow(hwnd_, SW_HIDE); }
    // Over the toolbar's row again (the window moved or changed its DPI).
    void Place();
    // Shows the tool, colour and choices in force.
    void Update();

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    HWND bar_ = nullptr, row_ = nullptr;
    HFONT font_ = nullptr;
    MarkupSession* session_ = nullptr;
};

}  // namespace vx::markup
