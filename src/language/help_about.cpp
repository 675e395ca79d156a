// Help and About.
#include "../main_window/dialogs.h"
#include "../main_window/frm_main.h"
#include "../main_window/program_path.h"
#include "../resources/resource.h"
#include "help_viewer.h"
#include "language_file.h"

namespace vx {
namespace {

constexpr wchar_t kAboutText[] = L"Vellumox\r\n\r\nhttps://vellumox.example/";

std::wstring SystemFolder() {
    wchar_t buffer[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(buffer, length) : std::wstring();
}

}  // namespace

UniqueProcess StartHelpViewer(const std::wstring& programFolder) {
    const std::wstring system = SystemFolder();
    if (system.empty()) return UniqueProcess();
    const std::wstring editor = system + L"\\notepad.exe";
    const std::wstring readme = JoinFolderAndFile(programFolder, L"\\readme.txt");
    // Paths cannot hold '"', so plain quotes keep a folder with spaces in one argument.
    std::wstring commandLine = L"\"" + editor + L"\" \"" + readme + L"\"";
    STARTUPINFOW startup{sizeof startup};
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(editor.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info)) {
        return UniqueProcess();
    }
    ::CloseHandle(info.hThread);
    return UniqueProcess(info.hProcess);
}

void FrmMain::mnuHowto_Click() {
    UniqueProcess viewer = StartHelpViewer(ProgramFolder());
    if (!viewer) {
        // The editor started before (if any) stays the one Exit will end.
        ReportFailure(LoadText(IDS_MSG_HELP_FAILED));
        return;
    }
    HelpViewer = std::move(viewer);
}

void FrmMain::mnuAbout_Click() {
    CurrentDialogs().MessageBox(hwnd_, kAboutText, LoadText(IDS_MSG_ABOUT_TITLE).c_str(), MB_OK | MB_ICONINFORMATION);
}

}  // namespace vx
