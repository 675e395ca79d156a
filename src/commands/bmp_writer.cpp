#include "bmp_writer.h"

#include <atomic>
#include <vector>

#include "bmp_layout.h"

namespace vx {

bool WriteAll(HANDLE file, const void* data, size_t size) {
    const auto* p = static_cast<const unsigned char*>(data);
    while (size > 0) {
        const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!::WriteFile(file, p, chunk, &written, nullptr)) return false;
        if (written == 0) {
            ::SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        p += written;
        size -= written;
    }
    return true;
}

namespace {

// Bytes per band of an 8-bit picture: small enough to stay in the cache between
// GetDIBits and WriteFile.
constexpr size_t kBandBytes = 1 << 20;
// 32-bit rows taken per band before packing: few hand-overs to the writer thread,
// still small beside the frame.
constexpr size_t kPackBandBytes = 1024 * 1024;

// One writer thread for the life of the process: the system's shared pool may start
// more threads when the machine is busy, and each keeps its stack.
PTP_CALLBACK_ENVIRON WriterPool() {
    static TP_CALLBACK_ENVIRON environment;
    static const bool ready = [] {
        ::InitializeThreadpoolEnvironment(&environment);
        PTP_POOL pool = ::CreateThreadpool(nullptr);
        if (!pool) return false;
        ::SetThreadpoolThreadMaximum(pool, 1);
        if (!::SetThreadpoolThreadMinimum(pool, 1)) {
            ::CloseThreadpool(pool);
            return false;
        }
        ::SetThreadpoolCallbackPool(&environment, pool);
        return true;
    }();
    return ready ? &environment : nullptr;
}

// Writes bands handed over by the thread that fills them, on a pool thread, so that
// filling the next band and writing the one before overlap. A few buffers take turns;
// only the bands are ever held, never the whole frame. Without a pool thread the
// bands are written in turn on the caller's thread.
class BandWriter {
public:
    static constexpr unsigned kBuffers = 3;
    using Buffers = std::vector<unsigned char>[kBuffers];

    BandWriter(HANDLE file, size_t bandBytes, Buffers& buffers) : file_(file), buffers_(buffers) {
        for (auto& buffer : buffers_) {
            if (buffer.size() < bandBytes) buffer.resize(bandBytes);
        }
        // Creating and ending a thread of our own costs about as much under Wine as
        // writing the whole frame; a pool thread is created once.
        work_ = ::CreateThreadpoolWork(&BandWriter::WorkMain, this, WriterPool());
        if (work_) ::SubmitThreadpoolWork(work_);
    }
    BandWriter(const BandWriter&) = delete;
    BandWriter& operator=(const BandWriter&) = delete;
    ~BandWriter() {
        DWORD ignored = 0;
        Finish(ignored);
    }

    // The buffer to fill next, once the writer is done with it; nullptr after a failed write.
    unsigned char* Next() {
        const unsigned slot = submitted_ % kBuffers;
        Await([&] { return !full_[slot].load() || failed_.load(); });
        return failed_.load() ? nullptr : buffers_[slot].data();
    }

    // Hands the buffer last given by Next() to the writer with `bytes` filled.
    void Submit(size_t bytes) {
        const unsigned slot = submitted_++ % kBuffers;
        if (!work_) {
            if (!failed_.load() && !WriteAll(file_, buffers_[slot].data(), bytes)) Failed(::GetLastError());
            return;
        }
        sizes_[slot] = bytes;
        Publish([&] { full_[slot].store(true); });
    }

    // Waits for the submitted bands to be written; false with the error when one was not.
    bool Finish(DWORD& error) {
        if (work_) {
            Publish([&] { closing_.store(true); });
            ::WaitForThreadpoolWorkCallbacks(work_, FALSE);
            ::CloseThreadpoolWork(work_);
            work_ = nullptr;
        }
        error = error_;
        return !failed_.load();
    }

private:
    static void CALLBACK WorkMain(PTP_CALLBACK_INSTANCE, void* self, PTP_WORK) {
        static_cast<BandWriter*>(self)->WriteBands();
    }

    void WriteBands() {
        for (unsigned written = 0;; ++written) {
            const unsigned slot = written % kBuffers;
            Await([&] { return full_[slot].load() || closing_.load(); });
            if (!full_[slot].load()) return;  // closing, and every band written
            if (!WriteAll(file_, buffers_[slot].data(), sizes_[slot])) {
                const DWORD error = ::GetLastError();
                Publish([&] { Failed(error); });
                return;
            }
            Publish([&] { full_[slot].store(false); });
        }
    }

    // A band takes tens of microseconds, about what waking a sleeping thread takes under
    // Wine; so the waiting side first watches the flags for a moment (longer spinning
    // only steals the time of the thread it waits for when no core is free).
    template <typename Ready>
    void Await(Ready ready) {
        for (int spin = 0; spin < kSpins; ++spin) {
            if (ready()) return;
            YieldProcessor();
        }
        ::AcquireSRWLockExclusive(&lock_);
        while (!ready()) ::SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
        ::ReleaseSRWLockExclusive(&lock_);
    }

    // Changes the flags under the lock, so that a waiter cannot miss the wake-up.
    template <typename Change>
    void Publish(Change change) {
        ::AcquireSRWLockExclusive(&lock_);
        change();
        ::ReleaseSRWLockExclusive(&lock_);
        ::WakeAllConditionVariable(&changed_);
    }

    void Failed(DWORD error) {
        error_ = error ? error : ERROR_WRITE_FAULT;
        failed_.store(true);
    }

    static constexpr int kSpins = 300;
    HANDLE file_;
    Buffers& buffers_;
    size_t sizes_[kBuffers] = {};
    std::atomic<bool> full_[kBuffers] = {};
    std::atomic<bool> closing_{false}, failed_{false};
    DWORD error_ = 0;
    unsigned submitted_ = 0;
    SRWLOCK lock_ = SRWLOCK_INIT;
    CONDITION_VARIABLE changed_ = CONDITION_VARIABLE_INIT;
    PTP_WORK work_ = nullptr;
};

// A true-colour picture is written at 24 bits. The platform converts to 24 bits pixel
// by pixel, at about three times the cost of handing out 32-bit rows, which are a
// plain copy of the screen's format; so bands are taken at 32 bits and packed here,
// while the band before is being written.
bool WriteBmpTrueColour(HANDLE file, HBITMAP bitmap, const BmpLayout& layout, DWORD& error) {
    UniqueCreatedDc dc(::CreateCompatibleDC(nullptr));
    BITMAPINFO bmi = DibInfo(static_cast<long>(layout.width), static_cast<long>(layout.height), 32);  // the file's order

    const std::vector<unsigned char> headers = BmpHeaders(layout);
    if (!WriteAll(file, headers.data(), headers.size())) {
        error = ::GetLastError();
        return false;
    }
    const std::uint32_t wideStride = layout.width * 4;  // fits: the 24-bit layout was accepted
    const std::uint32_t bandRows = RowsPerBand(wideStride, layout.height, kPackBandBytes);
    // The band buffers are kept from one save to the next: under Wine fresh memory of
    // that size costs page faults on every save, more than packing the rows.
    static std::vector<unsigned char> wide;
    static BandWriter::Buffers packedBands;
    if (wide.size() < static_cast<size_t>(bandRows) * wideStride) wide.resize(static_cast<size_t>(bandRows) * wideStride);
    BandWriter writer(file, static_cast<size_t>(bandRows) * layout.stride, packedBands);
    for (std::uint32_t first = 0; first < layout.height; first += bandRows) {
        const std::uint32_t rows = std::min(bandRows, layout.height - first);
        if (::GetDIBits(dc.get(), bitmap, first, rows, wide.data(), &bmi, DIB_RGB_COLORS) != static_cast<int>(rows)) {
            writer.Finish(error);
            error = ERROR_INVALID_DATA;
            return false;
        }
        unsigned char* packed = writer.Next();
        if (!packed) break;
        PackRows32To24(wide.data(), packed, layout.width, rows);
        writer.Submit(static_cast<size_t>(rows) * layout.stride);
    }
    return writer.Finish(error);
}

}  // namespace

// The BMP rows go from the bitmap to the file band by band, no copy of the whole frame.
bool WriteBmp(HANDLE file, HBITMAP bitmap, HPALETTE palette, DWORD& error) {
    BITMAP info{};
    if (!::GetObjectW(bitmap, sizeof info, &info)) {
        error = ERROR_INVALID_HANDLE;
        return false;
    }
    const unsigned bits = palette ? 8 : 24;
    BmpLayout layout;
    if (!MakeBmpLayout(static_cast<std::uint32_t>(info.bmWidth), static_cast<std::uint32_t>(info.bmHeight), bits,
                       layout)) {
        error = ERROR_ARITHMETIC_OVERFLOW;
        return false;
    }
    if (!palette) return WriteBmpTrueColour(file, bitmap, layout, error);

    UniqueCreatedDc dc(::CreateCompatibleDC(nullptr));
    // With the picture's palette in the context, GetDIBits gives its colours as the table.
    PaletteGuard selectPalette(dc.get(), palette);

    std::vector<unsigned char> infoStorage(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
    auto* bmi = reinterpret_cast<BITMAPINFO*>(infoStorage.data());
    bmi->bmiHeader = DibInfo(static_cast<long>(layout.width), static_cast<long>(layout.height), bits).bmiHeader;

    const std::uint32_t bandRows = RowsPerBand(layout.stride, layout.height, kBandBytes);
    std::vector<unsigned char> band(static_cast<size_t>(bandRows) * layout.stride);
    for (std::uint32_t first = 0; first < layout.height; first += bandRows) {
        const std::uint32_t rows = std::min(bandRows, layout.height - first);
        if (::GetDIBits(dc.get(), bitmap, first, rows, band.data(), bmi, DIB_RGB_COLORS) != static_cast<int>(rows)) {
            error = ERROR_INVALID_DATA;
            return false;
        }
        if (first == 0) {
            const std::vector<unsigned char> headers = BmpHeaders(layout);
            if (!WriteAll(file, headers.data(), headers.size()) ||
                !WriteAll(file, bmi->bmiColors, layout.colours * sizeof(RGBQUAD))) {
                error = ::GetLastError();
                return false;
            }
        }
        if (!WriteAll(file, band.data(), static_cast<size_t>(rows) * layout.stride)) {
            error = ::GetLastError();
            return false;
        }
    }
    return true;
}

}  // namespace vx
