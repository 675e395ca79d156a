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
#include "document_commands_win.h"
#include "print_fit.h"

namespace vx {
namespace {

// One page: the picture as large as the printable area allows, its shape kept, centred.
Outcome PrintPicture(HDC printer, HBITMAP bitmap, const std::wstring& documentName) {
    const Outcome failed{Status::CannotPrint, 0};
    BITMAP info{};
    if (!printer || !::GetObjectW(bitmap, sizeof info, &info)) return failed;
    BITMAPINFO bmi = DibInfo(info.bmWidth, info.bmHeight, 24);
    // A printer cannot take the screen's bitmap directly: hand it device-independent bits.
    std::vector<unsigned char> bits(static_cast<size_t>(BmpStride(static_cast<std::uint32_t>(info.bmWidth), 24)) *
                                    static_cast<size_t>(info.bmHeight));
    {
        UniqueCreatedDc screen(::CreateCompatibleDC(nullptr));
        if (::GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(info.bmHeight), bits.data(), &bmi, DIB_RGB_COLORS) !=
            info.bmHeight) {
            return failed;
        }
    }
    const Rect place = FitCentered(info.bmWidth, info.bmHeight, ::GetDeviceCaps(printer, HORZRES),
                                         ::GetDeviceCaps(printer, VERTRES), ::GetDeviceCaps(printer, LOGPIXELSX),
                                         ::GetDeviceCaps(printer, LOGPIXELSY));
    DOCINFOW doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = documentName.c_str();
    if (::StartDocW(printer, &doc) <= 0) return LastError(Status::CannotPrint);
    bool ok = ::StartPage(printer) > 0;
    if (ok) {
        ::SetStretchBltMode(printer, HALFTONE);
        ::SetBrushOrgEx(printer, 0, 0, nullptr);
        ok = ::StretchDIBits(printer, place.left, place.top, place.Width(), place.Height(), 0, 0, info.bmWidth, info.bmHeight,
                             bits.data(), &bmi, DIB_RGB_COLORS, SRCCOPY) != 0;
        ok = ::EndPage(printer) > 0 && ok;
    }
    if (!ok) {
        const Outcome outcome = LastError(Status::CannotPrint);
        ::AbortDoc(printer);
        return outcome;
    }
    return ::EndDoc(printer) > 0 ? Outcome{} : LastError(Status::CannotPrint);
}

}  // namespace

void mnuprint_Click(CommandHost& host) {
    if (!RequirePicture(host)) return;
    if (!CurrentDialogs().AnyPrinterInstalled()) {
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
    const Document& doc = host.Doc();
    const std::wstring name = doc.CDopen.FileName.empty() ? ProgramName() : GetFileName(doc.CDopen.FileName);
    const Outcome outcome = PrintPicture(printer.get(), doc.PicBmp.Bitmap(), name);
    if (!outcome.ok()) host.ReportFailure(DescribeFailure(outcome, std::wstring()));
}

void mnuClear_Click(CommandHost& host) {
    host.PlacePicture(nullptr);
    // Nothing left to lose: closing after a clear does not ask about an empty view.
    host.Doc().ImageUnsaved = false;
}

}  // namespace vx
