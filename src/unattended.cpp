#include "unattended.h"

#include "capture/capture_area.h"
#include "commands/picture_io.h"

namespace vx {

int RunUnattendedCapture(const CaptureRequest& request) {
    // Only what this road uses: no window, no resources, no picture object (the bitmap
    // goes straight to the file), and COM only for the imaging component's formats,
    // after the capture. So a BMP loads none of the delay-loaded DLLs.
    const bool screen = request.kind == CaptureRequest::Kind::Screen;
    // Physical pixels: the process is per-monitor DPI aware, so these are not scaled.
    const int x = screen ? 0 : static_cast<int>(request.left);
    const int y = screen ? 0 : static_cast<int>(request.top);
    const int width = screen ? ::GetSystemMetrics(SM_CXSCREEN) : static_cast<int>(request.right - request.left);
    const int height = screen ? ::GetSystemMetrics(SM_CYSCREEN) : static_cast<int>(request.bottom - request.top);

    // As the capture commands copy the desktop, palette and all, which the file keeps.
    UniquePalette palette;
    UniqueBitmap bitmap = CaptureWindowBitmap(::GetDesktopWindow(), false, x, y, width, height, palette);
    if (!bitmap) return 2;

    const PictureFileFormat format = FormatForPath(request.savePath);
    const HRESULT com = format == PictureFileFormat::Bmp
                            ? E_FAIL
                            : ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const Outcome outcome = SavePictureFile(bitmap.get(), palette.get(), request.savePath, format);
    if (SUCCEEDED(com)) ::CoUninitialize();
    return outcome.ok() ? 0 : 3;
}

}  // namespace vx
