#include "unattended.h"

#include "capture/capture_area.h"
#include "capture/capture_procs.h"
#include "commands/picture_io.h"
#include "document/picture_box.h"

namespace vx {

int RunUnattendedCapture(const CaptureRequest& request) {
    // Only what this road uses: no window, no resources, and COM only for the imaging
    // component's formats, after the capture.
    ComPtr<IPicture> picture =
        request.kind == CaptureRequest::Kind::Screen
            ? CaptureScreen()
            : CaptureWindowArea(::GetDesktopWindow(), false, static_cast<int>(request.left),
                                static_cast<int>(request.top), static_cast<int>(request.right - request.left),
                                static_cast<int>(request.bottom - request.top));
    PictureBox box;
    box.SetPicture(picture, 15, 15);
    if (box.Empty()) return 2;
    const PictureFileFormat format = FormatForPath(request.savePath);
    const HRESULT com = format == PictureFileFormat::Bmp
                            ? E_FAIL
                            : ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const Outcome outcome = SavePictureFile(box.Bitmap(), box.Palette(), request.savePath, format);
    box.SetPicture(nullptr, 15, 15);
    if (SUCCEEDED(com)) ::CoUninitialize();
    return outcome.ok() ? 0 : 3;
}

}  // namespace vx
