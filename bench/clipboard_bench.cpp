// Clipboard benchmarks on a 3840 x 2160 picture:
//   the copy command (formats announced, nothing rendered) against one BitBlt of the
//     picture: it must not copy the picture;
//   rendering CF_DIBV5 for a paste against one GetDIBits of the picture;
//   rendering PNG for a paste against saving the same picture as a PNG file.
#include <vector>

#include "bench.h"
#include "bench_pictures.h"
#include "commands/picture_io_win.h"
#include "commands/picture_transfer_win.h"
#include "document/picture_object.h"
#include "platform/gdi.h"

namespace vx::bench {
namespace {

constexpr int kWidth = 3840, kHeight = 2160;

std::vector<Figure> Run(const Context& context) {
    const int reps = context.repetitions;
    PictureBox box;
    box.Picture = BusyPicture(kWidth, kHeight);
    const HBITMAP bitmap = box.Bitmap();
    HWND owner = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);

    UniqueCreatedDc from(::CreateCompatibleDC(nullptr)), to(::CreateCompatibleDC(nullptr));
    HDC screen = ::GetDC(nullptr);
    UniqueBitmap target(::CreateCompatibleBitmap(screen, kWidth, kHeight));
    ::ReleaseDC(nullptr, screen);
    const double blit = MedianMs(reps, [&] {
        SelectGuard a(from.get(), bitmap), b(to.get(), target.get());
        ::BitBlt(to.get(), 0, 0, kWidth, kHeight, from.get(), 0, 0, SRCCOPY);
    });
    ClipboardOffer offer;
    const double copy = MedianMs(reps, [&] { offer.Offer(owner, box.Picture); });

    std::vector<std::uint32_t> pixels(static_cast<size_t>(kWidth) * kHeight);
    BITMAPINFO bmi = DibInfo(kWidth, kHeight, 32);
    const double getDibits = MedianMs(reps, [&] {
        ::GetDIBits(from.get(), bitmap, 0, kHeight, pixels.data(), &bmi, DIB_RGB_COLORS);
    });
    const double dibV5 = MedianMs(reps, [&] { RenderDib(bitmap, true); });
    // What any render pays besides: the clipboard takes a block of fresh memory.
    const double fresh = MedianMs(reps, [&] {
        UniqueGlobal block(::GlobalAlloc(GMEM_MOVEABLE, pixels.size() * 4));
        const GlobalLockGuard locked(block.get());
        ::GetDIBits(from.get(), bitmap, 0, kHeight, locked.data(), &bmi, DIB_RGB_COLORS);
    });

    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring png = std::wstring(temp) + L"vx_clipboard_bench.png";
    const double save = MedianMs(reps, [&] { SavePictureFile(bitmap, nullptr, png, PictureFileFormat::Png); });
    const double render = MedianMs(reps, [&] { RenderPng(bitmap, nullptr); });
    ::DeleteFileW(png.c_str());
    ::DestroyWindow(owner);
    return {
        {"copy command, 3840x2160", copy, blit, 0.2, "ms", "one BitBlt of the picture"},
        {"render CF_DIBV5, 3840x2160", dibV5, getDibits, 1.5, "ms", "one GetDIBits of the picture"},
        {"render CF_DIBV5, 3840x2160", dibV5, fresh, 0, "ms", "GetDIBits into a new block"},
        {"render PNG, 3840x2160", render, save, 1.1, "ms", "saving it as PNG"},
    };
}

const Register registered("clipboard", Run);

}  // namespace
}  // namespace vx::bench
