#include "win_test_support.h"

#include <process.h>
#include <psapi.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/program_path.h"

namespace vx::test {
namespace {

// A screen-compatible bitmap, drawn on by `draw` in a memory context (the screen's
// context is its second argument).
UniqueBitmap ScreenBitmap(int width, int height, const std::function<void(HDC, HDC)>& draw) {
    UniqueWindowDc screen = UniqueWindowDc::Client(nullptr);
    UniqueCreatedDc memory(::CreateCompatibleDC(screen.get()));
    UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), width, height));
    SelectGuard select(memory.get(), bitmap.get());
    draw(memory.get(), screen.get());
    return bitmap;
}

}  // namespace

size_t PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX c{sizeof c};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&c), sizeof c);
    return c.PrivateUsage ? c.PrivateUsage : c.PagefileUsage;  // Wine fills the page-file figure only
}

TempDir::TempDir() {
    wchar_t name[MAX_PATH] = {};
    ::GetTempFileNameW(std::filesystem::temp_directory_path().c_str(), L"vx", 0, name);
    ::DeleteFileW(name);
    ::CreateDirectoryW(name, nullptr);
    path = name;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

Pixels ReadPixels(HBITMAP bitmap, HPALETTE palette) {
    BITMAP info{};
    if (!bitmap || !::GetObjectW(bitmap, sizeof info, &info)) return {};
    Pixels out{info.bmWidth, info.bmHeight, std::vector<std::uint32_t>(static_cast<size_t>(info.bmWidth) * info.bmHeight)};
    UniqueCreatedDc memory(::CreateCompatibleDC(nullptr));
    if (palette) ::SelectPalette(memory.get(), palette, FALSE), ::RealizePalette(memory.get());
    BITMAPINFO bi{{sizeof(BITMAPINFOHEADER), out.width, -out.height, 1, 32, BI_RGB}};
    ::GetDIBits(memory.get(), bitmap, 0, out.height, out.values.data(), &bi, DIB_RGB_COLORS);
    for (auto& v : out.values) v &= 0xFFFFFF;
    return out;
}

Pixels ReadScreen(const RECT& r) {
    const int width = r.right - r.left, height = r.bottom - r.top;
    auto copy = [&](HDC dc, HDC screen) { ::BitBlt(dc, 0, 0, width, height, screen, r.left, r.top, SRCCOPY); };
    return ReadPixels(ScreenBitmap(width, height, copy).get());
}

ComPtr<IPicture> PictureOf(int width, int height, const std::function<std::uint32_t(int x, int y)>& colour) {
    std::vector<std::uint32_t> bits(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < bits.size(); ++i) bits[i] = colour(i % width, i / width);
    BITMAPINFO bi{{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB}};
    auto paint = [&](HDC dc, HDC) { ::SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, bits.data(), &bi, DIB_RGB_COLORS); };
    return CreatePictureFromBitmap(ScreenBitmap(width, height, paint), UniquePalette());
}

std::string ReadFileBytes(const std::wstring& path) {
    return std::string(std::istreambuf_iterator<char>(std::ifstream(std::filesystem::path(path), std::ios::binary).rdbuf()), {});
}
bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    return std::ofstream(std::filesystem::path(path), std::ios::binary).write(bytes.data(), bytes.size()).flush().good();
}

std::wstring TestProgram(const wchar_t* name) { return ProgramFolder() + L"\\" + name; }

ClipboardHolder::ClipboardHolder() {
    const std::wstring ready = L"\"" + dir.File(L"ready") + L"\"";
    const intptr_t started = _wspawnl(_P_NOWAIT, TestProgram(L"region_probe.exe").c_str(), L"region_probe", L"hold-clipboard",
                                      L"3000", ready.c_str(), nullptr);
    if (started != -1) process.reset(reinterpret_cast<HANDLE>(started));
    PumpUntil([this] { return !process || FileExists(dir.File(L"ready")); });
}

}  // namespace vx::test
