#pragma once
// The tool strip: a window of its own over the main toolbar's row for as long as the
// markup lasts, so it covers none of the picture. Each button's tooltip names its key.
#include <functional>

#include "../platform/win32.h"

namespace vx::markup {

class MarkupSession;

class MarkupStrip {
public:
    MarkupStrip() = default;
    ~MarkupStrip() { Destroy(); }
    MarkupStrip(const MarkupStrip&) = delete;
    MarkupStrip& operator=(const MarkupStrip&) = delete;

    bool Create(HWND owner, HWND toolbarRow, MarkupSession* session);
    void Destroy();
    // Over the toolbar's row again (the window moved or changed its DPI).
    void Place();
    // Shows the tool, colour and choices in force.
    void Update();
    HWND hwnd() const { return hwnd_; }

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    LRESULT Handle(UINT, WPARAM, LPARAM);
    HWND hwnd_ = nullptr, bar_ = nullptr, row_ = nullptr;
    HFONT font_ = nullptr;
    MarkupSession* session_ = nullptr;
};

}  // namespace vx::markup
