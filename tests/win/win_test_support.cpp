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

void Pump(int milliseconds) {
    for (const DWORD end = ::GetTickCount() + milliseconds;; ::Sleep(5)) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::TranslateMessage(&msg), ::DispatchMessageW(&msg);
        if (static_cast<int>(end - ::GetTickCount()) <= 0) return;
    }
}

int ScriptedDialogs::MessageBox(HWND, const wchar_t* text, const wchar_t*, UINT style) {
    boxes.push_back({text ? text : L"", style});
    if (boxAnswers.empty()) return IDCANCEL;
    const int answer = boxAnswers.front();
    boxAnswers.pop_front();
    return answer;
}

bool ScriptedDialogs::File(OPENFILENAMEW& ofn) {
    if (fileAnswers.empty()) return false;
    const std::wstring answer = fileAnswers.front();
    fileAnswers.pop_front();
    return !answer.empty() && ofn.lpstrFile && answer.size() < ofn.nMaxFile && wcscpy(ofn.lpstrFile, answer.c_str());
}

void MainWindowTest::SetUp() {
    // A clean placement record, so every test starts from the defaults.
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Vellumox");
    form = std::make_unique<FrmMain>();
    ASSERT_TRUE(form->Create(::GetModuleHandleW(nullptr)));
    form->Show();
    Pump(20);
}

void MainWindowTest::TearDown() {
    form.reset();
    Pump();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Vellumox");
}

int CountGdiObjects(DWORD type) {
    int count = 0;
    for (UINT_PTR i = 1; i <= 0xFFFF; ++i) count += ::GetObjectType(reinterpret_cast<HGDIOBJ>(i)) == type;
    return count;
}

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

std::string Narrow(const std::wstring& text) {
    std::string out(text.size() * 3, '\0');
    out.resize(::WideCharToMultiByte(CP_UTF8, 0, text.data(), text.size(), out.data(), out.size(), nullptr, nullptr));
    return out;
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
    return ReadPixels(ScreenBitmap(width, height, [&](HDC dc, HDC screen) {
        ::BitBlt(dc, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    }).get());
}

ComPtr<IPicture> PictureOf(int width, int height, const std::function<std::uint32_t(int x, int y)>& colour) {
    std::vector<std::uint32_t> bits(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < bits.size(); ++i) bits[i] = colour(i % width, i / width);
    BITMAPINFO bi{{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB}};
    return CreatePictureFromBitmap(ScreenBitmap(width, height, [&](HDC dc, HDC) {
        ::SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, bits.data(), &bi, DIB_RGB_COLORS);
    }), UniquePalette());
}

HBITMAP BitmapOf(const ComPtr<IPicture>& picture) {
    OLE_HANDLE handle = 0;
    return picture && SUCCEEDED(picture->get_Handle(&handle)) ? reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)) : nullptr;
}

std::uint32_t PatternColour(int x, int y, int seed) {
    return ((x * 7 + seed) & 0xFF) << 16 | ((y * 13 + seed * 3) & 0xFF) << 8 | (((x ^ y) + seed * 5) & 0xFF);
}

void MouseAt(int x, int y, DWORD flags) {
    const LONGLONG w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT in{INPUT_MOUSE, {{static_cast<LONG>((x * 65535LL + w / 2) / (w - 1)), static_cast<LONG>((y * 65535LL + h / 2) / (h - 1)),
                            0, MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags}}};
    ::SendInput(1, &in, sizeof in);
}

void Drag(int x1, int y1, int x2, int y2) {
    for (DWORD flags : {0, MOUSEEVENTF_LEFTDOWN}) MouseAt(x1, y1, flags);
    MouseAt((x1 + x2) / 2, (y1 + y2) / 2);
    for (DWORD flags : {0, MOUSEEVENTF_LEFTUP}) MouseAt(x2, y2, flags);
    Pump(300);
}

std::wstring WindowTitle(HWND hwnd) {
    std::wstring text(::GetWindowTextLengthW(hwnd) + 1, L'\0');
    text.resize(::GetWindowTextW(hwnd, text.data(), text.size()));
    return text;
}

std::string ReadFileBytes(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream file(std::filesystem::path(path), std::ios::binary);
    return file.write(bytes.data(), bytes.size()).flush().good();
}

std::wstring RegString(HKEY root, const wchar_t* key, const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    DWORD size = sizeof value;
    return ::RegGetValueW(root, key, name, RRF_RT_REG_SZ, nullptr, value, &size) == ERROR_SUCCESS ? value : L"";
}

std::wstring TestProgram(const wchar_t* name) { return ProgramFolder() + L"\\" + name; }

ClipboardHolder::ClipboardHolder() {
    const std::wstring ready = L"\"" + dir.File(L"ready") + L"\"";
    const intptr_t started = _wspawnl(_P_NOWAIT, TestProgram(L"region_probe.exe").c_str(), L"region_probe", L"hold-clipboard",
                                      L"3000", ready.c_str(), nullptr);
    if (started != -1) process.reset(reinterpret_cast<HANDLE>(started));
    for (int i = 0; i < 100 && process && !FileExists(dir.File(L"ready")); ++i) ::Sleep(50);
}

}  // namespace vx::test
