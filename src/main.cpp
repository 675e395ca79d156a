// Vellumox: start-up. The window (with a picture opened by name), one unattended
// capture written to a file, or the accepted forms of the command line.
#include <cstdlib>
#include <string>
#include <vector>

#include "command_line.h"
#include "main_window/frm_main.h"
#include "platform/dpi.h"
#include "platform/program_path.h"
#include "platform/text.h"
#include "resources/resource.h"
#include "unattended.h"

namespace {

// The C runtime's split of the command line (quotes group, so "Open with" gives one
// path with its spaces), read without loading the shell for it.
std::vector<std::wstring> Arguments() {
    std::vector<std::wstring> args;
    for (int i = 1; __wargv && i < __argc; ++i) args.emplace_back(__wargv[i]);
    return args;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    // Libraries loaded from here on come from the system folder only, never from the
    // program's own folder (a Downloads folder may hold a planted DLL of the same name).
    ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    vx::DeclareDpiAwareness();
    const vx::CommandLine commandLine = vx::ParseCommandLine(Arguments());
    using Action = vx::CommandLine::Action;
    switch (commandLine.action) {
        case Action::Capture:
            return vx::RunUnattendedCapture(*commandLine.capture);
        case Action::Usage:
        case Action::Invalid: {
            if (commandLine.unattended) return vx::ReportUnattendedUsage(commandLine);
            const bool asked = commandLine.action == Action::Usage;
            // From a console the text goes there; from Explorer, in a box.
            const std::wstring usage = vx::LoadText(IDS_MSG_USAGE);
            if (!vx::WriteToConsole(usage, !asked)) {
                ::MessageBoxW(nullptr, usage.c_str(), vx::ProgramName().c_str(),
                              MB_OK | (asked ? MB_ICONINFORMATION : MB_ICONERROR));
            }
            return asked ? vx::kExitOk : vx::kExitUsage;
        }
        case Action::Window:
        case Action::Open:
            break;
    }
    if (FAILED(::OleInitialize(nullptr))) return 1;
    int code = 1;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    {
        vx::FrmMain form;
        if (form.Create(instance)) {
            form.Show();
            if (commandLine.action == Action::Open) form.OpenFile(commandLine.openPath);
            code = form.RunMessageLoop();
        }
    }
    ::OleUninitialize();
    return code;
}
