// Desktop wallpaper.
#include "../platform/program_path.h"
#include "../platform/text.h"
#include "document_commands_win.h"
#include "picture_io_win.h"

namespace vx {
namespace {

constexpr wchar_t kWallpaperFile[] = L"c:\\windows\\wallpaper.bmp";

// The 8-bit form when the path survives the system code page; the wide form otherwise.
Outcome SetDeskWallpaper(const std::wstring& path) {
    std::optional<std::string> narrow = ToSystemCodePage(path);
    const BOOL set = narrow ? ::SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, narrow->data(), SPIF_UPDATEINIFILE)
                            : ::SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, const_cast<wchar_t*>(path.c_str()),
                                                      SPIF_UPDATEINIFILE);
    return set ? Outcome{} : LastError(Status::CannotSetWallpaper);
}

}  // namespace

void mnuWallpaper_Click(CommandHost& host) {
    if (!RequirePicture(host)) return;
    const PictureBox& picture = host.Doc().PicBmp;
    std::wstring path = kWallpaperFile;
    Outcome outcome = SaveBmpOrFallback(picture.Bitmap(), picture.Palette(), path,
                                        PerUserFile(UserPlace::LocalAppData, L"wallpaper.bmp"));
    // A file we could not write is never set: an old one would silently come back.
    if (outcome.ok()) outcome = SetDeskWallpaper(path);
    if (!outcome.ok()) host.ReportFailure(DescribeFailure(outcome, path));
}

void mnuClearWall_Click(CommandHost& host) {
    char empty[1] = "";
    if (!::SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, empty, SPIF_UPDATEINIFILE)) {
        host.ReportFailure(DescribeFailure(LastError(Status::CannotSetWallpaper), std::wstring()));
    }
}

}  // namespace vx
