#pragma once
// What a command needs from the window: its handle as the owner of dialogs, the shared
// document, telling a failure (or staying silent on the toolbar's road), placing a new
// picture and laying the view out again, and the window's state and size.
#include <string>
#include <vector>

#include "../platform/geometry.h"
#include "../platform/unique_handle.h"
#include "document.h"
#include "form_state.h"

namespace vx {

class CommandHost {
public:
    virtual HWND Owner() const = 0;
    virtual Document& Doc() = 0;

    // A message box from the menu; nothing when the command came from the toolbar.
    virtual void ReportFailure(const std::wstring& text) = 0;

    // Replaces the picture (the old one is freed) and repaints the view.
    virtual void PlacePicture(ComPtr<IPicture> picture) = 0;
    // The layout pass: viewport and scroll bars fitted to the picture.
    virtual void Relayout() = 0;
    // The picture `before` was replaced by its marked-up form (the one placed now).
    virtual void MarkedUp(const ComPtr<IPicture>& before) = 0;

    virtual WindowState GetWindowState() const = 0;
    virtual void SetWindowState(WindowState state) = 0;
    // The outer rectangle on the screen and the client area (origin 0, 0), in pixels.
    virtual Rect OuterPixels() const = 0;
    virtual Rect ClientPixels() const = 0;

    // Lines of a language file: the title, status panel 1 and the 23 menu captions in
    // the file's order; fewer lines change fewer targets.
    virtual void ApplyCaptions(const std::vector<std::wstring>& lines) = 0;

protected:
    ~CommandHost() = default;
};

}  // namespace vx
