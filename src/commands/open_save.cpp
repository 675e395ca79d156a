// Open and save.
#include <vector>

#include "../main_window/dialogs.h"
#include "../main_window/frm_main.h"
#include "../main_window/program_path.h"
#include "../resources/resource.h"
#include "picture_format.h"
#include "picture_io.h"
#include "title_text.h"

namespace vx {
namespace {

// Room for long paths; the dialogs fail cleanly beyond it.
constexpr size_t kFileBufferChars = 32768;

// A file dialog request from CDopen: its filter, and the last path as the initial name.
struct FileDialogRequest {
    OPENFILENAMEW ofn{};
    std::wstring filter;
    std::wstring defaultExt;
    std::vector<wchar_t> file;

    FileDialogRequest(HWND owner, const CommonDialogState& state) : file(kFileBufferChars, L'\0') {
        filter = DialogFilter(state.Filter);
        state.FileName.copy(file.data(), std::min(state.FileName.size(), kFileBufferChars - 1));
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = owner;
        ofn.lpstrFilter = filter.c_str();
        ofn.lpstrFile = file.data();
        ofn.nMaxFile = static_cast<DWORD>(file.size());
    }
    std::wstring Chosen() const { return std::wstring(file.data()); }
};

}  // namespace

void FrmMain::mnuOpen_Click() {
    CDopen.Filter = kPictureFilter;
    FileDialogRequest request(hwnd_, CDopen);
    // The open dialog keeps the platform's own title and asks for an existing file;
    // the save settings stay stored in CDopen for the next save.
    request.ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!CurrentDialogs().GetOpenFileName(request.ofn)) return;
    const std::wstring path = request.Chosen();
    if (path.empty()) return;
    CDopen.FileName = path;

    PictureOutcome outcome;
    ComPtr<IPicture> picture = LoadPictureFile(path, outcome);
    if (!picture) {
        // Nothing changes: picture, title and scroll bars stay as they were.
        ReportFailure(DescribeFailure(*this, outcome, path));
        return;
    }
    PlacePicture(std::move(picture));
    const std::wstring title = OpenedTitle(ProgramName(), GetFileName(path), PicBmp.PixelWidth(), PicBmp.PixelHeight());
    ::SetWindowTextW(hwnd_, title.c_str());
    // The scroll bars fit the new picture, as after a capture.
    Form_Resize();
}

void FrmMain::mnusave_Click() {
    CDopen.DefaultExt = L".BMP";
    CDopen.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    CDopen.Filter = kPictureFilter;
    CDopen.DialogTitle = LoadText(IDS_SAVE_TITLE);
    if (PicBmp.Empty()) {
        ReportFailure(DescribeFailure(*this, PictureOutcome{PictureStatus::NoImage}, std::wstring()));
        return;
    }

    FileDialogRequest request(hwnd_, CDopen);
    // The dialog wants the extension without its dot.
    request.defaultExt = CDopen.DefaultExt.substr(CDopen.DefaultExt.rfind(L'.') == 0 ? 1 : 0);
    request.ofn.lpstrDefExt = request.defaultExt.c_str();
    request.ofn.Flags = CDopen.Flags;
    request.ofn.lpstrTitle = CDopen.DialogTitle.c_str();
    if (!CurrentDialogs().GetSaveFileName(request.ofn)) return;
    const std::wstring path = request.Chosen();
    if (path.empty()) return;
    CDopen.FileName = path;

    const PictureOutcome outcome = SavePictureFile(PicBmp.Bitmap(), PicBmp.Palette(), path, FormatForPath(path));
    if (!outcome.ok()) {
        ReportFailure(DescribeFailure(*this, outcome, path));
        return;  // ImageUnsaved keeps its value
    }
    ImageUnsaved = false;
}

}  // namespace vx
