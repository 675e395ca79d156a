// The two language commands: re-caption the window from a file beside the program.
#include "../main_window/frm_main.h"
#include "../main_window/program_path.h"
#include "../resources/resource.h"
#include "language_loader.h"

namespace vx {
namespace {

void ApplyShippedLanguage(FrmMain& form, const wchar_t* file) {
    const std::wstring folder = ProgramFolder() + L"\\language";
    if (ApplyLanguageFile(form, folder, file)) return;
    // Nothing has changed; say which file is missing instead of blanking the menus.
    form.ReportFailure(form.LoadText(IDS_MSG_LANGUAGE_MISSING) + L"\r\n" + JoinFolderAndFile(folder, file));
}

}  // namespace

void FrmMain::mnuChinese_Click() { ApplyShippedLanguage(*this, L"\\chinese.lng"); }
void FrmMain::mnuEnglish_Click() { ApplyShippedLanguage(*this, L"\\English.lng"); }

}  // namespace vx
