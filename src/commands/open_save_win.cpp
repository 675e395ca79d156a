// Open and save.
#include <vector>

#include "../platform/dialogs.h"
#include "close_decision.h"
#include "../platform/paths.h"
#include "../platform/program_path.h"
#include "../platform/text.h"
#include "../resources/resource.h"
#include "document_commands_win.h"
#include "picture_io_win.h"
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

CloseAnswer ToCloseAnswer(int result) {
    switch (result) {
        case IDYES: return CloseAnswer::Yes;
        case IDNO: return CloseAnswer::No;
        case IDCANCEL: return CloseAnswer::Cancel;
        default: return CloseAnswer::NotAsked;  // the box could not be shown: go ahead
    }
}

void OpenChosenFile(CommandHost& host, const std::wstring& path) {
    Document& doc = host.Doc();
    doc.CDopen.FileName = path;
    Result<ComPtr<IPicture>> loaded = LoadPictureFile(path);
    if (!loaded.ok()) {
        // Nothing changes: picture, title and scroll bars stay as they were.
        host.ReportFailure(DescribeFailure(loaded.outcome, path));
        return;
    }
    host.PlacePicture(std::move(loaded.value));
    // What was read from a file is saved as it is.
    doc.ImageUnsaved = false;
    const std::wstring title =
        OpenedTitle(ProgramName(), GetFileName(path), doc.PicBmp.PixelWidth(), doc.PicBmp.PixelHeight());
    ::SetWindowTextW(host.Owner(), title.c_str());
    // The scroll bars fit the new picture, as after a capture.
    host.Relayout();
}

}  // namespace

bool SaveFirstIfUnsaved(CommandHost& host) {
    Document& doc = host.Doc();
    if (!doc.ImageUnsaved || doc.PicBmp.Empty()) return true;  // nothing that could be lost
    const std::wstring text = LoadText(IDS_MSG_UNSAVED);
    const CloseAnswer answer = ToCloseAnswer(CurrentDialogs().MessageBox(
        host.Owner(), text.c_str(), ProgramName().c_str(), MB_YESNOCANCEL | MB_ICONINFORMATION));
    const bool unsavedAfter = answer == CloseAnswer::Yes ? !mnusave_Click(host).ok() : doc.ImageUnsaved;
    return !KeepWindowOpen(answer, unsavedAfter);
}

void OpenPicturePath(CommandHost& host, const std::wstring& path) {
    if (SaveFirstIfUnsaved(host)) OpenChosenFile(host, path);
}

void mnuOpen_Click(CommandHost& host) {
    if (!SaveFirstIfUnsaved(host)) return;
    Document& doc = host.Doc();
    doc.CDopen.Filter = kPictureFilter;
    FileDialogRequest request(host.Owner(), doc.CDopen);
    // The open dialog keeps the platform's own title and asks for an existing file;
    // the save settings stay stored in CDopen for the next save.
    request.ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!CurrentDialogs().GetOpenFileName(request.ofn)) return;
    const std::wstring path = request.Chosen();
    if (!path.empty()) OpenChosenFile(host, path);
}

Outcome mnusave_Click(CommandHost& host) {
    Document& doc = host.Doc();
    CommonDialogState& dialog = doc.CDopen;
    dialog.DefaultExt = L".BMP";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    dialog.Filter = kPictureFilter;
    dialog.DialogTitle = LoadText(IDS_SAVE_TITLE);
    if (!RequirePicture(host)) return Outcome{Status::NoImage, 0};

    FileDialogRequest request(host.Owner(), dialog);
    // The dialog wants the extension without its dot.
    request.defaultExt = dialog.DefaultExt.substr(dialog.DefaultExt.rfind(L'.') == 0 ? 1 : 0);
    request.ofn.lpstrDefExt = request.defaultExt.c_str();
    request.ofn.Flags = dialog.Flags;
    request.ofn.lpstrTitle = dialog.DialogTitle.c_str();
    const Outcome cancelled{Status::Cancelled, 0};
    if (!CurrentDialogs().GetSaveFileName(request.ofn)) return cancelled;
    const std::wstring path = request.Chosen();
    if (path.empty()) return cancelled;
    dialog.FileName = path;

    const Outcome outcome = SavePictureFile(doc.PicBmp.Bitmap(), doc.PicBmp.Palette(), path, FormatForPath(path));
    if (!outcome.ok()) {
        host.ReportFailure(DescribeFailure(outcome, path));
        return outcome;  // ImageUnsaved keeps its value
    }
    doc.ImageUnsaved = false;
    return outcome;
}

}  // namespace vx
