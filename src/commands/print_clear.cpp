// Print and clear.
#include <vector>

#include "../document/failure.h"
#include "../platform/dialogs.h"
#include "../platform/gdi.h"
#include "../platform/paths.h"
#include "../platform/program_path.h"
#include "../platform/text.h"
#include "../resources/resource.h"
#include "bmp_layout.h"
#include "document_commands.h"
#include "print_fit.h"

namespace vx {
namespace {

// Asks for the default printer without showing anything (comdlg32 only, so no
// spooler library joins the program's imports).
bool AnyPrinterInstalled() {
    PRINTDLGW probe{};
    probe.lStructSize = sizeof probe;
    probe.Flags = PD_RETURNDEFAULT;
    const bool found = ::PrintDlgW(&probe) != FALSE;
    UniqueGlobal devMode(probe.hDevMode), devNames(probe.hDevNames);
    return found;
}

// One page: the picture as large as the printable area allows, its shape kept, centred.
bool PrintPicture(HDC printer, HBITMAP bitmap, const std::wstring& documentName, DWORD& error) {
    BITMAP info{};
    if (!::GetObjectW(bitmap, sizeof info, &info)) return false;
    BITMAPINFO bmi = DibInfo(info.bmWidth, info.bmHeight, 24);
    // A printer cannot take the screen's bitmap directly: hand it device-independent bits.
    std::vector<unsigned char> bits(static_cast<size_t>(BmpStride(static_cast<std::uint32_t>(info.bmWidth), 24)) *
                                    static_cast<size_t>(info.bmHeight));
    {
        UniqueCreatedDc screen(::CreateCompatibleDC(nullptr));
        if (::GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(info.bmHeight), bits.data(), &bmi, DIB_RGB_COLORS) !=
            info.bmHeight) {
            return false;
        }
    }
    const PlacedRect place = FitCentered(info.bmWidth, info.bmHeight, ::GetDeviceCaps(printer, HORZRES),
                                         ::GetDeviceCaps(printer, VERTRES), ::GetDeviceCaps(printer, LOGPIXELSX),
                                         ::GetDeviceCaps(printer, LOGPIXELSY));
    DOCINFOW doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = documentName.c_str();
    if (::StartDocW(printer, &doc) <= 0) {
        error = ::GetLastError();
        return false;
    }
    bool ok = ::StartPage(printer) > 0;
    if (ok) {
        ::SetStretchBltMode(printer, HALFTONE);
        ::SetBrushOrgEx(printer, 0, 0, nullptr);
        ok = ::StretchDIBits(printer, place.x, place.y, place.width, place.height, 0, 0, info.bmWidth, info.bmHeight,
                             bits.data(), &bmi, DIB_RGB_COLORS, SRCCOPY) != 0;
        ok = ::EndPage(printer) > 0 && ok;
    }
    if (!ok) {
        error = ::GetLastError();
        ::AbortDoc(printer);
        return false;
    }
    if (::EndDoc(printer) <= 0) {
        error = ::GetLastError();
        return false;
    }
    return true;
}

}  // namespace

void mnuprint_Click(CommandHost& host) {
    if (!RequirePicture(host)) return;
    if (!AnyPrinterInstalled()) {
        host.ReportFailure(LoadText(IDS_DOC_NO_PRINTER));
        return;
    }
    PRINTDLGW pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = host.Owner();
    pd.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
    pd.nCopies = 1;
    const bool confirmed = CurrentDialogs().PrintDlg(pd);
    UniqueGlobal devMode(pd.hDevMode), devNames(pd.hDevNames);
    UniqueCreatedDc printer(pd.hDC);
    if (!confirmed) {
        // Cancel is no failure; a dialog that could not open is.
        if (::CommDlgExtendedError() != 0) host.ReportFailure(LoadText(IDS_DOC_NO_PRINTER));
        return;
    }
    DWORD error = 0;
    const Document& doc = host.Doc();
    const std::wstring name = doc.CDopen.FileName.empty() ? ProgramName() : GetFileName(doc.CDopen.FileName);
    if (!printer || !PrintPicture(printer.get(), doc.PicBmp.Bitmap(), name, error)) {
        host.ReportFailure(FillText(LoadText(IDS_DOC_PRINT_FAILED), {ReasonText(error)}));
    }
}

void mnuClear_Click(CommandHost& host) {
    host.PlacePicture(nullptr);
    // Nothing left to lose: closing after a clear does not ask about an empty view.
    host.Doc().ImageUnsaved = false;
}

}  // namespace vx
