#include "unattended.h"

#include "capture/capture_area_win.h"
#include "commands/picture_io_win.h"
#include "document/failure.h"
#include "platform/geometry_win.h"
#include "platform/text.h"
#include "resources/resource.h"

namespace vx {
namespace {

// One line for the script's log: the message box's paragraphs joined.
int Fail(int code, std::wstring text) {
    std::wstring line;
    for (const wchar_t c : text) {
        if (c != L'\n') line.push_back(c);
        else if (!line.empty() && line.back() != L' ') line.push_back(L' ');
    }
    WriteToConsole(line, true);
    return code;
}

}  // namespace

bool WriteToConsole(const std::wstring& text, bool error) {
    std::wstring lines;
    for (const wchar_t c : text + L"\n") {
        if (c == L'\n') lines.push_back(L'\r');
        lines.push_back(c);
    }
    const HANDLE handle = ::GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    const DWORD type = handle && handle != INVALID_HANDLE_VALUE ? ::GetFileType(handle) : FILE_TYPE_UNKNOWN;
    DWORD written = 0;
    if (type != FILE_TYPE_DISK && type != FILE_TYPE_PIPE && ::AttachConsole(ATTACH_PARENT_PROCESS)) {
        const UniqueFile console(::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                               OPEN_EXISTING, 0, nullptr));
        const DWORD length = static_cast<DWORD>(lines.size());
        if (console && ::WriteConsoleW(console.get(), lines.data(), length, &written, nullptr)) return true;
    }
    if (type == FILE_TYPE_UNKNOWN) return false;
    // A file, a pipe (or, under Wine, the terminal) gets UTF-8, which keeps every character.
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, lines.data(), static_cast<int>(lines.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, lines.data(), static_cast<int>(lines.size()), bytes.data(), size, nullptr,
                          nullptr);
    return ::WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != 0;
}

int ReportUnattendedUsage(const CommandLine& line) {
    return Fail(kExitUsage, line.badArgument.empty() ? LoadText(IDS_MSG_CMDLINE_INCOMPLETE)
                                                     : FillText(LoadText(IDS_MSG_CMDLINE_BAD), {line.badArgument}));
}

int RunUnattendedCapture(const CaptureRequest& request) {
    // Only what this road uses: no window, no resources, no picture object (the bitmap
    // goes straight to the file), and COM only for the imaging component's formats,
    // after the capture. So a BMP loads none of the delay-loaded DLLs.
    const Rect area = request.kind == CaptureRequest::Kind::Screen ? PrimaryScreenRect() : request.region;
    const Rect all = VirtualScreenRect();
    if (area.left < all.left || area.top < all.top || area.right > all.right || area.bottom > all.bottom) {
        // What lies off the screen would come back as black pixels, not as what was asked for.
        const std::wstring corners = std::to_wstring(area.left) + L"," + std::to_wstring(area.top) + L"," +
                                     std::to_wstring(area.right) + L"," + std::to_wstring(area.bottom);
        return Fail(kExitCapture, FillText(LoadText(IDS_MSG_REGION_OFF_SCREEN), {corners}));
    }

    // As the capture commands copy the desktop, palette and all, which the file keeps.
    UniquePalette palette;
    UniqueBitmap bitmap = CaptureWindowBitmap(::GetDesktopWindow(), false, area.left, area.top, area.Width(), area.Height(), palette);
    if (!bitmap) return Fail(kExitCapture, FillText(LoadText(IDS_MSG_CAPTURE_FAILED), {ReasonText(::GetLastError())}));

    const PictureFileFormat format = FormatForPath(request.savePath);
    const HRESULT com = format == PictureFileFormat::Bmp
                            ? E_FAIL
                            : ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const Outcome outcome = SavePictureFile(bitmap.get(), palette.get(), request.savePath, format);
    if (SUCCEEDED(com)) ::CoUninitialize();
    return outcome.ok() ? kExitOk : Fail(kExitWrite, DescribeFailure(outcome, request.savePath));
}

}  // namespace vx
