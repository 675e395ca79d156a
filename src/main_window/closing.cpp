// Form_Unload, the Exit command and KillProcess.
#include "../commands/document_commands_win.h"
#include "frm_main.h"

namespace vx {
namespace {

// Ends the process behind the kept handle. The handle, not a bare id, so that an id
// the system has since given to another program can never be hit.
void KillProcess(UniqueProcess& process) {
    if (process) ::TerminateProcess(process.get(), 1);
    process.reset();
}

}  // namespace

bool FrmMain::Form_Unload() {
    // A close (the system's log-off too) never leaves the screen frozen.
    CancelPicking();
    // A markup that could not be applied (told) keeps the window, so nothing is lost.
    if (!markup_.Settle()) return true;
    // Stored even when the close is then cancelled. A settings store that cannot be
    // written must not cost the user an unsaved image, so the question still comes.
    SaveWindowPlacement();
    return !SaveFirstIfUnsaved(*this);
}

void FrmMain::mnuExit_Click() {
    // Exit closes as the close box does; a cancelled close keeps the editor running too.
    if (!RequestClose()) return;
    KillProcess(doc_.HelpViewer);
}

}  // namespace vx
