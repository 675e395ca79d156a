#include "dialogs.h"

#include "unique_handle.h"

namespace vx {
namespace {
Dialogs g_real;
Dialogs* g_current = nullptr;
int g_modal = 0;

// Counts the dialogs open, nested ones included.
struct ModalScope {
    ModalScope() { ++g_modal; }
    ~ModalScope() { --g_modal; }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
};

}  // namespace

int Dialogs::MessageBox(HWND owner, const wchar_t* text, const wchar_t* title, UINT style) {
    ModalScope open;
    return ::MessageBoxW(owner, text, title, style);
}
bool Dialogs::GetOpenFileName(OPENFILENAMEW& ofn) {
    ModalScope open;
    return ::GetOpenFileNameW(&ofn) != FALSE;
}
bool Dialogs::GetSaveFileName(OPENFILENAMEW& ofn) {
    ModalScope open;
    return ::GetSaveFileNameW(&ofn) != FALSE;
}
bool Dialogs::PrintDlg(PRINTDLGW& pd) {
    ModalScope open;
    return ::PrintDlgW(&pd) != FALSE;
}
bool Dialogs::ChooseColor(CHOOSECOLORW& cc) {
    ModalScope open;
    return ::ChooseColorW(&cc) != FALSE;
}
bool ModalOpen() { return g_modal > 0; }

// comdlg32 only, so no spooler library joins the program's imports.
bool Dialogs::AnyPrinterInstalled() {
    PRINTDLGW probe{};
    probe.lStructSize = sizeof probe;
    probe.Flags = PD_RETURNDEFAULT;
    const bool found = ::PrintDlgW(&probe) != FALSE;
    UniqueGlobal devMode(probe.hDevMode), devNames(probe.hDevNames);
    return found;
}

Dialogs& CurrentDialogs() { return g_current ? *g_current : g_real; }
void SetDialogs(Dialogs* dialogs) { g_current = dialogs; }

}  // namespace vx
