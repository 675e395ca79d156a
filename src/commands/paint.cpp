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

// The shell's "edit" verb of the class Paint.Picture on the file; no process handle
// is asked for or kept. Without a window of its own for errors: the caller reports.
bool RequestPaintEdit(HWND owner, const std::wstring& file, DWORD& error) {
    std::string narrow;
    BOOL ok = FALSE;
    if (ToSystemCodePage(file, narrow)) {
        SHELLEXECUTEINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = SEE_MASK_CLASSNAME | SEE_MASK_FLAG_NO_UI;
        info.hwnd = owner;
        info.lpVerb = "edit";
        info.lpFile = narrow.c_str();
        info.nShow = SW_SHOWNORMAL;
        info.lpClass = "Paint.Picture";
        ok = ::ShellExecuteExA(&info);
    } else {
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = SEE_MASK_CLASSNAME | SEE_MASK_FLAG_NO_UI;
        info.hwnd = owner;
        info.lpVerb = L"edit";
        info.lpFile = file.c_str();
        info.nShow = SW_SHOWNORMAL;
        info.lpClass = L"Paint.Picture";
        ok = ::ShellExecuteExW(&info);
    }
    if (!ok) error = ::GetLastError();
    return ok != FALSE;
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
