// Desktop wallpaper.
#include <shlobj.h>

#include "../platform/paths.h"
#include "../platform/text.h"
#include "../resources/resource.h"
#include "document_commands.h"
#include "picture_io.h"

namespace vx {
namespace {

constexpr wchar_t kWallpaperFile[] = L"c:\\windows\\wallpaper.bmp";

// The per-user place for the wallpaper when the fixed path cannot be written.
std::wstring UserWallpaperFile() {
    PWSTR local = nullptr;
    if (FAILED(::SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &local)) || !local) {
        if (local) ::CoTaskMemFree(local);
        return std::wstring();
    }
    std::wstring folder = JoinFolder(local, L"\\Vellumox");
    ::CoTaskMemFree(local);
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\wallpaper.bmp";
}

// The 8-bit form when the path survives the system code page; the wide form otherwise.
BOOL SetDeskWallpaper(const std::wstring& path) {
    BOOL lossy = FALSE;
    const int n = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(), -1, nullptr, 0, nullptr, &lossy);
    if (n > 0 && !lossy) {
        std::string narrow(static_cast<size_t>(n), '\0');
        ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(), -1, narrow.data(), n, nullptr, nullptr);
        return ::SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, narrow.data(), SPIF_UPDATEINIFILE);
    }
    return ::SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, const_cast<wchar_t*>(path.c_str()), SPIF_UPDATEINIFILE);
}

}  // namespace

void mnuWallpaper_Click(CommandHost& host) {
    if (!RequirePicture(host)) return;
    const PictureBox& picture = host.Doc().PicBmp;
    std::wstring path = kWallpaperFile;
    const Outcome outcome = SaveBmpOrFallback(picture.Bitmap(), picture.Palette(), path, UserWallpaperFile());
    // A file we could not write is never set: an old one would silently come back.
    if (!outcome.ok()) {
        host.ReportFailure(DescribeFailure(outcome, path));
        return;
    }
    if (!SetDeskWallpaper(path)) {
        host.ReportFailure(FillText(LoadText(IDS_DOC_WALLPAPER_FAILED), {ReasonText(::GetLastError())}));
    }
}

void mnuClearWall_Click(CommandHost& host) {
    char empty[1] = "";
    if (!::SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, empty, SPIF_UPDATEINIFILE)) {
        host.ReportFailure(FillText(LoadText(IDS_DOC_WALLPAPER_FAILED), {ReasonText(::GetLastError())}));
    }
}

}  // namespace vx
