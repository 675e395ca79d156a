#include "win_test_support.h"

#include <psapi.h>
#include <shlobj.h>

#include "platform/program_path.h"

namespace vx::test {

void Pump(int milliseconds) {
    const DWORD end = ::GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (milliseconds > 0) ::Sleep(5);
    } while (static_cast<int>(end - ::GetTickCount()) > 0);
}

int ScriptedDialogs::MessageBox(HWND, const wchar_t* text, const wchar_t* title, UINT style) {
    boxes.push_back({text ? text : L"", title ? title : L"", style});
    if (boxAnswers.empty()) return IDCANCEL;
    const int answer = boxAnswers.front();
    boxAnswers.pop_front();
    return answer;
}

bool ScriptedDialogs::File(OPENFILENAMEW& ofn) {
    fileRequests.push_back(ofn);
    if (fileAnswers.empty()) return false;
    const std::wstring answer = fileAnswers.front();
    fileAnswers.pop_front();
    if (answer.empty() || !ofn.lpstrFile || answer.size() + 1 > ofn.nMaxFile) return false;
    wcscpy(ofn.lpstrFile, answer.c_str());
    return true;
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
    PROCESS_MEMORY_COUNTERS_EX c{};
    c.cb = sizeof c;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&c), sizeof c);
    return c.PrivateUsage ? c.PrivateUsage : c.PagefileUsage;  // Wine fills the page-file figure only
}

TempDir::TempDir() {
    wchar_t base[MAX_PATH] = {}, name[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, base);
    ::GetTempFileNameW(base, L"vx", 0, name);
    ::DeleteFileW(name);
    ::CreateDirectoryW(name, nullptr);
    path_ = name;
}

TempDir::~TempDir() {
    const std::wstring from = path_ + L'\0';
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    ::SHFileOperationW(&op);
}

std::string Narrow(const std::wstring& text) {
    const int size = static_cast<int>(text.size());
    std::string out(static_cast<size_t>(::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), size, nullptr, 0, nullptr, nullptr)), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), size, out.data(), static_cast<int>(out.size()), nullptr, nullptr);
    return out;
}

Pixels ReadPixels(HBITMAP bitmap, HPALETTE palette) {
    Pixels out;
    BITMAP info{};
    if (!bitmap || !::GetObjectW(bitmap, sizeof info, &info)) return out;
    out.width = info.bmWidth;
    out.height = info.bmHeight;
    out.values.resize(static_cast<size_t>(out.width) * out.height);
    UniqueWindowDc screen = UniqueWindowDc::Client(nullptr);
    UniqueCreatedDc memory(::CreateCompatibleDC(screen.get()));
    HPALETTE previous = palette ? ::SelectPalette(memory.get(), palette, FALSE) : nullptr;
    if (palette) ::RealizePalette(memory.get());
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), out.width, -out.height, 1, 32, BI_RGB};
    ::GetDIBits(memory.get(), bitmap, 0, static_cast<UINT>(out.height), out.values.data(), &bi, DIB_RGB_COLORS);
    if (previous) ::SelectPalette(memory.get(), previous, FALSE);
    for (auto& v : out.values) v &= 0xFFFFFF;
    return out;
}

Pixels ReadScreen(const RECT& r) {
    UniqueWindowDc screen = UniqueWindowDc::Client(nullptr);
    UniqueCreatedDc memory(::CreateCompatibleDC(screen.get()));
    UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), r.right - r.left, r.bottom - r.top));
    {
        SelectGuard select(memory.get(), bitmap.get());
        ::BitBlt(memory.get(), 0, 0, r.right - r.left, r.bottom - r.top, screen.get(), r.left, r.top, SRCCOPY);
    }
    return ReadPixels(bitmap.get());
}

ComPtr<IPicture> PictureOf(int width, int height, const ColourAt& colour) {
    std::vector<std::uint32_t> bits(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < bits.size(); ++i) bits[i] = colour(static_cast<int>(i % width), static_cast<int>(i / width));
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    UniqueWindowDc screen = UniqueWindowDc::Client(nullptr);
    UniqueCreatedDc memory(::CreateCompatibleDC(screen.get()));
    UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), width, height));
    {
        SelectGuard select(memory.get(), bitmap.get());
        ::SetDIBitsToDevice(memory.get(), 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                            static_cast<UINT>(height), bits.data(), &bi, DIB_RGB_COLORS);
    }
    return CreatePictureFromBitmap(std::move(bitmap), UniquePalette());
}

HBITMAP BitmapOf(const ComPtr<IPicture>& picture) {
    OLE_HANDLE handle = 0;
    if (!picture || FAILED(picture->get_Handle(&handle))) return nullptr;
    return reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
}

std::uint32_t PatternColour(int x, int y, int seed) {
    const std::uint32_t r = static_cast<std::uint32_t>(x * 7 + seed) & 0xFF;
    const std::uint32_t g = static_cast<std::uint32_t>(y * 13 + seed * 3) & 0xFF;
    const std::uint32_t b = static_cast<std::uint32_t>((x ^ y) + seed * 5) & 0xFF;
    return (r << 16) | (g << 8) | b;
}

void MouseAt(int x, int y, DWORD flags) {
    const LONGLONG w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((x * 65535LL + w / 2) / (w - 1));
    in.mi.dy = static_cast<LONG>((y * 65535LL + h / 2) / (h - 1));
    in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
    ::SendInput(1, &in, sizeof in);
}

void Drag(int x1, int y1, int x2, int y2) {
    MouseAt(x1, y1);
    MouseAt(x1, y1, MOUSEEVENTF_LEFTDOWN);
    MouseAt((x1 + x2) / 2, (y1 + y2) / 2);
    MouseAt(x2, y2);
    MouseAt(x2, y2, MOUSEEVENTF_LEFTUP);
    Pump(300);
}

std::wstring WindowTitle(HWND hwnd) {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(hwnd)) + 1, L'\0');
    ::GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()));
    return text.c_str();
}

std::wstring StatusText(HWND statusBar, int part) {
    std::wstring text(LOWORD(::SendMessageW(statusBar, SB_GETTEXTLENGTHW, part, 0)) + 1u, L'\0');
    ::SendMessageW(statusBar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()));
    return text.c_str();
}

std::string ReadFileBytes(const std::wstring& path) {
    std::string bytes;
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
    char buffer[65536];
    DWORD read = 0;
    while (file && ::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    return bytes;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

std::wstring RegString(HKEY root, const wchar_t* key, const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    DWORD size = sizeof value;
    return ::RegGetValueW(root, key, name, RRF_RT_REG_SZ, nullptr, value, &size) == ERROR_SUCCESS ? value : L"";
}

std::wstring TestProgram(const wchar_t* name) { return ProgramFolder() + L"\\" + name; }

UniqueProcess StartProcess(std::wstring commandLine) {
    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return UniqueProcess();
    ::CloseHandle(pi.hThread);
    return UniqueProcess(pi.hProcess);
}

ClipboardHolder::ClipboardHolder()
    : process_(StartProcess(L"\"" + TestProgram(L"region_probe.exe") + L"\" hold-clipboard 3000 \"" +
                            dir_.File(L"ready") + L"\"")) {
    for (int i = 0; i < 100 && process_ && !FileExists(dir_.File(L"ready")); ++i) ::Sleep(50);
}

}  // namespace vx::test
