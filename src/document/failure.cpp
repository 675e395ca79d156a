#include "failure.h"

#include "../platform/text.h"
#include "../resources/resource.h"

namespace vx {

std::wstring ReasonText(DWORD error) {
    switch (error) {
        case 0: return std::wstring();
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: return LoadText(IDS_DOC_REASON_DISK_FULL);
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION: return LoadText(IDS_DOC_REASON_ACCESS_DENIED);
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_DIRECTORY:
        case ERROR_BAD_NETPATH: return LoadText(IDS_DOC_REASON_NOT_FOUND);
        case ERROR_NO_ASSOCIATION: return LoadText(IDS_DOC_REASON_NO_PROGRAM);
        case ERROR_FILENAME_EXCED_RANGE: return LoadText(IDS_DOC_REASON_TOO_LONG);
        case ERROR_DIRECTORY_NOT_SUPPORTED: return LoadText(IDS_DOC_REASON_IS_FOLDER);
        case ERROR_BAD_DEVICE: return LoadText(IDS_DOC_REASON_DEVICE);
        default: return FillText(LoadText(IDS_DOC_REASON_CODE), {std::to_wstring(error), SystemErrorText(error)});
    }
}

std::wstring DescribeFailure(const Outcome& outcome, const std::wstring& path) {
    unsigned id = IDS_DOC_CANNOT_WRITE;
    switch (outcome.status) {
        case Status::Ok:
        case Status::Cancelled: return std::wstring();
        case Status::NoImage: return LoadText(IDS_DOC_NO_IMAGE);
        case Status::CannotPrint: return FillText(LoadText(IDS_DOC_PRINT_FAILED), {ReasonText(outcome.error)});
        case Status::CannotSetWallpaper:
            return FillText(LoadText(IDS_DOC_WALLPAPER_FAILED), {ReasonText(outcome.error)});
        case Status::CannotStart: id = IDS_DOC_SHELL_FAILED; break;
        case Status::CannotRead: id = IDS_DOC_CANNOT_READ; break;
        case Status::CannotDecode: id = IDS_DOC_CANNOT_DECODE; break;
        case Status::TooLarge: id = IDS_DOC_TOO_LARGE; break;
        case Status::NoMemory: id = IDS_DOC_NO_MEMORY; break;
        case Status::CannotWrite: id = IDS_DOC_CANNOT_WRITE; break;
    }
    return FillText(LoadText(id), {path, ReasonText(outcome.error)});
}

bool RequirePicture(CommandHost& host) {
    if (!host.Doc().PicBmp.Empty()) return true;
    host.ReportFailure(LoadText(IDS_DOC_NO_IMAGE));
    return false;
}

}  // namespace vx
