// Document benchmarks on a 3840 x 2160 picture:
//   BMP save against one WriteFile of the same number of bytes to a new file;
//   PNG save against scrot writing a PNG of the same screen (time and size, measured
//     on the Linux side by tests/tools/documents_bench.sh and passed in as
//     VX_SCROT_MS and VX_SCROT_BYTES; without them only our figures are shown);
//   JPEG open against the imaging component's bare decode of the same file.
#include <wincodec.h>

#include <cstdlib>
#include <vector>

#include "bench.h"
#include "bench_pictures.h"
#include "capture/capture_area_win.h"
#include "commands/bmp_layout.h"
#include "commands/picture_io_win.h"

namespace vx::bench {
namespace {

constexpr int kWidth = 3840, kHeight = 2160;

std::wstring BenchFolder() {
    wchar_t base[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, base);
    std::wstring folder = std::wstring(base) + L"vx_documents_bench";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

// What a capture holds: the screen's contents when the screen is that large, else a
// screen-format bitmap with a busy pattern.
ComPtr<IPicture> BenchPicture() {
    if (::GetSystemMetrics(SM_CXSCREEN) >= kWidth && ::GetSystemMetrics(SM_CYSCREEN) >= kHeight) {
        return CaptureWindowArea(::GetDesktopWindow(), true, 0, 0, kWidth, kHeight);
    }
    return BusyPicture(kWidth, kHeight);
}

HBITMAP BitmapOf(const ComPtr<IPicture>& picture) {
    OLE_HANDLE handle = 0;
    picture->get_Handle(&handle);
    return reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
}

double FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return static_cast<double>((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

std::vector<Figure> Run(const Context& context) {
    std::vector<Figure> figures;
    // The comparison with scrot needs both to face the same screen.
    if (context.screenWidth < kWidth || context.screenHeight < kHeight) return figures;
    const std::wstring folder = BenchFolder();
    const ComPtr<IPicture> picture = BenchPicture();
    const HBITMAP bitmap = BitmapOf(picture);

    // BMP save against one WriteFile of the same bytes to a new file.
    const std::wstring bmp = folder + L"\\save.bmp", raw = folder + L"\\raw.bin";
    BmpLayout layout;
    MakeBmpLayout(kWidth, kHeight, 24, layout);
    std::vector<unsigned char> bytes(layout.fileSize, 0x5A);
    Figure saveBmpFigure{"documents: BMP save 3840x2160", 0, 0, 1.1, "ms", "one WriteFile of the same bytes"};
    MeasurePairs(saveBmpFigure, context.repetitions, [&] { SavePictureFile(bitmap, nullptr, bmp, PictureFileFormat::Bmp); },
                 [&] {
                     HANDLE file = ::CreateFileW(raw.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                 FILE_ATTRIBUTE_NORMAL, nullptr);
                     DWORD written = 0;
                     ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
                     ::CloseHandle(file);
                 },
                 [&] { ::DeleteFileW(raw.c_str()), ::DeleteFileW(bmp.c_str()); });
    const double saveBmp = saveBmpFigure.measured;
    figures.push_back(saveBmpFigure);

    // PNG save against scrot.
    const std::wstring png = folder + L"\\save.png";
    const double savePng = MedianMs(5, [&] { SavePictureFile(bitmap, nullptr, png, PictureFileFormat::Png); },
                                    [&] { ::DeleteFileW(png.c_str()); });
    SavePictureFile(bitmap, nullptr, png, PictureFileFormat::Png);
    const double pngBytes = FileSize(png);
    const char* scrotMs = std::getenv("VX_SCROT_MS");
    const char* scrotBytes = std::getenv("VX_SCROT_BYTES");
    if (scrotMs && scrotBytes) {
        figures.push_back({"documents: PNG save 3840x2160", savePng, std::atof(scrotMs), 1.5, "ms", "scrot, whole process"});
        figures.push_back({"documents: PNG file size", pngBytes / 1024, std::atof(scrotBytes) / 1024, 1.2, "KB", "scrot's PNG"});
    } else {
        figures.push_back({"documents: PNG save 3840x2160 (no scrot figure)", savePng, saveBmp, 0, "ms", "our BMP save"});
        figures.push_back({"documents: PNG file size", pngBytes / 1024, layout.fileSize / 1024.0, 0, "KB", "the BMP"});
    }

    // JPEG open against the bare decode.
    const std::wstring jpeg = folder + L"\\open.jpg";
    SavePictureFile(bitmap, nullptr, jpeg, PictureFileFormat::Jpeg);
    ComPtr<IWICImagingFactory> factory;
    ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                       reinterpret_cast<void**>(factory.put()));
    std::vector<BYTE> buffer(static_cast<size_t>(kWidth) * 4 * kHeight);
    auto bareDecode = [&] {
        ComPtr<IWICBitmapDecoder> decoder;
        ComPtr<IWICBitmapFrameDecode> frame;
        factory->CreateDecoderFromFilename(jpeg.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                           decoder.put());
        decoder->GetFrame(0, frame.put());
        WICPixelFormatGUID format{};
        frame->GetPixelFormat(&format);
        const UINT stride = format == GUID_WICPixelFormat24bppBGR ? BmpStride(kWidth, 24) : kWidth * 4;
        frame->CopyPixels(nullptr, stride, static_cast<UINT>(buffer.size()), buffer.data());
    };
    Figure openFigure{"documents: JPEG open 3840x2160", 0, 0, 1.3, "ms", "bare decode (imaging component)"};
    MeasurePairs(openFigure, 7, [&] { const Result<ComPtr<IPicture>> opened = LoadPictureFile(jpeg); }, bareDecode);
    const double bare = openFigure.baseline;
    figures.push_back(openFigure);
    if (std::getenv("VX_BENCH_DETAIL")) {
        const double dib = MedianMs(7, [&] {
            ComPtr<IWICBitmapDecoder> decoder;
            ComPtr<IWICBitmapFrameDecode> frame;
            factory->CreateDecoderFromFilename(jpeg.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand, decoder.put());
            decoder->GetFrame(0, frame.put());
            BITMAPINFO bmi{};
            bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 24, BI_RGB};
            void* bits = nullptr;
            UniqueBitmap b(::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
            frame->CopyPixels(nullptr, BmpStride(kWidth, 24), BmpStride(kWidth, 24) * kHeight, static_cast<BYTE*>(bits));
        });
        const double conv = MedianMs(7, [&] {
            ComPtr<IWICBitmapDecoder> decoder;
            ComPtr<IWICBitmapFrameDecode> frame;
            factory->CreateDecoderFromFilename(jpeg.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand, decoder.put());
            decoder->GetFrame(0, frame.put());
            ComPtr<IWICBitmapSource> converted;
            WICConvertBitmapSource(GUID_WICPixelFormat24bppBGR, frame.get(), converted.put());
            converted->CopyPixels(nullptr, BmpStride(kWidth, 24), BmpStride(kWidth, 24) * kHeight, buffer.data());
        });
        UniqueCreatedDc dc(::CreateCompatibleDC(nullptr));
        std::vector<unsigned char> band(static_cast<size_t>(kWidth) * 4 * kHeight);
        BITMAPINFO bmi{};
        bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, kHeight, 1, 24, BI_RGB};
        const double get24 = MedianMs(7, [&] { ::GetDIBits(dc.get(), bitmap, 0, kHeight, band.data(), &bmi, DIB_RGB_COLORS); });
        bmi.bmiHeader.biBitCount = 32;
        const double get32 = MedianMs(7, [&] { ::GetDIBits(dc.get(), bitmap, 0, kHeight, band.data(), &bmi, DIB_RGB_COLORS); });
        figures.push_back({"detail: decode into fresh DIB", dib, bare, 0, "ms", "bare"});
        figures.push_back({"detail: decode via converter", conv, bare, 0, "ms", "bare"});
        figures.push_back({"detail: GetDIBits 24", get24, get32, 0, "ms", "GetDIBits 32"});
    }

    for (const auto& f : {bmp, raw, png, jpeg}) ::DeleteFileW(f.c_str());
    ::RemoveDirectoryW(folder.c_str());
    return figures;
}

Register r("documents", Run);

}  // namespace
}  // namespace vx::bench
