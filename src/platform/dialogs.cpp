#include "dialogs.h"

#include "unique_handle.h"

namespace vx {
namespace {
Dialogs g_real;
Dialogs* g_current = nullptr;
}  // namespace

int Dialogs::MessageBox(HWND owner, const wchar_t* text, const wchar_t* title, UINT style) {
    return ::MessageBoxW(owner, text, title, style);
}
bool Dialogs::GetOpenFileName(OPENFILENAMEW& ofn) { return ::GetOpenFileNameW(&ofn) != FALSE; }
bool Dialogs::GetSaveFileName(OPENFILENAMEW& ofn) { return ::GetSaveFileNameW(&ofn) != FALSE; }
bool Dialogs::PrintDlg(PRINTDLGW& pd) { return ::PrintDlgW(&pd) != FALSE; }

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
