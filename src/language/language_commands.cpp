// The two language commands: re-caption the window from a file beside the program.
#include "language_commands.h"

#include "../platform/paths.h"
#include "../platform/program_path.h"
#include "../platform/text.h"
#include "../resources/resource.h"
#include "language_loader.h"

namespace vx {
namespace {

void ApplyShippedLanguage(CommandHost& host, const wchar_t* file) {
    const std::wstring folder = ProgramFolder() + L"\\language";
    if (ApplyLanguageFile(host, folder, file)) return;
    // Nothing has changed; say which file is missing instead of blanking the menus.
    host.ReportFailure(LoadText(IDS_MSG_LANGUAGE_MISSING) + L"\r\n" + JoinFolderAndFile(folder, file));
}

}  // namespace

void mnuChinese_Click(CommandHost& host) { ApplyShippedLanguage(host, L"\\chinese.lng"); }
void mnuEnglish_Click(CommandHost& host) { ApplyShippedLanguage(host, L"\\English.lng"); }

}  // namespace vx
