#include "picture_io.h"

#include <initguid.h>
#include <wincodec.h>

#include <vector>

#include "../capture/capture_area.h"
#include "../platform/paths.h"
#include "bmp_layout.h"
#include "bmp_writer.h"
#include "picture_codec.h"
#include "picture_header.h"

namespace vx {
namespace {

// How much of a file's start is read to learn the size it claims: enough for the
// metadata segments that usually come before a JPEG frame header.
constexpr DWORD kSniffBytes = 256 * 1024;
DWORD Win32ErrorOf(HRESULT hr) {
    if (HRESULT_FACILITY(hr) == FACILITY_WIN32) return HRESULT_CODE(hr);
    if (hr == E_OUTOFMEMORY) return ERROR_NOT_ENOUGH_MEMORY;
    return 0;
}

Outcome Fail(Status status, DWORD error = 0) { return Outcome{status, error}; }

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

    ComPtr<IWICImagingFactory> factory = ImagingFactory();
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

    Decoded decoded = DecodeIntoBitmap(factory.get(), frame.get(), width, height);
    const bool noMemory = decoded.noMemory;
    UniqueBitmap bitmap = std::move(decoded.bitmap);
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
            if (EncodeWithWic(bitmap, palette, format, encoded, error)) {
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
