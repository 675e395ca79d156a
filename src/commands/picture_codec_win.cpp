#include "picture_codec_win.h"

#include <initguid.h>
#include <wincodec.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <optional>
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
    return ForEachBand(height, bandRows, [&](std::uint32_t top, std::uint32_t rows) {
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
        return true;
    });
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

// The pixel format rows are asked for in, and whether they are laid over white.
struct RowFormat {
    const GUID* format;
    unsigned bits;
    bool flatten;
};

// Rows of `frame` in `rowFormat` into the bitmap selected into `dc`, band by band
// through a small buffer.
HRESULT LayRows(IWICImagingFactory* factory, IWICBitmapSource* frame, const RowFormat& rowFormat, HDC dc,
                UINT width, UINT height) {
    ComPtr<IWICFormatConverter> converter;
    HRESULT hr = factory->CreateFormatConverter(converter.put());
    if (SUCCEEDED(hr)) {
        hr = converter->Initialize(frame, *rowFormat.format, WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom);
    }
    if (FAILED(hr)) return hr;
    const std::uint32_t stride = BmpStride(width, rowFormat.bits);
    const std::uint32_t bandRows = RowsPerBand(stride, height, kBmpBandBytes);
    std::vector<unsigned char> band(static_cast<size_t>(bandRows) * stride);
    BITMAPINFO bmi = DibInfo(static_cast<long>(width), 0, rowFormat.bits);
    ForEachBand(height, bandRows, [&](std::uint32_t top, std::uint32_t rows) {
        const WICRect rect{0, static_cast<INT>(top), static_cast<INT>(width), static_cast<INT>(rows)};
        hr = converter->CopyPixels(&rect, stride, stride * rows, band.data());
        if (SUCCEEDED(hr) && rowFormat.flatten) FlattenOntoWhite(band.data(), std::size_t{width} * rows);
        bmi.bmiHeader.biHeight = -static_cast<LONG>(rows);
        if (SUCCEEDED(hr) && ::SetDIBitsToDevice(dc, 0, static_cast<int>(top), width, rows, 0, 0, 0, rows, band.data(),
                                                 &bmi, DIB_RGB_COLORS) == 0) {
            hr = E_FAIL;
        }
        return SUCCEEDED(hr);
    });
    return hr;
}

// A bitmap for a decoded picture, in the screen's own format (a DIB on a palette display),
// selected into a memory context.
struct PictureCanvas {
    UniqueWindowDc screen = UniqueWindowDc::Client(nullptr);
    UniqueBitmap bitmap;
    UniqueCreatedDc memory;
    std::optional<SelectGuard> select;

    PictureCanvas(UINT width, UINT height) {
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
        if (bitmap) memory.reset(::CreateCompatibleDC(screen.get()));
        if (memory) select.emplace(memory.get(), bitmap.get());
    }
    // The bitmap, once the memory context has let go of it.
    UniqueBitmap Take() {
        select.reset();
        return std::move(bitmap);
    }
};

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
    PictureCanvas canvas(width, height);
    if (!canvas.select) return Decoded::Failure(Status::NoMemory);  // the system's resources, not the file
    // Wine's converter takes every format to 24-bit BGR at first and then refuses to copy
    // the rows of most (grey, indexed, 16-bit BGR, 16 bits a sample), so each format is
    // tried in turn; 32-bit BGRA is the one every decoder reaches.
    static const RowFormat opaque[] = {{&GUID_WICPixelFormat24bppBGR, 24, false},
                                       {&GUID_WICPixelFormat32bppBGR, 32, false},
                                       {&GUID_WICPixelFormat32bppBGRA, 32, false}};
    static const RowFormat seeThrough[] = {{&GUID_WICPixelFormat32bppBGRA, 32, true}};
    const bool clear = SeeThrough(factory, frame);
    const RowFormat* formats = clear ? seeThrough : opaque;
    for (size_t i = 0; i < (clear ? std::size(seeThrough) : std::size(opaque)); ++i) {
        if (SUCCEEDED(LayRows(factory, frame, formats[i], canvas.memory.get(), width, height))) {
            return Decoded::Success(canvas.Take());
        }
    }
    return Decoded::Failure(Status::CannotDecode);
}

Result<UniqueBitmap> IndexedIntoBitmap(const IndexedPicture& picture) {
    using Decoded = Result<UniqueBitmap>;
    PictureCanvas canvas(picture.width, picture.height);
    if (!canvas.select) return Decoded::Failure(Status::NoMemory);
    std::vector<unsigned char> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* bmi = reinterpret_cast<BITMAPINFO*>(info.data());
    bmi->bmiHeader = DibInfo(static_cast<long>(picture.width), 0, 8).bmiHeader;
    bmi->bmiHeader.biClrUsed = 256;
    std::memcpy(bmi->bmiColors, picture.colours.data(), 256 * sizeof(RGBQUAD));
    const std::uint32_t bandRows = RowsPerBand(picture.stride, picture.height, kBmpBandBytes);
    const bool laid = ForEachBand(picture.height, bandRows, [&](std::uint32_t top, std::uint32_t rows) {
        bmi->bmiHeader.biHeight = -static_cast<LONG>(rows);
        return ::SetDIBitsToDevice(canvas.memory.get(), 0, static_cast<int>(top), picture.width, rows, 0, 0, 0, rows,
                                   picture.indices.data() + std::size_t{top} * picture.stride, bmi,
                                   DIB_RGB_COLORS) != 0;
    });
    return laid ? Decoded::Success(canvas.Take()) : Decoded::Failure(Status::NoMemory);
}

}  // namespace vx
