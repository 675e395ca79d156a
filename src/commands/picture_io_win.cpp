#include "picture_io_win.h"

#include <initguid.h>
#include <wincodec.h>

#include <cstring>
#include <vector>

#include "../document/picture_object.h"
#include "../platform/paths.h"
#include "bmp_layout.h"
#include "bmp_writer_win.h"
#include "picture_codec_win.h"
#include "picture_header.h"

namespace vx {
namespace {

DWORD Win32ErrorOf(HRESULT hr) {
    if (HRESULT_FACILITY(hr) == FACILITY_WIN32) return HRESULT_CODE(hr);
    if (hr == E_OUTOFMEMORY) return ERROR_NOT_ENOUGH_MEMORY;
    return 0;
}

Outcome Fail(Status status, DWORD error = 0) { return Outcome{status, error}; }

// Random reads from an open file; a failed read ends the file there.
ReadAt ReadFromFile(HANDLE file) {
    return [file](std::uint64_t offset, unsigned char* to, std::size_t size) -> std::size_t {
        LARGE_INTEGER at;
        at.QuadPart = static_cast<LONGLONG>(offset);
        DWORD read = 0;
        const DWORD want = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
        return ::SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && ::ReadFile(file, to, want, &read, nullptr) ? read : 0;
    };
}

// A file that is not one (a device, a folder) is named as such, not as missing or locked.
Outcome NotAFile(const std::wstring& path) {
    if (IsDeviceName(path)) return Fail(Status::CannotRead, ERROR_BAD_DEVICE);
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return Fail(Status::CannotRead, ERROR_DIRECTORY_NOT_SUPPORTED);
    }
    return {};
}

// What the bytes claim, learnt before any decoder allocates for them: bytes whose size
// the header cannot bound never reach a decoder. An indexed BMP is decoded here.
Outcome CheckClaimed(const ReadAt& read, IndexedPicture& indexed, bool& isIndexed) {
    const PictureHeader header = ReadPictureHeader(read);
    if (!PictureHeaderAcceptable(header)) {
        const bool tooLarge = header.sizeKnown && header.width && header.height;
        return Fail(tooLarge ? Status::TooLarge : Status::CannotDecode);
    }
    const IndexedBmp decoded = header.kind == PictureKind::Bmp ? DecodeIndexedBmp(read, indexed) : IndexedBmp::NotIndexed;
    isIndexed = decoded == IndexedBmp::Decoded;
    return decoded == IndexedBmp::Refused ? Fail(Status::CannotDecode) : Outcome{};
}

Outcome CheckClaimedSize(const std::wstring& path, IndexedPicture& indexed, bool& isIndexed) {
    if (const Outcome o = NotAFile(path); !o.ok()) return o;
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return Fail(Status::CannotRead, ::GetLastError());
    return CheckClaimed(ReadFromFile(file.get()), indexed, isIndexed);
}

Result<ComPtr<IPicture>> PictureOfIndexed(const IndexedPicture& indexed) {
    using Loaded = Result<ComPtr<IPicture>>;
    Result<UniqueBitmap> laid = IndexedIntoBitmap(indexed);
    if (!laid.ok()) return Loaded::Failure(laid.outcome);
    ComPtr<IPicture> picture = CreatePictureFromBitmap(std::move(laid.value), UniquePalette());
    return picture ? Loaded::Success(std::move(picture)) : Loaded::Failure(Status::NoMemory);
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
    IndexedPicture indexed;
    bool isIndexed = false;
    if (const Outcome claimed = CheckClaimedSize(path, indexed, isIndexed); !claimed.ok()) return Loaded::Failure(claimed);
    if (isIndexed) return PictureOfIndexed(indexed);
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
        // The same bounds as a file: a pasted picture is as untrusted as an opened one.
        IndexedPicture indexed;
        bool isIndexed = false;
        const Outcome claimed = CheckClaimed(ReadFromMemory(bytes, total), indexed, isIndexed);
        if (!claimed.ok()) return Loaded::Failure(claimed);
        if (isIndexed) return PictureOfIndexed(indexed);
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

Outcome SavePictureFile(HBITMAP bitmap, HPALETTE palette, const std::wstring& given, PictureFileFormat format) {
    if (!bitmap) return Fail(Status::NoImage);
    const std::wstring path = StoredPath(given);  // the name the system keeps, whatever it is given
    if (IsDeviceName(path)) return Fail(Status::CannotWrite, ERROR_BAD_DEVICE);
    // A read-only file stays as it is, as the platform itself keeps it on Windows
    // (a rename over it would otherwise succeed on some systems).
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return Fail(Status::CannotWrite, ERROR_DIRECTORY_NOT_SUPPORTED);
    }
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        return Fail(Status::CannotWrite, ERROR_ACCESS_DENIED);
    }
    std::wstring folder = FolderOfPath(path);
    if (folder.empty()) folder = L".";
    wchar_t temporary[MAX_PATH + 16] = {};
    // The temporary file's name must fit the classic path limit: a longer path is told
    // as too long, not as missing.
    if (folder.size() > MAX_PATH - 14 || path.size() >= MAX_PATH) return Fail(Status::CannotWrite, ERROR_FILENAME_EXCED_RANGE);
    if (!::GetTempFileNameW(folder.c_str(), L"vx", 0, temporary)) {
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
