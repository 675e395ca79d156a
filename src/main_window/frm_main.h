#pragma once
// FrmMain: the program's one window. The window procedure only cracks messages and
// calls the named handlers; each handler family lives in its own file.
#include <string>

#include "../capture/unique_handle.h"
#include "../commands/cd_open.h"
#include "picture_box.h"
#include "scroll_bar.h"

namespace vx {

enum : int { kScaleTwips = 1, kScalePixels = 3 };

class FrmMain {
public:
    FrmMain();
    ~FrmMain();
    FrmMain(const FrmMain&) = delete;
    FrmMain& operator=(const FrmMain&) = delete;

    // Creates the window and its controls and runs Form_Load; the window is not shown.
    bool Create(HINSTANCE instance);
    // Shows the window in the normal state at the place Form_Load gave it.
    void Show(int showCommand);
    // The message loop with the accelerators; returns the exit code.
    int RunMessageLoop();
    // Closing as the close box does (Form_Unload decides); true when the window went.
    bool RequestClose();

    HWND hwnd() const { return hwnd_; }
    HINSTANCE instance() const { return instance_; }

    // ---- start-up and placement
    void Form_Load();
    // False when the settings store could not be written.
    bool SaveWindowPlacement();

    // ---- layout and image view
    void Form_Resize();
    void HScroll1_Change();
    void HScroll1_Scroll();
    void VScroll1_Change();
    void VScroll1_Scroll();

    // ---- closing and exit; returns Cancel (true keeps the window open)
    bool Form_Unload();
    void mnuExit_Click();

    // ---- mouse on the window's own surface (X, Y in the current scale unit)
    void Form_MouseDown(int button, int shift, double x, double y);
    void Form_MouseUp(int button, int shift, double x, double y);

    // ---- commands
    void Toolbar1_ButtonClick(int index);
    void mnuOpen_Click();
    void mnusave_Click();
    void mnuClear_Click();
    void mnuWallpaper_Click();
    void mnuClearWall_Click();
    void mnuprint_Click();
    void mnuScreen_Click();
    void mnuDistrict_Click();
    void mnuAtiveWindow_Click();
    void mnuClient_Click();
    void mnuTitleBar_Click();
    void mnuMspaint_Click();
    void mnuChinese_Click();
    void mnuEnglish_Click();
    void mnuHowto_Click();
    void mnuAbout_Click();

    // ---- window properties in twips (outer rectangle) and the scale unit
    double Left() const;
    double Top() const;
    double Width() const;
    double Height() const;
    double ScaleWidth() const;   // client width in the current scale unit
    double ScaleHeight() const;
    int WindowState() const;     // 0 normal, 1 minimised, 2 maximised
    void SetWindowState(int state);
    double TwipsPerPixelX() const { return twipsPerPixelX_; }
    double TwipsPerPixelY() const { return twipsPerPixelY_; }
    // One pixel in the current scale unit.
    double ScaleUnitPerPixelX() const { return ScaleMode == kScalePixels ? 1.0 : twipsPerPixelX_; }
    double ScaleUnitPerPixelY() const { return ScaleMode == kScalePixels ? 1.0 : twipsPerPixelY_; }

    // Reports a failure of a command: a message box from the menu, nothing from the toolbar.
    void ReportFailure(const std::wstring& text);
    bool Silent() const { return silent_; }

    // Built-in text from the string table.
    std::wstring LoadText(unsigned id) const;

    // ---- state shared by the handlers
    PictureBox PicBmp;
    bool ImageUnsaved = false;
    bool SelectionArmed = false;
    int ScaleMode = kScaleTwips;
    int MousePointer = 0;  // application-wide pointer: 0 default, 2 crosshair
    CommonDialogState CDopen;
    ScrollBar HScroll1;
    ScrollBar VScroll1;
    HWND picScroll = nullptr;
    HWND Toolbar1 = nullptr;
    HWND StatusBar1 = nullptr;
    HMENU menu = nullptr;
    UniqueProcess HelpViewer;     // the editor the Help command started last
    HWND selectionOverlay = nullptr;  // the frozen screen while a region is selected
    UniqueBitmap frozenScreen;
    // Free-region selection: what a cancel puts back, and whether it came from the toolbar.
    bool selectionPriorUnsaved = false;
    int selectionPriorState = 0;
    bool selectionSilent = false;

    // Replaces the picture of PicBmp, freeing the old one, and repaints the view.
    void PlacePicture(ComPtr<IPicture> picture);

    static FrmMain* FromWindow(HWND hwnd);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(int id);
    void OnScroll(HWND bar, int code);
    void OnNotify(const NMHDR* header, LRESULT& result);
    void OnSize();
    void OnDpiChanged(const RECT* suggested);
    void CreateControls();
    void BuildMenu();
    void UpdateStatusParts();
    void RefreshTwipsPerPixel();

    HINSTANCE instance_ = nullptr;
    HWND hwnd_ = nullptr;
    HACCEL accelerators_ = nullptr;
    UniqueImageList imageList_;
    double twipsPerPixelX_ = 15, twipsPerPixelY_ = 15;
    bool silent_ = false;
    bool closing_ = false;
};

}  // namespace vx
