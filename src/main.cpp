// Vellumox: start-up. Without arguments the window; with "/capture ... /save FILE"
// one capture written to a file, then exit.
#include <string>
#include <vector>

#include "command_line.h"
#include "main_window/frm_main.h"
#include "platform/dpi.h"
#include "unattended.h"

namespace {

std::vector<std::wstring> Arguments() {
    std::vector<std::wstring> args;
    int count = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    for (int i = 1; argv && i < count; ++i) args.emplace_back(argv[i]);
    if (argv) ::LocalFree(argv);
    return args;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    // Libraries loaded from here on come from the system folder only, never from the
    // program's own folder (a Downloads folder may hold a planted DLL of the same name).
    ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    vx::DeclareDpiAwareness();
    const vx::CommandLine commandLine = vx::ParseCommandLine(Arguments());
    if (commandLine.capture) {
        // No window: COM only for the imaging component (JPEG, PNG), no OLE services.
        const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        const int result = vx::RunUnattendedCapture(*commandLine.capture);
        if (SUCCEEDED(com)) ::CoUninitialize();
        return result;
    }
    if (FAILED(::OleInitialize(nullptr))) return 1;
    int code = 1;
    if (!commandLine.interactive) {
        ::MessageBoxW(nullptr, commandLine.error.c_str(), L"Vellumox", MB_OK | MB_ICONERROR);
        code = 2;
    } else {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&icc);
        vx::FrmMain form;
        if (form.Create(instance)) {
            form.Show();
            code = form.RunMessageLoop();
        }
    }
    ::OleUninitialize();
    return code;
}
