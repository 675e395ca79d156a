#pragma once
// FrmMain: the program's one window. It creates the controls, cracks messages and
// hands each to a named handler; the commands' bodies live in the feature folders and
// reach the window only through CommandHost.
#include <string>
#include <vector>

#include "../capture/region_selection_win.h"
#include "../capture/scroll_capture_win.h"
#include "../commands/picture_drag_win.h"
#include "../commands/picture_transfer_win.h"
#include "../document/capture_host.h"
#include "../markup/markup_session.h"
#include "../platform/window_base.h"
#include "image_view.h"
#include "scroll_bar.h"
#include "view_input.h"

namespace vx {

// Which road a command came by: the toolbar's is silent about failures.
enum class Road { Menu, Toolbar };

class FrmMain final : public CaptureHost, public WindowBase {
public:
    FrmMain();
    ~FrmMain();
    FrmMain(const FrmMain&) = delete;
    FrmMain& operator=(const FrmMain&) = delete;

    // Creates the window and its controls and runs Form_Load; the window is not shown.
    bool Create(HINSTANCE instance);
    // Shows the window in the normal state at the place Form_Load gave it.
    void Show();
    // The message loop with the accelerators; returns the exit code.
    int RunMessageLoop();
    // Closing as the close box does (Form_Unload decides); true when the window went.
    bool RequestClose();

    // Opens a picture named on the command line or dropped on the window.
    void OpenFile(const std::wstring& path);
    // Ends a free-region or scrolling pick that is armed (but not the one `exceptFor` arms).
    void CancelPicking(unsigned exceptFor = 0);
    // Runs the command of a menu item (or a toolbar button) by its id.
    void RunCommand(unsigned id, Road road = Road::Menu);
    void Toolbar1_ButtonClick(int index);
    // Ctrl+E: marks up the picture in place; again, applies what was drawn.
    void mnuMarkup_Click();

    void Form_Load();
    bool SaveWindowPlacement();  // false when the settings store could not be written
    void Form_Resize();
    void HScroll1_Change();
    void HScroll1_Scroll();
    void VScroll1_Change();
    void VScroll1_Scroll();
    bool Form_Unload();  // true keeps the window open (Cancel)
    void mnuExit_Click();
    // Mouse on the window's own surface, X and Y in the current scale unit.
    void Form_MouseDown(int button, int shift, double x, double y);
    void Form_MouseUp(int button, int shift, double x, double y);
    // A Print Screen key (its hot-key id) pressed in any program.
    void HotKey_Press(int id);
    // The picture's context menu at a screen point (the mouse), or at the view's
    // corner (the Menu key, Shift+F10).
    void Picture_ContextMenu(POINT screen, bool fromKeyboard);
    // The left button pressed on the picture (view pixels): a drag beyond the system's
    // distance carries the picture out.
    void Picture_MouseDown(POINT view);

    // CommandHost
    HWND Owner() const override { return hwnd_; }
    Document& Doc() override { return doc_; }
    void ReportFailure(const std::wstring& text) override;
    void PlacePicture(ComPtr<IPicture> picture) override;
    void MarkedUp(const ComPtr<IPicture>& before) override { clipboard_.Follow(hwnd_, before, doc_.PicBmp.Picture); }
    void Relayout() override { Form_Resize(); }
    WindowState GetWindowState() const override;
    void SetWindowState(WindowState state) override;
    Rect OuterPixels() const override;
    Rect ClientPixels() const override;
    void ApplyCaptions(const std::vector<std::wstring>& lines) override;

    // CaptureHost
    bool Silent() const override { return silent_; }
    ScaleMode GetScaleMode() const override { return scaleMode_; }
    void SetScaleMode(ScaleMode mode) override { scaleMode_ = mode; }
    void SetMousePointer(MousePointer pointer) override { mousePointer_ = pointer; }
    void BackToNormal() override;
    void EndCapture(ComPtr<IPicture> picture, bool tell) override;

    // The client size in the current scale unit, and the screen's twips per pixel.
    double ScaleWidth() const;
    double ScaleHeight() const;
    double TwipsPerPixelX() const { return twipsPerPixelX_; }
    double TwipsPerPixelY() const { return twipsPerPixelY_; }

    // What tests and benchmarks look at.
    const Document& Doc() const { return doc_; }
    const RegionSelection& Selection() const { return selection_; }
    const ScrollCapture& Scroll() const { return scroll_; }
    markup::MarkupSession& Markup() { return markup_; }
    MousePointer GetMousePointer() const { return mousePointer_; }
    const ScrollBar& HScroll1() const { return hscroll_; }
    const ScrollBar& VScroll1() const { return vscroll_; }
    HWND picScroll() const { return picScroll_.hwnd(); }
    HWND Toolbar1() const { return toolbar_; }
    HWND StatusBar1() const { return statusBar_; }
    HMENU Menu() const { return menu_; }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnScroll(HWND bar, int code);
    LRESULT OnNotify(const NMHDR* header);
    void OnSize();
    void OnDropFiles(HDROP drop);
    void OnDpiChanged(const RECT* suggested);
    // Wheel and keys in the view; delta > 0 toward the top (or the left).
    void OnWheel(int delta, bool horizontal);
    bool OnViewKey(int key);
    void ScrollTo(bool horizontal, int32_t value);
    // One wheel line or arrow key: a line of the message font, in the bar's twips.
    int32_t TextLineStep(bool horizontal) const;
    bool CreateControls();
    void RegisterHotKeys();
    void UnregisterHotKeys();
    void DropQueuedHotKeys();
    // A capture a Print Screen key started has ended: its picture goes on the
    // clipboard too, as the key did before the program took it.
    void PrintScreenCaptureEnded();
    // In front of every other window, active, with the keyboard.
    void BringToFront();
    void Refocus();
    static constexpr UINT kRefocusMessage = WM_APP + 7;
    void UpdateStatusParts();
    void ShowStartTime();
    void RestoreWindowPlacement();
    // One pixel in the current scale unit.
    double ScaleUnitPerPixelX() const { return scaleMode_ == ScaleMode::Pixels ? 1.0 : twipsPerPixelX_; }
    double ScaleUnitPerPixelY() const { return scaleMode_ == ScaleMode::Pixels ? 1.0 : twipsPerPixelY_; }
    RECT WindowPixels() const;
    RECT NormalBounds() const;  // the restored bounds, also while maximised

    HINSTANCE instance_ = nullptr;
    HACCEL accelerators_ = nullptr;
    HMENU menu_ = nullptr;
    Viewport picScroll_{*this};
    HWND toolbar_ = nullptr;
    HWND statusBar_ = nullptr;
    ScrollBar hscroll_, vscroll_;
    WheelAccumulator hwheel_, vwheel_;
    UniqueImageList imageList_;
    Document doc_;
    ClipboardOffer clipboard_;
    PictureDrag drag_;
    bool copyWhenScrollEnds_ = false;  // Shift+Print Screen's capture, until it places its picture
    RegionSelection selection_;
    ScrollCapture scroll_;
    markup::MarkupSession markup_;
    ScaleMode scaleMode_ = ScaleMode::Twips;
    MousePointer mousePointer_ = MousePointer::Default;
    double twipsPerPixelX_ = 15, twipsPerPixelY_ = 15;
    int textLinePixels_ = 16;  // at the window's DPI
    bool silent_ = false;
    bool closing_ = false;
    int commandsRunning_ = 0;  // the Print Screen keys run while none is
};

}  // namespace vx
