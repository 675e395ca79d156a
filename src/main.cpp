// Vellumox: start-up.
#include "capture/capture_api.h"
#include "main_window/dpi.h"
#include "main_window/frm_main.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand) {
    vx::DeclareDpiAwareness();
    if (FAILED(::OleInitialize(nullptr))) return 1;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    int code = 1;
    {
        vx::FrmMain form;
        if (form.Create(instance)) {
            form.Show(showCommand);
            code = form.RunMessageLoop();
        }
    }
    ::OleUninitialize();
    return code;
}
