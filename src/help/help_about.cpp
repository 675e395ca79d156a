// Help and About.
#include "../platform/dialogs.h"
#include "../platform/paths.h"
#include "../platform/program_path.h"
#include "../platform/text.h"
#include "../resources/resource.h"
#include "help_viewer.h"
#include "help_commands.h"

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
    UniqueProcess thread(info.hThread);  // not needed
    return UniqueProcess(info.hProcess);
}

void mnuHowto_Click(CommandHost& host) {
    UniqueProcess viewer = StartHelpViewer(ProgramFolder());
    if (!viewer) {
        // The editor started before (if any) stays the one Exit will end.
        host.ReportFailure(LoadText(IDS_MSG_HELP_FAILED));
        return;
    }
    host.Doc().HelpViewer = std::move(viewer);
}

void mnuAbout_Click(CommandHost& host) {
    CurrentDialogs().MessageBox(host.Owner(), kAboutText, LoadText(IDS_MSG_ABOUT_TITLE).c_str(),
                                MB_OK | MB_ICONINFORMATION);
}

}  // namespace vx
