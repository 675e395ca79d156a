// Edit in Paint.
#include <optional>

#include "../platform/paths.h"
#include "../platform/program_path.h"
#include "../platform/text.h"
#include "document_commands_win.h"
#include "picture_io_win.h"

namespace vx {
namespace {

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
Outcome ShellEdit(HWND owner, const Char* file, const Char* verb, const Char* cls, BOOL(WINAPI* run)(Info*)) {
    Info info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_CLASSNAME | SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpVerb = verb;
    info.lpFile = file;
    info.nShow = SW_SHOWNORMAL;
    info.lpClass = cls;
    ::SetLastError(0);
    if (run(&info)) return Outcome{};
    return Outcome{Status::CannotStart, ShellFailure(info.hInstApp)};
}

Outcome RequestPaintEdit(HWND owner, const std::wstring& file) {
    if (const std::optional<std::string> narrow = ToSystemCodePage(file)) {
        return ShellEdit<SHELLEXECUTEINFOA, char>(owner, narrow->c_str(), "edit", "Paint.Picture", ::ShellExecuteExA);
    }
    return ShellEdit<SHELLEXECUTEINFOW, wchar_t>(owner, file.c_str(), L"edit", L"Paint.Picture", ::ShellExecuteExW);
}

}  // namespace

void mnuMspaint_Click(CommandHost& host) {
    if (!RequirePicture(host)) return;
    const PictureBox& picture = host.Doc().PicBmp;
    // The scratch file beside the program; its folder is made when missing, and a
    // folder that cannot be written (a program under Program Files) gives way to the
    // user's temporary folder.
    const std::wstring folder = JoinPath(ProgramFolder(), L"Temp");
    ::CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring scratch = JoinPath(folder, L"temp.bmp");
    Outcome outcome =
        SaveBmpOrFallback(picture.Bitmap(), picture.Palette(), scratch, PerUserFile(UserPlace::Temp, L"temp.bmp"));
    if (outcome.ok()) outcome = RequestPaintEdit(host.Owner(), scratch);
    if (!outcome.ok()) host.ReportFailure(DescribeFailure(outcome, scratch));
}

}  // namespace vx
