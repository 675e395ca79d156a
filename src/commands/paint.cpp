// Edit in Paint.
#include "../platform/paths.h"
#include "../platform/program_path.h"
#include "../platform/text.h"
#include "../resources/resource.h"
#include "document_commands.h"
#include "picture_io.h"

namespace vx {
namespace {

bool ToSystemCodePage(const std::wstring& text, std::string& out) {
    BOOL lossy = FALSE;
    const int n = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, nullptr, 0, nullptr, &lossy);
    if (n <= 0 || lossy) return false;
    out.assign(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, out.data(), n, nullptr, nullptr);
    out.pop_back();
    return true;
}

// Why the shell refused: its last error, or else the old-style code it leaves in
// hInstApp (a stale error from an earlier call must never be told instead).
DWORD ShellFailure(HINSTANCE result) {
    if (const DWORD last = ::GetLastError()) return last;
    switch (static_cast<int>(reinterpret_cast<INT_PTR>(result))) {
        case SE_ERR_ACCESSDENIED: return ERROR_ACCESS_DENIED;
        case SE_ERR_FNF: return ERROR_FILE_NOT_FOUND;
        case SE_ERR_PNF: return ERROR_PATH_NOT_FOUND;
        case SE_ERR_OOM: return ERROR_NOT_ENOUGH_MEMORY;
        case SE_ERR_SHARE: return ERROR_SHARING_VIOLATION;
        default: return ERROR_NO_ASSOCIATION;  // SE_ERR_NOASSOC and the rest: nothing to run it with
    }
}

// The shell's "edit" verb of the class Paint.Picture on the file; no process handle
// is asked for or kept. Without a window of its own for errors: the caller reports.
template <typename Info, typename Char>
bool ShellEdit(HWND owner, const Char* file, const Char* verb, const Char* cls, BOOL(WINAPI* run)(Info*),
               DWORD& error) {
    Info info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_CLASSNAME | SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpVerb = verb;
    info.lpFile = file;
    info.nShow = SW_SHOWNORMAL;
    info.lpClass = cls;
    ::SetLastError(0);
    if (run(&info)) return true;
    error = ShellFailure(info.hInstApp);
    return false;
}

bool RequestPaintEdit(HWND owner, const std::wstring& file, DWORD& error) {
    std::string narrow;
    if (ToSystemCodePage(file, narrow)) {
        return ShellEdit<SHELLEXECUTEINFOA, char>(owner, narrow.c_str(), "edit", "Paint.Picture", ::ShellExecuteExA,
                                                  error);
    }
    return ShellEdit<SHELLEXECUTEINFOW, wchar_t>(owner, file.c_str(), L"edit", L"Paint.Picture", ::ShellExecuteExW,
                                                 error);
}

std::wstring UserScratchFile() {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD n = ::GetTempPathW(MAX_PATH + 1, temp);
    if (n == 0 || n > MAX_PATH) return std::wstring();
    std::wstring folder = temp;
    while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    folder += L"\\Vellumox";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\temp.bmp";
}

}  // namespace

void mnuMspaint_Click(CommandHost& host) {
    if (!RequirePicture(host)) return;
    const PictureBox& picture = host.Doc().PicBmp;
    // The scratch file beside the program; its folder is made when missing, and a
    // folder that cannot be written (a program under Program Files) gives way to the
    // user's temporary folder.
    const std::wstring folder = JoinFolder(ProgramFolder(), L"\\Temp");
    ::CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring scratch = folder + L"\\temp.bmp";
    const Outcome outcome = SaveBmpOrFallback(picture.Bitmap(), picture.Palette(), scratch, UserScratchFile());
    if (!outcome.ok()) {
        host.ReportFailure(DescribeFailure(outcome, scratch));
        return;
    }
    DWORD error = 0;
    if (!RequestPaintEdit(host.Owner(), scratch, error)) {
        host.ReportFailure(FillText(LoadText(IDS_DOC_SHELL_FAILED), {scratch, ReasonText(error)}));
    }
}

}  // namespace vx
