#include "picture_codec.h"

#include <initguid.h>
#include <wincodec.h>

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "../platform/gdi.h"
#include "bmp_layout.h"

namespace vx {
namespace {

// Bytes per band when rows go between a bitmap and the imaging component.
constexpr size_t kBandBytes = 1 << 20;

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
    const std::uint32_t bandRows = RowsPerBand(stride, height, kBandBytes);
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

// Formats that carry no transparency: decoded as before, pixel for pixel.
bool Opaque(const WICPixelFormatGUID& f) {
    for (const GUID* g : {&GUID_WICPixelFormat24bppBGR, &GUID_WICPixelFormat24bppRGB, &GUID_WICPixelFormat32bppBGR,
                          &GUID_WICPixelFormat48bppRGB, &GUID_WICPixelFormat8bppGray, &GUID_WICPixelFormat16bppGray,
                          &GUID_WICPixelFormatBlackWhite, &GUID_WICPixelFormat16bppBGR555,
                          &GUID_WICPixelFormat16bppBGR565}) {
        if (IsEqualGUID(f, *g)) return true;
    }
    return false;
}

ComPtr<IWICFormatConverter> Converter(IWICImagingFactory* factory, IWICBitmapSource* frame, const GUID& format) {
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame, format, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom))) {
        return {};
    }
    return converter;
}

}  // namespace

ComPtr<IWICImagingFactory> ImagingFactory() {
    ComPtr<IWICImagingFactory> factory;
    ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                       reinterpret_cast<void**>(factory.put()));
    return factory;
}

bool EncodeWithWic(HBITMAP bitmap, HPALETTE palette, PictureFileFormat format, ComPtr<IStream>& encoded,
                   DWORD& error) {
    error = ERROR_INVALID_DATA;
    BITMAP info{};
    if (!::GetObjectW(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return false;
    const auto width = static_cast<std::uint32_t>(info.bmWidth);
    const auto height = static_cast<std::uint32_t>(info.bmHeight);
    ComPtr<IWICImagingFactory> factory = ImagingFactory();
    if (!factory) return false;
    if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, encoded.put()))) {
        error = ERROR_NOT_ENOUGH_MEMORY;
        return false;
    }
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    if (FAILED(factory->CreateEncoder(ContainerOf(format), nullptr, encoder.put())) ||
        FAILED(encoder->Initialize(encoded.get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.put(), options.put()))) {
        return false;
    }
    SetOptions(options.get(), format);
    if (FAILED(frame->Initialize(options.get())) || FAILED(frame->SetSize(width, height))) return false;
    const bool written = format == PictureFileFormat::Gif ? WriteIndexed(factory.get(), frame.get(), bitmap, palette)
                                                          : WriteTrueColour(frame.get(), bitmap, width, height);
    if (!written || FAILED(frame->Commit()) || FAILED(encoder->Commit())) return false;
    error = 0;
    return true;
}

Decoded DecodeIntoBitmap(IWICImagingFactory* factory, IWICBitmapSource* frame, UINT width, UINT height) {
    Decoded out;
    WICPixelFormatGUID native{};
    frame->GetPixelFormat(&native);
    // With transparency: premultiplied, then flattened onto white below. Otherwise 24
    // bits, or 32 for formats the converter cannot take to 24.
    const bool flatten = !Opaque(native);
    unsigned bits = 32;
    ComPtr<IWICFormatConverter> converted;
    if (flatten) converted = Converter(factory, frame, GUID_WICPixelFormat32bppPBGRA);
    if (!converted) {
        bits = 24;
        converted = Converter(factory, frame, GUID_WICPixelFormat24bppBGR);
    }
    if (!converted) {
        bits = 32;
        converted = Converter(factory, frame, GUID_WICPixelFormat32bppBGR);
    }
    if (!converted) return out;
    const bool premultiplied = flatten && bits == 32;
    const std::uint32_t stride = BmpStride(width, bits);
    BITMAPINFO bmi = DibInfo(static_cast<long>(width), -static_cast<long>(height), bits);

    UniqueWindowDc screen = UniqueWindowDc::Client(nullptr);
    if (::GetDeviceCaps(screen.get(), RASTERCAPS) & RC_PALETTE) {
        // A palette display cannot hold the colours in its own format: keep the DIB.
        void* pixels = nullptr;
        UniqueBitmap dib(::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pixels, nullptr, 0));
        out.noMemory = !dib || !pixels;
        if (out.noMemory) return out;
        if (FAILED(converted->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(pixels)))) return out;
        if (premultiplied) FlattenOntoWhite(static_cast<std::uint8_t*>(pixels), std::size_t{width} * height);
        out.bitmap = std::move(dib);
        return out;
    }
    // The screen's own format, as a capture has: decoded band by band through a small
    // buffer (a fresh DIB section costs more in page faults than the decode itself).
    UniqueBitmap bitmap = NewCompatibleBitmap(screen.get(), static_cast<int>(width), static_cast<int>(height));
    out.noMemory = !bitmap;
    if (out.noMemory) return out;
    UniqueCreatedDc memory(::CreateCompatibleDC(screen.get()));
    SelectGuard select(memory.get(), bitmap.get());
    const std::uint32_t bandRows = RowsPerBand(stride, height, kBandBytes);
    std::vector<unsigned char> band(static_cast<size_t>(bandRows) * stride);
    for (std::uint32_t top = 0; top < height; top += bandRows) {
        const std::uint32_t rows = std::min(bandRows, height - top);
        const WICRect rect{0, static_cast<INT>(top), static_cast<INT>(width), static_cast<INT>(rows)};
        if (FAILED(converted->CopyPixels(&rect, stride, stride * rows, band.data()))) return out;
        if (premultiplied) FlattenOntoWhite(band.data(), std::size_t{width} * rows);
        bmi.bmiHeader.biHeight = -static_cast<LONG>(rows);
        if (::SetDIBitsToDevice(memory.get(), 0, static_cast<int>(top), width, rows, 0, 0, 0, rows, band.data(), &bmi,
                                DIB_RGB_COLORS) == 0) {
            return out;
        }
    }
    out.bitmap = std::move(bitmap);
    return out;
}

}  // namespace vx
