#pragma once
// Pieces shared by the document-command tests: pictures with known pixels, reading
// pixels back, small file helpers.
#include <cstdint>
#include <string>
#include <vector>

#include "capture/capture_area.h"
#include "win_test_support.h"

namespace vx::test {

// The colour the test pattern has at (x, y), as 0x00RRGGBB; `seed` varies it.
inline std::uint32_t PatternColour(int x, int y, int seed) {
    const std::uint32_t r = static_cast<std::uint32_t>(x * 7 + seed) & 0xFF;
    const std::uint32_t g = static_cast<std::uint32_t>(y * 13 + seed * 3) & 0xFF;
    const std::uint32_t b = static_cast<std::uint32_t>((x ^ y) + seed * 5) & 0xFF;
    return (r << 16) | (g << 8) | b;
}

// A screen-compatible bitmap (what a capture holds) filled with the pattern.
inline ComPtr<IPicture> PatternPicture(int width, int height, int seed = 0) {
    std::vector<std::uint32_t> pixels(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels[static_cast<size_t>(y) * width + x] = PatternColour(x, y, seed);
    HDC screen = ::GetDC(nullptr);
    UniqueBitmap bitmap(::CreateCompatibleBitmap(screen, width, height));
    BITMAPINFO bmi{};
    bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    ::SetDIBits(screen, bitmap.get(), 0, static_cast<UINT>(height), pixels.data(), &bmi, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return CreatePictureFromBitmap(std::move(bitmap), UniquePalette());
}

// Top-down 0x00RRGGBB pixels of a bitmap.
inline std::vector<std::uint32_t> PixelsOf(HBITMAP bitmap, int* width = nullptr, int* height = nullptr) {
    BITMAP info{};
    ::GetObjectW(bitmap, sizeof info, &info);
    if (width) *width = info.bmWidth;
    if (height) *height = info.bmHeight;
    std::vector<std::uint32_t> pixels(static_cast<size_t>(info.bmWidth) * info.bmHeight);
    BITMAPINFO bmi{};
    bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), info.bmWidth, -info.bmHeight, 1, 32, BI_RGB};
    HDC dc = ::CreateCompatibleDC(nullptr);
    ::GetDIBits(dc, bitmap, 0, static_cast<UINT>(info.bmHeight), pixels.data(), &bmi, DIB_RGB_COLORS);
    ::DeleteDC(dc);
    for (auto& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

inline HBITMAP BitmapOf(const ComPtr<IPicture>& picture) {
    OLE_HANDLE handle = 0;
    if (!picture || FAILED(picture->get_Handle(&handle))) return nullptr;
    return reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
}

inline std::string ReadFileBytes(const std::wstring& path) {
    std::string bytes;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char buffer[65536];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    ::CloseHandle(file);
    return bytes;
}

inline bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    ::CloseHandle(file);
    return ok;
}

inline bool FileExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline std::wstring WindowTitle(HWND hwnd) {
    wchar_t text[512] = {};
    ::GetWindowTextW(hwnd, text, 512);
    return text;
}

}  // namespace vx::test
