#include "win_test_support.h"

#include <psapi.h>
#include <shlobj.h>

#include "resources/resource.h"

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
    fileRequestNames.push_back(ofn.lpstrFile ? ofn.lpstrFile : L"");
    std::wstring filter;
    if (ofn.lpstrFilter) {
        for (const wchar_t* p = ofn.lpstrFilter; *p; p += wcslen(p) + 1) filter += std::wstring(p) + L"|";
    }
    fileRequestFilters.push_back(filter);
    if (fileAnswers.empty()) return false;
    const std::wstring answer = fileAnswers.front();
    fileAnswers.pop_front();
    if (answer.empty()) return false;
    if (!ofn.lpstrFile || answer.size() + 1 > ofn.nMaxFile) return false;
    wcscpy(ofn.lpstrFile, answer.c_str());
    return true;
}

void MainWindowTest::SetUp() {
    // A clean placement record, so every test starts from the defaults.
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Vellumox");
    form = std::make_unique<FrmMain>();
    ASSERT_TRUE(form->Create(::GetModuleHandleW(nullptr)));
    form->Show(SW_SHOWNORMAL);
    Pump(20);
}

void MainWindowTest::TearDown() {
    form.reset();
    Pump();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Vellumox");
}

int CountGdiObjects(DWORD type) {
    int count = 0;
    for (UINT_PTR i = 1; i <= 0xFFFF; ++i) {
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(i)) == type) ++count;
    }
    return count;
}

size_t PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                           sizeof counters);
    // Wine fills the page-file figure, not PrivateUsage.
    return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}

TempDir::TempDir() {
    wchar_t base[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, base);
    wchar_t name[MAX_PATH] = {};
    ::GetTempFileNameW(base, L"vx", 0, name);
    ::DeleteFileW(name);
    ::CreateDirectoryW(name, nullptr);
    path_ = name;
}

TempDir::~TempDir() {
    std::wstring from = path_ + L'\0';
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    ::SHFileOperationW(&op);
}

std::string Narrow(const std::wstring& text) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

}  // namespace vx::test
