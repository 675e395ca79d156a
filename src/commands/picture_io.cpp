#include "picture_io.h"

#include <initguid.h>
#include <wincodec.h>

#include <vector>

#include "../capture/capture_area.h"
#include "../platform/paths.h"
#include "bmp_layout.h"
#include "bmp_writer.h"
#include "picture_header.h"

namespace vx {
namespace {

// How much of a file's start is read to learn the size it claims: enough for the
// metadata segments that usually come before a JPEG frame header.
constexpr DWORD kSniffBytes = 256 * 1024;
// Bytes per band when a bitmap's rows go to the encoder.
constexpr size_t kBandBytes = 1 << 20;

ComPtr<IWICImagingFactory> Factory() {
    ComPtr<IWICImagingFactory> factory;
    ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                       reinterpret_cast<void**>(factory.put()));
    return factory;
}

DWORD Win32ErrorOf(HRESULT hr) {
    if (HRESULT_FACILITY(hr) == FACILITY_WIN32) return HRESULT_CODE(hr);
    if (hr == E_OUTOFMEMORY) return ERROR_NOT_ENOUGH_MEMORY;
    return 0;
}

Outcome Fail(Status status, DWORD error = 0) { return Outcome{status, error}; }

void SetEncoderOption(IPropertyBag2* bag, const wchar_t* name, VARIANT value) {
    if (!bag) return;
    PROPBAG2 option{};
    option.pstrName = const_cast<LPOLESTR>(name);
    bag->Write(1, &option, &value);  // an option the encoder lacks keeps its default
}

// JPEG (quality 90) and PNG (unfiltered: about three times faster than the default
// filtering for screen pictures, and no larger) through the imaging component, into
// memory; the caller writes the bytes to the file.
bool EncodeWithWic(HBITMAP bitmap, PictureFileFormat format, ComPtr<IStream>& encoded, DWORD& error) {
    error = ERROR_INVALID_DATA;
    BITMAP info{};
    if (!::GetObjectW(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return false;
    const auto width = static_cast<std::uint32_t>(info.bmWidth);
    const auto height = static_cast<std::uint32_t>(info.bmHeight);
    ComPtr<IWICImagingFactory> factory = Factory();
    if (!factory) return false;
    if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, encoded.put()))) {
        error = ERROR_NOT_ENOUGH_MEMORY;
        return false;
    }
    ComPtr<IWICBitmapEncoder> encoder;
    const GUID& container = format == PictureFileFormat::Jpeg ? GUID_ContainerFormatJpeg : GUID_ContainerFormatPng;
    if (FAILED(factory->CreateEncoder(container, nullptr, encoder.put())) ||
        FAILED(encoder->Initialize(encoded.get(), WICBitmapEncoderNoCache))) {
        return false;
    }
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    if (FAILED(encoder->CreateNewFrame(frame.put(), options.put()))) return false;
    VARIANT value;
    ::VariantInit(&value);
    if (format == PictureFileFormat::Jpeg) {
        value.vt = VT_R4;
        value.fltVal = 0.9f;
        SetEncoderOption(options.get(), L"ImageQuality", value);
    } else {
        value.vt = VT_UI1;
        value.bVal = WICPngFilterNone;
        SetEncoderOption(options.get(), L"FilterOption", value);
        value.vt = VT_BOOL;
        value.boolVal = VARIANT_FALSE;
        SetEncoderOption(options.get(), L"InterlaceOption", value);
    }
    WICPixelFormatGUID pixelFormat = GUID_WICPixelFormat24bppBGR;
    if (FAILED(frame->Initialize(options.get())) || FAILED(frame->SetSize(width, height)) ||
        FAILED(frame->SetPixelFormat(&pixelFormat)) || pixelFormat != GUID_WICPixelFormat24bppBGR) {
        return false;
    }

    // Rows go top-down to the encoder; GetDIBits gives bands bottom-up, so each band
    // is read from its top and handed over row by row from its last row.
    const std::uint32_t stride = BmpStride(width, 24);
    const std::uint32_t bandRows = RowsPerBand(stride, height, kBandBytes);
    std::vector<unsigned char> band(static_cast<size_t>(bandRows) * stride);
    BITMAPINFO bmi = DibInfo(info.bmWidth, info.bmHeight, 24);
    UniqueCreatedDc dc(::CreateCompatibleDC(nullptr));
    for (std::uint32_t top = 0; top < height; top += bandRows) {
        const std::uint32_t rows = std::min(bandRows, height - top);
        const std::uint32_t firstFromBottom = height - top - rows;
        if (::GetDIBits(dc.get(), bitmap, firstFromBottom, rows, band.data(), &bmi, DIB_RGB_COLORS) !=
            static_cast<int>(rows)) {
            return false;
        }
        for (std::uint32_t r = rows; r-- > 0;) {
            if (FAILED(frame->WritePixels(1, stride, stride, band.data() + static_cast<size_t>(r) * stride))) {
                return false;
            }
        }
    }
    if (FAILED(frame->Commit()) || FAILED(encoder->Commit())) return false;
    error = 0;
    return true;
}

// `noMemory` tells a picture that decodes but finds no memory for its bitmap from
// one that does not decode.
UniqueBitmap DecodeIntoBitmap(IWICImagingFactory* factory, IWICBitmapSource* frame, UINT width, UINT height,
                              unsigned bits, bool& noMemory) {
    // The converter through the factory: nothing of the imaging DLL is imported by name.
    ComPtr<IWICFormatConverter> converted;
    const GUID& format = bits == 24 ? GUID_WICPixelFormat24bppBGR : GUID_WICPixelFormat32bppBGR;
    if (FAILED(factory->CreateFormatConverter(converted.put())) ||
        FAILED(converted->Initialize(frame, format, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom))) {
        return {};
    }
    const std::uint32_t stride = BmpStride(width, bits);
    BITMAPINFO bmi = DibInfo(static_cast<long>(width), -static_cast<long>(height), bits);

    UniqueWindowDc screen = UniqueWindowDc::Client(nullptr);
    if (::GetDeviceCaps(screen.get(), RASTERCAPS) & RC_PALETTE) {
        // A palette display cannot hold the colours in its own format: keep the DIB.
        void* pixels = nullptr;
        UniqueBitmap dib(::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pixels, nullptr, 0));
        noMemory = !dib || !pixels;
        if (noMemory) return {};
        if (FAILED(converted->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(pixels)))) return {};
        return dib;
    }
    // The screen's own format, as a capture has: decoded band by band through a small
    // buffer (a fresh DIB section costs more in page faults than the decode itself).
    UniqueBitmap bitmap = NewCompatibleBitmap(screen.get(), static_cast<int>(width), static_cast<int>(height));
    noMemory = !bitmap;
    if (noMemory) return {};
    UniqueCreatedDc memory(::CreateCompatibleDC(screen.get()));
    SelectGuard select(memory.get(), bitmap.get());
    const std::uint32_t bandRows = RowsPerBand(stride, height, kBandBytes);
    std::vector<unsigned char> band(static_cast<size_t>(bandRows) * stride);
    for (std::uint32_t top = 0; top < height; top += bandRows) {
        const std::uint32_t rows = std::min(bandRows, height - top);
        const WICRect rect{0, static_cast<INT>(top), static_cast<INT>(width), static_cast<INT>(rows)};
        if (FAILED(converted->CopyPixels(&rect, stride, stride * rows, band.data()))) return {};
        bmi.bmiHeader.biHeight = -static_cast<LONG>(rows);
        if (::SetDIBitsToDevice(memory.get(), 0, static_cast<int>(top), width, rows, 0, 0, 0, rows, band.data(), &bmi,
                                DIB_RGB_COLORS) == 0) {
            return {};
        }
    }
    return bitmap;
}

}  // namespace

ComPtr<IPicture> LoadPictureFile(const std::wstring& path, Outcome& outcome) {
    outcome = {};
    // Learn what the file claims before any decoder allocates for it.
    {
        UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            outcome = Fail(Status::CannotRead, ::GetLastError());
            return {};
        }
        std::vector<unsigned char> start(kSniffBytes);
        DWORD read = 0;
        if (!::ReadFile(file.get(), start.data(), kSniffBytes, &read, nullptr)) {
            outcome = Fail(Status::CannotRead, ::GetLastError());
            return {};
        }
        const PictureHeader header = SniffPictureHeader(start.data(), read);
        if (header.kind == PictureKind::Unknown) {
            outcome = Fail(Status::CannotDecode);
            return {};
        }
        if (header.sizeKnown && !PictureSizeAcceptable(header.width, header.height)) {
            outcome = Fail(header.width == 0 || header.height == 0 ? Status::CannotDecode : Status::TooLarge);
            return {};
        }
    }

    ComPtr<IWICImagingFactory> factory = Factory();
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    UINT width = 0, height = 0;
    if (!factory) {
        outcome = Fail(Status::CannotDecode);
        return {};
    }
    HRESULT hr = factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                    WICDecodeMetadataCacheOnDemand, decoder.put());
    if (SUCCEEDED(hr)) hr = decoder->GetFrame(0, frame.put());
    if (SUCCEEDED(hr)) hr = frame->GetSize(&width, &height);
    if (FAILED(hr)) {
        const DWORD error = Win32ErrorOf(hr);
        outcome = Fail(error && error != ERROR_NOT_ENOUGH_MEMORY ? Status::CannotRead : Status::CannotDecode,
                       error);
        return {};
    }
    if (!PictureSizeAcceptable(width, height)) {
        outcome = Fail(Status::TooLarge);
        return {};
    }

    // Every picture becomes 24-bit BGR, decoded straight into the bits of a top-down
    // DIB section; formats the converter cannot take to 24 bits go to 32.
    bool noMemory = false;
    UniqueBitmap bitmap = DecodeIntoBitmap(factory.get(), frame.get(), width, height, 24, noMemory);
    if (!bitmap && !noMemory) bitmap = DecodeIntoBitmap(factory.get(), frame.get(), width, height, 32, noMemory);
    if (!bitmap) {
        // A valid picture too large for the memory at hand is not called damaged.
        outcome = Fail(noMemory ? Status::NoMemory : Status::CannotDecode);
        return {};
    }
    ComPtr<IPicture> picture = CreatePictureFromBitmap(std::move(bitmap), UniquePalette());
    if (!picture) outcome = Fail(Status::CannotDecode, ERROR_NOT_ENOUGH_MEMORY);
    return picture;
}

Outcome SaveBmpOrFallback(HBITMAP bitmap, HPALETTE palette, std::wstring& path, const std::wstring& fallback) {
    const Outcome first = SavePictureFile(bitmap, palette, path, PictureFileFormat::Bmp);
    if (first.ok() || fallback.empty()) return first;
    const Outcome second = SavePictureFile(bitmap, palette, fallback, PictureFileFormat::Bmp);
    if (!second.ok()) return first;  // the reason the user's own choice failed
    path = fallback;
    return second;
}

Outcome SavePictureFile(HBITMAP bitmap, HPALETTE palette, const std::wstring& path, PictureFileFormat format) {
    if (!bitmap) return Fail(Status::NoImage);
    // A read-only file stays as it is, as the platform itself keeps it on Windows
    // (a rename over it would otherwise succeed on some systems).
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        return Fail(Status::CannotWrite, ERROR_ACCESS_DENIED);
    }
    std::wstring folder = FolderOfPath(path);
    if (folder.empty()) folder = L".";
    wchar_t temporary[MAX_PATH + 16] = {};
    if (folder.size() > MAX_PATH - 14 || !::GetTempFileNameW(folder.c_str(), L"vx", 0, temporary)) {
        const DWORD error = ::GetLastError();
        return Fail(Status::CannotWrite, error ? error : ERROR_PATH_NOT_FOUND);
    }
    DWORD error = 0;
    bool written = false;
    {
        UniqueFile file(::CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (!file) {
            error = ::GetLastError();
        } else if (format == PictureFileFormat::Bmp) {
            written = WriteBmp(file.get(), bitmap, palette, error);
        } else {
            ComPtr<IStream> encoded;
            if (EncodeWithWic(bitmap, format, encoded, error)) {
                HGLOBAL memory = nullptr;
                STATSTG stat{};
                if (SUCCEEDED(::GetHGlobalFromStream(encoded.get(), &memory)) &&
                    SUCCEEDED(encoded->Stat(&stat, STATFLAG_NONAME))) {
                    const void* data = ::GlobalLock(memory);
                    written = data && WriteAll(file.get(), data, static_cast<size_t>(stat.cbSize.QuadPart));
                    if (!written) error = ::GetLastError();
                    ::GlobalUnlock(memory);
                }
            }
        }
    }
    if (written && !::MoveFileExW(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        written = false;
        error = ::GetLastError();
    }
    if (!written) {
        ::DeleteFileW(temporary);
        return Fail(Status::CannotWrite, error ? error : ERROR_WRITE_FAULT);
    }
    return {};
}

}  // namespace vx
