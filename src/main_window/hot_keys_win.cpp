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

void FrmMain::HotKey_Press(int id) {
    const unsigned command = HotKeyCommand(id);
    // No capture under a dialog or question of the program's own, none while a command
    // runs, and no second selection.
    if (!command || ModalOpen() || commandsRunning_ || selection_.Busy() || scroll_.Busy()) return;
    // Alt+Print Screen is pressed in another program: its window would take the Alt
    // released on its own as the key that opens its menu. A key that is no key,
    // between the two, makes it an Alt chord instead.
    if (command == IDM_ACTIVEWINDOW_NOW && ::GetAsyncKeyState(VK_MENU) < 0) {
        constexpr WORD kUnassignedKey = 0xE8;
        INPUT mask[2] = {};
        for (INPUT& in : mask) in.type = INPUT_KEYBOARD, in.ki.wVk = kUnassignedKey;
        mask[1].ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(2, mask, sizeof(INPUT));
    }
    const bool behind = ::GetForegroundWindow() != hwnd_;
    RunCommand(command, Road::Menu);
    // The free region and the scrolling capture end as they do from the menu.
    if (command != IDM_SCREEN && command != IDM_ACTIVEWINDOW_NOW) return;
    // A window manager raises a window behind another program's when asked, but
    // gives the keyboard only to a window that appears: it is shown anew.
    if (command == IDM_ACTIVEWINDOW_NOW && behind && !::IsIconic(hwnd_)) ::ShowWindow(hwnd_, SW_HIDE);
    // Back in front with the picture, normal even when it was minimised or maximised.
    BackToNormal();
    BringToFront();
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
    // Given the keyboard once more a moment later, when the window is surely on the
    // screen again: under X a focus given to a window not yet shown is lost, and the
    // activation can fall to the desktop when the keyboard moves late.
    refocusTicks_ = 0;
    ::SetTimer(hwnd_, kRefocusTimer, 50, nullptr);
}

void FrmMain::Refocus() {
    constexpr int kTicks = 10;
    const HWND front = ::GetForegroundWindow();
    // Not while the window is minimised again or another pick has begun.
    const bool over = ::IsIconic(hwnd_) || selection_.Busy() || scroll_.Busy();
    if (++refocusTicks_ >= kTicks || over) ::KillTimer(hwnd_, kRefocusTimer);
    if (over) return;
    if (!front || front == ::GetDesktopWindow()) {
        ::SetForegroundWindow(hwnd_);
        ::SetFocus(hwnd_);
    } else if (refocusTicks_ == 1 && front == hwnd_ && ::GetFocus() == hwnd_) {
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
