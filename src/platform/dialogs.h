#pragma once
// The seam for everything modal: message boxes and the common dialogs. The program
// uses the real ones; integration tests install scripted answers.
#include "win32.h"

namespace vx {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual int MessageBox(HWND owner, const wchar_t* text, const wchar_t* title, UINT style);
    virtual bool GetOpenFileName(OPENFILENAMEW& ofn);
    virtual bool GetSaveFileName(OPENFILENAMEW& ofn);
    virtual bool PrintDlg(PRINTDLGW& pd);
    virtual bool ChooseColor(CHOOSECOLORW& cc);
    // Whether there is a default printer, asked without showing anything.
    virtual bool AnyPrinterInstalled();
};

// The dialogs in force; tests swap them with SetDialogs and put back nullptr.
Dialogs& CurrentDialogs();
void SetDialogs(Dialogs* dialogs);

// True while one of the program's own dialogs or questions is open (their loops still
// hand messages to the window).
bool ModalOpen();

}  // namespace vx
