// The Print Screen keys: registered for the window's lifetime, and run as their menu
// items run, unless the program is busy with a dialog, a selection or a capture; and
// the one way every capture ends.
#include "../platform/dialogs.h"
#include "../platform/text.h"
#include "../resources/resource.h"
#include "frm_main.h"
#include "hot_keys.h"

namespace vx {

void FrmMain::RegisterHotKeys() {
    unsigned taken = 0;
    for (const HotKey& key : kHotKeys) {
        // Another program may hold the key (Windows' own capture tool holds Print
        // Screen unless the user gives it up): the program works without it.
        if (!::RegisterHotKey(hwnd_, key.id, key.modifiers | kModNoRepeat, kKeyPrintScreen)) taken |= 1u << key.id;
    }
    if (!taken) return;
    // Told once, without holding up the start: the first status panel until it changes.
    const std::wstring text = FillText(LoadText(IDS_MSG_HOTKEYS_TAKEN), {HotKeyNames(taken)});
    ::SendMessageW(statusBar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void FrmMain::UnregisterHotKeys() {
    for (const HotKey& key : kHotKeys) ::UnregisterHotKey(hwnd_, key.id);
}

namespace {

// A key that is no key, sent while Alt is down, makes the Alt a chord: its release then
// opens no window's menu.
void MaskLoneAlt() {
    if (::GetAsyncKeyState(VK_MENU) >= 0) return;
    constexpr WORD kUnassignedKey = 0xE8;
    INPUT mask[2] = {};
    for (INPUT& in : mask) in.type = INPUT_KEYBOARD, in.ki.wVk = kUnassignedKey;
    mask[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, mask, sizeof(INPUT));
}

}  // namespace

void FrmMain::HotKey_Press(int id) {
    const unsigned command = HotKeyCommand(id);
    // No capture under a dialog or question of the program's own, none while a command
    // runs, and no second selection.
    if (!command || ModalOpen() || commandsRunning_ || selection_.Busy() || scroll_.Busy()) return;
    const IPicture* before = doc_.PicBmp.Picture.get();
    // Alt+Print Screen is pressed in another program: its window would take the Alt
    // released on its own as the key that opens its menu.
    if (command == IDM_ACTIVEWINDOW_NOW) MaskLoneAlt();
    const bool behind = ::GetForegroundWindow() != hwnd_;
    RunCommand(command, Road::Menu);
    // The free region goes through the clipboard already; the scrolling capture ends later.
    copyWhenScrollEnds_ = command == IDM_SCROLL && scroll_.Busy();
    if (command != IDM_SCREEN && command != IDM_ACTIVEWINDOW_NOW) return;
    if (doc_.PicBmp.Picture.get() != before) PrintScreenCaptureEnded();
    // A window manager raises a window behind another program's when asked, but
    // gives the keyboard only to a window that appears: it is minimised and restored
    // (hiding it instead left the keyboard stuck with it without a window manager).
    if (command == IDM_ACTIVEWINDOW_NOW && behind && !::IsIconic(hwnd_)) ::ShowWindow(hwnd_, SW_SHOWMINNOACTIVE);
    // Back in front with the picture, normal even when it was minimised or maximised.
    BackToNormal();
    BringToFront();
    // The Alt still held is released over this window now: no menu bar of its own either.
    if (command == IDM_ACTIVEWINDOW_NOW) MaskLoneAlt();
}

void FrmMain::BackToNormal() {
    SetWindowState(WindowState::Normal);
    // Restoring a window minimised from maximised brings it back maximised first.
    if (GetWindowState() != WindowState::Normal) SetWindowState(WindowState::Normal);
}

void FrmMain::BringToFront() {
    if (!hwnd_ || ::IsIconic(hwnd_)) return;
    // Raised as well as activated: a window manager that has given the keyboard to
    // another program's window meanwhile hears of the raise, not of the activation.
    ::SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(hwnd_);
    ::SetActiveWindow(hwnd_);
    ::SetFocus(hwnd_);
    // Once more when the capture's own messages are done: under X a keyboard given to a
    // window that is still being shown is lost, though the window counts as active.
    ::PostMessageW(hwnd_, kRefocusMessage, 0, 0);
}

void FrmMain::Refocus() {
    // Not when the window went or another pick has begun meanwhile.
    if (::IsIconic(hwnd_) || selection_.Busy() || scroll_.Busy()) return;
    const HWND front = ::GetForegroundWindow();
    if (!front || front == ::GetDesktopWindow()) {
        ::SetForegroundWindow(hwnd_);
        ::SetFocus(hwnd_);
    } else if (front == hwnd_ && ::GetFocus() == hwnd_) {
        ::SetFocus(nullptr);
        ::SetFocus(hwnd_);
    }
}

void FrmMain::EndCapture(ComPtr<IPicture> picture, bool tell) {
    DropQueuedHotKeys();
    if (!hwnd_) return;  // closed meanwhile
    BringToFront();
    if (!picture) {
        // No memory for the bitmap: the picture that was there stays, and its state.
        if (tell) ReportFailure(LoadText(IDS_MSG_CAPTURE_NO_MEMORY));
        return;
    }
    PlacePicture(std::move(picture));
    doc_.ImageUnsaved = true;
    Relayout();
}

void FrmMain::PrintScreenCaptureEnded() {
    copyWhenScrollEnds_ = false;
    // Silent: the picture is in the view whatever the clipboard does.
    clipboard_.Offer(hwnd_, doc_.PicBmp.Picture);
}

void FrmMain::DropQueuedHotKeys() {
    // A key pressed while a command ran waited in the queue: it must not run afterwards.
    MSG message{};
    while (hwnd_ && ::PeekMessageW(&message, hwnd_, WM_HOTKEY, WM_HOTKEY, PM_REMOVE)) {
        // Peeking takes WM_QUIT whatever the filter: the command closed the window.
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
    }
}

}  // namespace vx
