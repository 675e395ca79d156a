// Form_Unload, the Exit command and KillProcess.
#include "../commands/document_commands.h"
#include "../platform/dialogs.h"
#include "../platform/program_path.h"
#include "../platform/text.h"
#include "../resources/resource.h"
#include "close_decision.h"
#include "frm_main.h"

namespace vx {
namespace {

// Ends the process behind the kept handle. The handle, not a bare id, so that an id
// the system has since given to another program can never be hit.
void KillProcess(UniqueProcess& process) {
    if (process) ::TerminateProcess(process.get(), 1);
    process.reset();
}

CloseAnswer ToCloseAnswer(int result) {
    switch (result) {
        case IDYES: return CloseAnswer::Yes;
        case IDNO: return CloseAnswer::No;
        case IDCANCEL: return CloseAnswer::Cancel;
        default: return CloseAnswer::NotAsked;  // the box could not be shown: the close goes ahead
    }
}

}  // namespace

bool FrmMain::Form_Unload() {
    // Stored even when the close is then cancelled. A settings store that cannot be
    // written must not cost the user an unsaved image, so the question still comes.
    SaveWindowPlacement();
    if (!doc_.ImageUnsaved) return false;
    const std::wstring text = LoadText(IDS_MSG_UNSAVED);
    const std::wstring title = ProgramName();
    const CloseAnswer answer = ToCloseAnswer(
        CurrentDialogs().MessageBox(hwnd_, text.c_str(), title.c_str(), MB_YESNOCANCEL | MB_ICONINFORMATION));
    if (answer == CloseAnswer::Yes) mnusave_Click(*this);  // tells its outcome only through ImageUnsaved
    return KeepWindowOpen(answer, doc_.ImageUnsaved);
}

void FrmMain::mnuExit_Click() {
    // Exit closes as the close box does; a cancelled close keeps the editor running too.
    if (!RequestClose()) return;
    KillProcess(doc_.HelpViewer);
}

}  // namespace vx
