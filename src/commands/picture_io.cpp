#include "picture_io.h"

#include <initguid.h>
#include <wincodec.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "../document/picture_object.h"
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

// What the file claims, learnt before any decoder allocates for it.
Outcome CheckClaimedSize(const std::wstring& path) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return Fail(Status::CannotRead, ::GetLastError());
    std::vector<unsigned char> start(kSniffBytes);
    DWORD read = 0;
    if (!::ReadFile(file.get(), start.data(), kSniffBytes, &read, nullptr)) {
        return Fail(Status::CannotRead, ::GetLastError());
    }
    const PictureHeader header = SniffPictureHeader(start.data(), read);
    if (header.kind == PictureKind::Unknown) return Fail(Status::CannotDecode);
    if (header.sizeKnown && !PictureSizeAcceptable(header.width, header.height)) {
        return Fail(header.width == 0 || header.height == 0 ? Status::CannotDecode : Status::TooLarge);
    }
    return {};
}

// The whole file under its temporary name.
Outcome WriteTemporary(const wchar_t* temporary, HBITMAP bitmap, HPALETTE palette, PictureFileFormat format) {
    UniqueFile file(::CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return Fail(Status::CannotWrite, ::GetLastError());
    if (format == PictureFileFormat::Bmp) return WriteBmp(file.get(), bitmap, palette);
    const Result<ComPtr<IStream>> encoded = EncodeWithWic(bitmap, palette, format);
    if (!encoded.ok()) return encoded.outcome;
    HGLOBAL memory = nullptr;
    STATSTG stat{};
    if (FAILED(::GetHGlobalFromStream(encoded.value.get(), &memory)) ||
        FAILED(encoded.value->Stat(&stat, STATFLAG_NONAME))) {
        return Fail(Status::CannotWrite);
    }
    const GlobalLockGuard locked(memory);
    return locked.data() ? WriteAll(file.get(), locked.data(), static_cast<size_t>(stat.cbSize.QuadPart))
                         : Fail(Status::CannotWrite, ::GetLastError());
}

// The first frame of what `decoder` reads, through the size limits and the decode
// every opened picture goes through.
Result<ComPtr<IPicture>> DecodeFirstFrame(IWICImagingFactory* factory, ComPtr<IWICBitmapDecoder>& decoder,
                                          HRESULT hr) {
    using Loaded = Result<ComPtr<IPicture>>;
    ComPtr<IWICBitmapFrameDecode> frame;
    UINT width = 0, height = 0;
    if (SUCCEEDED(hr)) hr = decoder->GetFrame(0, frame.put());
    if (SUCCEEDED(hr)) hr = frame->GetSize(&width, &height);
    if (FAILED(hr)) {
        const DWORD error = Win32ErrorOf(hr);
        return Loaded::Failure(error && error != ERROR_NOT_ENOUGH_MEMORY ? Status::CannotRead : Status::CannotDecode,
                               error);
    }
    if (!PictureSizeAcceptable(width, height)) return Loaded::Failure(Status::TooLarge);
    // A valid picture too large for the memory at hand is not called damaged.
    Result<UniqueBitmap> decoded = DecodeIntoBitmap(factory, frame.get(), width, height);
    if (!decoded.ok()) return Loaded::Failure(decoded.outcome);
    ComPtr<IPicture> picture = CreatePictureFromBitmap(std::move(decoded.value), UniquePalette());
    if (!picture) return Loaded::Failure(Status::CannotDecode, ERROR_NOT_ENOUGH_MEMORY);
    return Loaded::Success(std::move(picture));
}

}  // namespace

Result<ComPtr<IPicture>> LoadPictureFile(const std::wstring& path) {
    using Loaded = Result<ComPtr<IPicture>>;
    if (const Outcome claimed = CheckClaimedSize(path); !claimed.ok()) return Loaded::Failure(claimed);
    ComPtr<IWICImagingFactory> factory = ImagingFactory();
    if (!factory) return Loaded::Failure(Status::CannotDecode);
    ComPtr<IWICBitmapDecoder> decoder;
    const HRESULT hr = factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                          WICDecodeMetadataCacheOnDemand, decoder.put());
    return DecodeFirstFrame(factory.get(), decoder, hr);
}

Result<ComPtr<IPicture>> LoadPictureBytes(const void* prefix, size_t prefixSize, const void* data, size_t size) {
    using Loaded = Result<ComPtr<IPicture>>;
    // One copy the decoder reads from, the prefix (a file header) before the bytes.
    const size_t total = prefixSize + size;
    UniqueGlobal memory(::GlobalAlloc(GMEM_MOVEABLE, total ? total : 1));
    if (!memory) return Loaded::Failure(Status::NoMemory, ERROR_NOT_ENOUGH_MEMORY);
    {
        const GlobalLockGuard locked(memory.get());
        if (!locked.data()) return Loaded::Failure(Status::NoMemory, ERROR_NOT_ENOUGH_MEMORY);
        auto* bytes = static_cast<unsigned char*>(locked.data());
        if (prefixSize) std::memcpy(bytes, prefix, prefixSize);
        if (size) std::memcpy(bytes + prefixSize, data, size);
        const PictureHeader header = SniffPictureHeader(bytes, std::min<size_t>(total, kSniffBytes));
        if (header.kind == PictureKind::Unknown) return Loaded::Failure(Status::CannotDecode);
        if (header.sizeKnown && !PictureSizeAcceptable(header.width, header.height)) {
            return Loaded::Failure(header.width == 0 || header.height == 0 ? Status::CannotDecode : Status::TooLarge);
        }
    }
    ComPtr<IStream> stream;
    if (FAILED(::CreateStreamOnHGlobal(memory.get(), TRUE, stream.put()))) {
        return Loaded::Failure(Status::NoMemory, ERROR_NOT_ENOUGH_MEMORY);
    }
    memory.release();  // the stream's from here on
    ULARGE_INTEGER exact{};
    exact.QuadPart = total;
    stream->SetSize(exact);
    ComPtr<IWICImagingFactory> factory = ImagingFactory();
    if (!factory) return Loaded::Failure(Status::CannotDecode);
    ComPtr<IWICBitmapDecoder> decoder;
    const HRESULT hr = factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnLoad,
                                                        decoder.put());
    return DecodeFirstFrame(factory.get(), decoder, hr);
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
    Outcome written = WriteTemporary(temporary, bitmap, palette, format);
    if (written.ok() && !::MoveFileExW(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        written = Fail(Status::CannotWrite, ::GetLastError());
    }
    if (!written.ok()) {
        ::DeleteFileW(temporary);
        return Fail(Status::CannotWrite, written.error ? written.error : ERROR_WRITE_FAULT);
    }
    return {};
}

}  // namespace vx
