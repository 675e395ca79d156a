#include "unattended.h"

#include <vector>

#include "capture/capture_geometry.h"
#include "commands/picture_io.h"
#include "platform/gdi.h"

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

    // As the capture commands copy the desktop: on a 256-colour palette display with a
    // copy of the system palette realised in the memory context, which the file keeps.
    UniqueWindowDc source = UniqueWindowDc::Whole(::GetDesktopWindow());
    UniquePalette palette;
    if (UsePalettePath(::GetDeviceCaps(source.get(), RASTERCAPS), ::GetDeviceCaps(source.get(), SIZEPALETTE))) {
        std::vector<unsigned char> storage(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY), 0);
        auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
        logical->palVersion = 0x300;
        logical->palNumEntries = 256;
        ::GetSystemPaletteEntries(source.get(), 0, 256, logical->palPalEntry);
        palette.reset(::CreatePalette(logical));
    }
    UniqueBitmap bitmap = CopyArea(source.get(), x, y, width, height, nullptr, palette.get());
    source.reset();
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
