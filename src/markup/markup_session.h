#pragma once
// Marking up the view's picture in place: the objects are drawn over the view, one picture
// pixel per screen pixel, until Enter draws them into the picture (or Escape drops them).
// The window hands over the view's mouse, its keys and its paint while a session runs.
#include <functional>
#include <memory>
#include <optional>

#include "../document/command_host.h"
#include "markup_history.h"
#include "markup_render.h"
#include "markup_strip.h"
#include "markup_tools.h"

namespace vx::markup {

class MarkupSession {
public:
    MarkupSession();
    ~MarkupSession();
    MarkupSession(const MarkupSession&) = delete;
    MarkupSession& operator=(const MarkupSession&) = delete;

    // Starts on the picture of `host` shown in `view`, whose top-left picture pixel lies at
    // `origin()` view pixels; the strip goes over `toolbarRow`. False without a picture.
    bool Start(CommandHost& host, HWND view, HWND toolbarRow, std::function<POINT()> origin);
    bool Active() const { return host_ != nullptr; }
    // Draws the picture with the objects over it into the view's `clip`.
    void Paint(HDC dc, const RECT& clip);
    // Mouse messages of the view (client pixels); true when taken.
    bool OnMouse(UINT message, WPARAM keys, POINT at);
    bool OnSetCursor();
    // A key pressed in the window; true when taken (the others scroll the view).
    bool OnKey(int key);
    // The view scrolled or the window moved: the text box and the strip follow.
    void ViewMoved();
    // Draws everything into the picture and ends; false when that failed (nothing is lost).
    bool Apply();
    // Ends without applying, asking first when anything was drawn; true when it ended.
    bool Discard();
    // Before another command: applies what was drawn (the command then asks about an
    // unsaved picture as always) or ends quietly when nothing was; false when applying
    // failed and the session goes on.
    bool Settle();

    const Document& Current() const { return history_->Current(); }
    const Style& CurrentStyle() const { return style_; }
    Tool CurrentTool() const { return tool_; }
    HWND StripWindow() const { return strip_.Shown(); }
    HWND TextBox() const { return edit_; }

    // Ctrl+Z and Ctrl+Y (or Ctrl+Shift+Z): one step back or forward.
    void Undo() { Step(false); }
    void Redo() { Step(true); }

    // From the strip.
    void ChooseTool(Tool tool);
    void ChooseColour(uint32_t colour);
    // Any other colour, through the system's colour dialog.
    void OtherColour();
    void NextWidth();
    void NextTextSize();
    void ToggleTextBackground();
    void ToggleRedactStyle();

private:
    enum class Gesture { None, Drawing, Moving, Resizing, Cropping };
    Point ToPicture(POINT view) const;
    void Invalidate(Rect picture);
    void End();
    void CancelGesture();
    void Select(int32_t index);
    void Restyle();  // the selected object takes the strip's choices
    void BeginText(Point at, int32_t editing);
    void CommitText();
    void CancelText();
    static LRESULT CALLBACK EditProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    void Do(Rect touched);
    void Step(bool redo);

    CommandHost* host_ = nullptr;
    HWND view_ = nullptr;
    std::function<POINT()> origin_;
    std::unique_ptr<GdiplusSession> gdiplus_;
    std::unique_ptr<History> history_;
    MarkupStrip strip_;
    Tool tool_ = Tool::Arrow;
    Style style_;
    Gesture gesture_ = Gesture::None;
    Point pressed_{}, last_{};
    int32_t selected_ = -1, handle_ = -1;
    std::optional<Shape> preview_;
    Rect cropPreview_;
    HWND edit_ = nullptr;
    UniqueFont editFont_;
    UniqueBitmap back_;
    int backWidth_ = 0, backHeight_ = 0;
    int32_t editing_ = -1;  // the text being edited again, or -1 for a new one
    Point editAt_{};
};

}  // namespace vx::markup
