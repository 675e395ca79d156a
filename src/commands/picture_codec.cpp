#include "picture_codec.h"

#include <initguid.h>
#include <wincodec.h>

#include <algorithm>
#include <iterator>
#include <unordered_set>
#include <vector>

#include "../platform/gdi.h"
#include "bmp_layout.h"

namespace vx {
namespace {

void SetEncoderOption(IPropertyBag2* bag, const wchar_t* name, VARIANT value) {
    if (!bag) return;
    PROPBAG2 option{};
    option.pstrName = const_cast<LPOLESTR>(name);
    bag->Write(1, &option, &value);  // an option the encoder lacks keeps its default
}

const GUID& ContainerOf(PictureFileFormat format) {
    switch (format) {
        case PictureFileFormat::Jpeg: return GUID_ContainerFormatJpeg;
        case PictureFileFormat::Gif: return GUID_ContainerFormatGif;
        case PictureFileFormat::Tiff: return GUID_ContainerFormatTiff;
        default: return GUID_ContainerFormatPng;
    }
}

// JPEG at quality 90; PNG unfiltered (about three times faster than the default
// filtering for screen pictures, and no larger); TIFF uncompressed, lossless either way.
void SetOptions(IPropertyBag2* options, PictureFileFormat format) {
    VARIANT value;
    ::VariantInit(&value);
    if (format == PictureFileFormat::Jpeg) {
        value.vt = VT_R4;
        value.fltVal = 0.9f;
        SetEncoderOption(options, L"ImageQuality", value);
    } else if (format == PictureFileFormat::Png) {
        value.vt = VT_UI1;
        value.bVal = WICPngFilterNone;
        SetEncoderOption(options, L"FilterOption", value);
        value.vt = VT_BOOL;
        value.boolVal = VARIANT_FALSE;
        SetEncoderOption(options, L"InterlaceOption", value);
    }
}

// The picture's own colours when it has no more than 256 (a screenshot of a dialog, a
// diagram), so they come back exact; else an empty list.
std::vector<WICColor> FewColours(IWICImagingFactory* factory, IWICBitmap* source) {
    std::vector<WICColor> colours;
    std::unordered_set<WICColor> seen;
    UINT width = 0, height = 0;
    ComPtr<IWICFormatConverter> bgra;
    if (FAILED(source->GetSize(&width, &height)) || FAILED(factory->CreateFormatConverter(bgra.put())) ||
        FAILED(bgra->Initialize(source, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                WICBitmapPaletteTypeCustom))) {
        return colours;
    }
    std::vector<std::uint32_t> row(width);
    for (UINT y = 0; y < height; ++y) {
        const WICRect line{0, static_cast<INT>(y), static_cast<INT>(width), 1};
        if (FAILED(bgra->CopyPixels(&line, width * 4, width * 4, reinterpret_cast<BYTE*>(row.data())))) return {};
        for (const std::uint32_t pixel : row) {
            const WICColor colour = 0xFF000000u | (pixel & 0xFFFFFFu);
            if (!seen.insert(colour).second) continue;
            if (colours.size() == 256) return {};
            colours.push_back(colour);
        }
    }
    return colours;
}

// GIF holds at most 256 colours: a palette made from the picture, the pixels mapped to it.
bool WriteIndexed(IWICImagingFactory* factory, IWICBitmapFrameEncode* frame, HBITMAP bitmap, HPALETTE palette) {
    ComPtr<IWICBitmap> source;
    ComPtr<IWICPalette> colours;
    ComPtr<IWICFormatConverter> indexed;
    WICPixelFormatGUID format = GUID_WICPixelFormat8bppIndexed;
    if (FAILED(factory->CreateBitmapFromHBITMAP(bitmap, palette, WICBitmapIgnoreAlpha, source.put())) ||
        FAILED(factory->CreatePalette(colours.put()))) {
        return false;
    }
    std::vector<WICColor> few = FewColours(factory, source.get());
    const HRESULT made = few.empty() ? colours->InitializeFromBitmap(source.get(), 256, FALSE)
                                     : colours->InitializeCustom(few.data(), static_cast<UINT>(few.size()));
    return SUCCEEDED(made) &&
           SUCCEEDED(factory->CreateFormatConverter(indexed.put())) &&
           SUCCEEDED(indexed->Initialize(source.get(), GUID_WICPixelFormat8bppIndexed, WICBitmapDitherTypeNone,
                                         colours.get(), 0.0, WICBitmapPaletteTypeCustom)) &&
           SUCCEEDED(frame->SetPixelFormat(&format)) && format == GUID_WICPixelFormat8bppIndexed &&
           SUCCEEDED(frame->SetPalette(colours.get())) && SUCCEEDED(frame->WriteSource(indexed.get(), nullptr));
}

// True colour: rows go top-down to the encoder; GetDIBits gives bands bottom-up, so
// each band is read from its top and handed over row by row from its last row.
bool WriteTrueColour(IWICBitmapFrameEncode* frame, HBITMAP bitmap, std::uint32_t width, std::uint32_t height) {
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR) return false;
    const std::uint32_t stride = BmpStride(width, 24);
    const std::uint32_t bandRows = RowsPerBand(stride, height, kBmpBandBytes);
    std::vector<unsigned char> band(static_cast<size_t>(bandRows) * stride);
    BITMAPINFO bmi = DibInfo(static_cast<long>(width), static_cast<long>(height), 24);
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
    return true;
}

// Whether anything can show through: a pixel format with alpha, or a palette with a
// transparent entry (the imaging component reports indexed formats as opaque).
bool SeeThrough(IWICImagingFactory* factory, IWICBitmapSource* frame) {
    WICPixelFormatGUID format{};
    BOOL alpha = FALSE;
    ComPtr<IWICComponentInfo> info;
    if (SUCCEEDED(frame->GetPixelFormat(&format)) && SUCCEEDED(factory->CreateComponentInfo(format, info.put()))) {
        const auto pixels = info.As<IWICPixelFormatInfo2>(IID_IWICPixelFormatInfo2);
        if (pixels && SUCCEEDED(pixels->SupportsTransparency(&alpha)) && alpha) return true;
    }
    ComPtr<IWICPalette> palette;
    return SUCCEEDED(factory->CreatePalette(palette.put())) && SUCCEEDED(frame->CopyPalette(palette.get())) &&
           SUCCEEDED(palette->HasAlpha(&alpha)) && alpha;
}

// The format rows are asked for in, and whether they are laid over white.
struct Road {
    const GUID* format;
    unsigned bits;
    bool flatten;
};

// Rows of `frame` along `road` into the bitmap selected into `dc`, band by band
// through a small buffer.
HRESULT LayRows(IWICImagingFactory* factory, IWICBitmapSource* frame, const Road& road, HDC dc, UINT width,
                UINT height) {
    ComPtr<IWICFormatConverter> converter;
    HRESULT hr = factory->CreateFormatConverter(converter.put());
    if (SUCCEEDED(hr)) {
        hr = converter->Initialize(frame, *road.format, WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom);
    }
    const std::uint32_t stride = BmpStride(width, road.bits);
    const std::uint32_t bandRows = RowsPerBand(stride, height, kBmpBandBytes);
    std::vector<unsigned char> band(SUCCEEDED(hr) ? static_cast<size_t>(bandRows) * stride : 0);
    BITMAPINFO bmi = DibInfo(static_cast<long>(width), 0, road.bits);
    for (std::uint32_t top = 0; SUCCEEDED(hr) && top < height; top += bandRows) {
        const std::uint32_t rows = std::min(bandRows, height - top);
        const WICRect rect{0, static_cast<INT>(top), static_cast<INT>(width), static_cast<INT>(rows)};
        hr = converter->CopyPixels(&rect, stride, stride * rows, band.data());
        if (SUCCEEDED(hr) && road.flatten) FlattenOntoWhite(band.data(), std::size_t{width} * rows);
        bmi.bmiHeader.biHeight = -static_cast<LONG>(rows);
        if (SUCCEEDED(hr) && ::SetDIBitsToDevice(dc, 0, static_cast<int>(top), width, rows, 0, 0, 0, rows, band.data(),
                                                 &bmi, DIB_RGB_COLORS) == 0) {
            hr = E_FAIL;
        }
    }
    return hr;
}

}  // namespace

ComPtr<IWICImagingFactory> ImagingFactory() {
    ComPtr<IWICImagingFactory> factory;
    ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                       reinterpret_cast<void**>(factory.put()));
    return factory;
}

Result<ComPtr<IStream>> EncodeWithWic(HBITMAP bitmap, HPALETTE palette, PictureFileFormat format) {
    using Encoded = Result<ComPtr<IStream>>;
    const Encoded invalid = Encoded::Failure(Status::CannotWrite, ERROR_INVALID_DATA);
    BITMAP info{};
    if (!::GetObjectW(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return invalid;
    const auto width = static_cast<std::uint32_t>(info.bmWidth);
    const auto height = static_cast<std::uint32_t>(info.bmHeight);
    ComPtr<IWICImagingFactory> factory = ImagingFactory();
    if (!factory) return invalid;
    ComPtr<IStream> encoded;
    if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, encoded.put()))) {
        return Encoded::Failure(Status::CannotWrite, ERROR_NOT_ENOUGH_MEMORY);
    }
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    if (FAILED(factory->CreateEncoder(ContainerOf(format), nullptr, encoder.put())) ||
        FAILED(encoder->Initialize(encoded.get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.put(), options.put()))) {
        return invalid;
    }
    SetOptions(options.get(), format);
    if (FAILED(frame->Initialize(options.get())) || FAILED(frame->SetSize(width, height))) return invalid;
    const bool written = format == PictureFileFormat::Gif ? WriteIndexed(factory.get(), frame.get(), bitmap, palette)
                                                          : WriteTrueColour(frame.get(), bitmap, width, height);
    if (!written || FAILED(frame->Commit()) || FAILED(encoder->Commit())) return invalid;
    return Encoded::Success(std::move(encoded));
}

Result<UniqueBitmap> DecodeIntoBitmap(IWICImagingFactory* factory, IWICBitmapSource* frame, UINT width,
                                      UINT height) {
    using Decoded = Result<UniqueBitmap>;
    UniqueWindowDc screen = UniqueWindowDc::Client(nullptr);
    UniqueBitmap bitmap;
    if (::GetDeviceCaps(screen.get(), RASTERCAPS) & RC_PALETTE) {
        // A palette display cannot hold the colours in its own format: a DIB then.
        const BITMAPINFO bmi = DibInfo(static_cast<long>(width), -static_cast<long>(height), 24);
        void* pixels = nullptr;
        bitmap.reset(::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pixels, nullptr, 0));
    } else {
        // The screen's own format, as a capture has (a fresh DIB section costs more in
        // page faults than the decode itself).
        bitmap = NewCompatibleBitmap(screen.get(), static_cast<int>(width), static_cast<int>(height));
    }
    if (!bitmap) return Decoded::Failure(Status::NoMemory);
    UniqueCreatedDc memory(::CreateCompatibleDC(screen.get()));
    if (!memory) return Decoded::Failure(Status::NoMemory);  // the system's resources, not the file
    SelectGuard select(memory.get(), bitmap.get());
    // Wine's converter takes every format to 24-bit BGR at first and then refuses to copy
    // the rows of most (grey, indexed, 16-bit BGR, 16 bits a sample), so each road is
    // tried in turn; 32-bit BGRA is the one every decoder reaches.
    static const Road opaque[] = {{&GUID_WICPixelFormat24bppBGR, 24, false},
                                  {&GUID_WICPixelFormat32bppBGR, 32, false},
                                  {&GUID_WICPixelFormat32bppBGRA, 32, false}};
    static const Road seeThrough[] = {{&GUID_WICPixelFormat32bppBGRA, 32, true}};
    const bool clear = SeeThrough(factory, frame);
    const Road* roads = clear ? seeThrough : opaque;
    for (size_t i = 0; i < (clear ? std::size(seeThrough) : std::size(opaque)); ++i) {
        if (SUCCEEDED(LayRows(factory, frame, roads[i], memory.get(), width, height))) {
            return Decoded::Success(std::move(bitmap));
        }
    }
    return Decoded::Failure(Status::CannotDecode);
}

}  // namespace vx
