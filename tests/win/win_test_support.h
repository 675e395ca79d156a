#pragma once
// Shared pieces of the integration tests: a live main window, scripted dialogs,
// message pumping, GDI object counting, pixels, files, input and processes. The small
// ones are defined here.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>
#include <shlobj.h>

#include "capture/capture_area_win.h"
#include "capture/capture_commands_win.h"
#include "commands/document_commands_win.h"
#include "help/help_commands.h"
#include "language/language_commands.h"
#include "main_window/frm_main.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "resources/resource.h"

namespace vx::test {

// Dispatches pending messages (paint, size, posted ones) for a moment.
inline void Pump(int milliseconds = 0) {
    for (const DWORD end = ::GetTickCount() + milliseconds;; ::Sleep(5)) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::TranslateMessage(&msg), ::DispatchMessageW(&msg);
        if (static_cast<int>(end - ::GetTickCount()) <= 0) return;
    }
}
// Dispatches messages until `done()` holds, for at most `milliseconds`; whether it held.
template <class Condition>
bool PumpUntil(Condition done, int milliseconds = 5000) {
    for (const DWORD end = ::GetTickCount() + milliseconds;; ::Sleep(5)) {
        Pump();
        if (done()) return true;
        if (static_cast<int>(end - ::GetTickCount()) <= 0) return false;
    }
}
// Nothing left for this thread to handle: no input, message or paint waiting.
inline bool Settled() { return !HIWORD(::GetQueueStatus(QS_INPUT | QS_POSTMESSAGE | QS_PAINT | QS_SENDMESSAGE)); }

// Answers modal dialogs from a script instead of showing them; records the boxes.
class ScriptedDialogs : public Dialogs {
public:
    ScriptedDialogs() { SetDialogs(this); }
    ~ScriptedDialogs() override { SetDialogs(nullptr); }

    struct Box { std::wstring text; UINT style; };
    std::vector<Box> boxes;
    std::vector<std::wstring> Texts() const { std::vector<std::wstring> t; for (const Box& b : boxes) t.push_back(b.text); return t; }
    std::deque<int> boxAnswers;             // IDOK, IDYES, ...; IDCANCEL when empty
    std::deque<std::wstring> fileAnswers;   // a path, or "" to cancel

    int MessageBox(HWND, const wchar_t* text, const wchar_t*, UINT style) override {
        boxes.push_back({text ? text : L"", style});
        return Next(boxAnswers, IDCANCEL);
    }
    bool GetOpenFileName(OPENFILENAMEW& ofn) override { return File(ofn); }
    bool GetSaveFileName(OPENFILENAMEW& ofn) override { return File(ofn); }
    bool PrintDlg(PRINTDLGW&) override { return false; }
    bool File(OPENFILENAMEW& ofn) {
        const std::wstring answer = Next(fileAnswers, std::wstring());
        return !answer.empty() && ofn.lpstrFile && answer.size() < ofn.nMaxFile && wcscpy(ofn.lpstrFile, answer.c_str());
    }
    template <class T> static T Next(std::deque<T>& answers, T none) {
        if (answers.empty()) return none;
        const T answer = answers.front();
        return answers.pop_front(), answer;
    }
};

// A fresh main window, created and shown as the program does, closed at the end; the
// placement record is cleared around it, so every test starts from the defaults.
struct MainWindowTest : ::testing::Test {
    void SetUp() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Vellumox");
        form = std::make_unique<FrmMain>();
        ASSERT_TRUE(form->Create(::GetModuleHandleW(nullptr)));
        form->Show();
        ASSERT_TRUE(PumpUntil([this] { return ::IsWindowVisible(form->hwnd()) && Settled(); }));
    }
    void TearDown() override {
        form.reset();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Vellumox");
    }
    std::unique_ptr<FrmMain> form;
};

// Live GDI objects of this process of one type (OBJ_BITMAP, OBJ_PAL, OBJ_MEMDC, ...),
// found by scanning the handle table (GetGuiResources is a stub under Wine).
inline int CountGdiObjects(DWORD type) {
    int count = 0;
    for (UINT_PTR i = 1; i <= 0xFFFF; ++i) count += ::GetObjectType(reinterpret_cast<HGDIOBJ>(i)) == type;
    return count;
}
// Committed private memory of this process, in bytes.
size_t PrivateBytes();

// A directory of its own under the system's temporary folder, removed at the end.
struct TempDir {
    TempDir();
    ~TempDir();
    std::wstring File(const std::wstring& name) const { return path + L"\\" + name; }
    std::wstring path;
};

inline std::string Narrow(const std::wstring& text) {
    std::string out(text.size() * 3, '\0');
    out.resize(::WideCharToMultiByte(CP_UTF8, 0, text.data(), text.size(), out.data(), out.size(), nullptr, nullptr));
    return out;
}

// ---- pixels: 0x00RRGGBB, rows top down
struct Pixels {
    int width = 0, height = 0;
    std::vector<std::uint32_t> values;
    std::uint32_t At(int x, int y) const { return values[static_cast<size_t>(y) * width + x]; }
};
// A bitmap's pixels, read through its palette when it has one.
Pixels ReadPixels(HBITMAP bitmap, HPALETTE palette = nullptr);
// What the screen shows in a rectangle of screen pixels.
Pixels ReadScreen(const RECT& r);
// A picture of a screen-compatible bitmap (what a capture holds) painted with `colour`.
ComPtr<IPicture> PictureOf(int width, int height, const std::function<std::uint32_t(int x, int y)>& colour);
inline HBITMAP BitmapOf(const ComPtr<IPicture>& picture) {
    OLE_HANDLE handle = 0;
    return picture && SUCCEEDED(picture->get_Handle(&handle)) ? reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)) : nullptr;
}
inline std::vector<std::uint32_t> PixelsOf(HBITMAP bitmap) { return ReadPixels(bitmap).values; }

// A picture of a pattern that `seed` varies.
inline ComPtr<IPicture> PatternPicture(int width, int height, int seed = 0) {
    return PictureOf(width, height, [seed](int x, int y) {
        return ((x * 7 + seed) & 0xFF) << 16 | ((y * 13 + seed * 3) & 0xFF) << 8 | (((x ^ y) + seed * 5) & 0xFF);
    });
}

// ---- input, windows, files, registry, processes
// Mouse input as the hardware would bring it, at an absolute screen point.
inline void MouseAt(int x, int y, DWORD flags = 0) {
    const LONGLONG w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT in{INPUT_MOUSE, {{static_cast<LONG>((x * 65535LL + w / 2) / (w - 1)), static_cast<LONG>((y * 65535LL + h / 2) / (h - 1)),
                            0, MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags}}};
    ::SendInput(1, &in, sizeof in);
}
// A left-button drag from one screen point to another, handled to its end.
inline void Drag(int x1, int y1, int x2, int y2) {
    for (DWORD flags : {0, MOUSEEVENTF_LEFTDOWN}) MouseAt(x1, y1, flags);
    MouseAt((x1 + x2) / 2, (y1 + y2) / 2);
    for (DWORD flags : {0, MOUSEEVENTF_LEFTUP}) MouseAt(x2, y2, flags);
    PumpUntil(Settled);
}
inline std::wstring WindowTitle(HWND hwnd) {
    std::wstring text(::GetWindowTextLengthW(hwnd) + 1, L'\0');
    text.resize(::GetWindowTextW(hwnd, text.data(), text.size()));
    return text;
}
std::string ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
inline bool FileExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
// A string value, or "" when it is missing.
inline std::wstring RegString(HKEY root, const wchar_t* key, const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    DWORD size = sizeof value;
    return ::RegGetValueW(root, key, name, RRF_RT_REG_SZ, nullptr, value, &size) == ERROR_SUCCESS ? value : L"";
}
// A list of files as the shell hands it over (a drop, a copy): the names end in '\0'.
inline HDROP DropOf(const std::wstring& names) {
    const std::wstring list = names + L'\0' + L'\0';
    HGLOBAL memory = ::GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    *static_cast<DROPFILES*>(memory) = DROPFILES{sizeof(DROPFILES), {}, FALSE, TRUE};
    std::copy(list.begin(), list.end(), reinterpret_cast<wchar_t*>(static_cast<DROPFILES*>(memory) + 1));
    return static_cast<HDROP>(memory);
}
// A helper program built beside the tests (vxprobe.exe, region_probe.exe, ...).
std::wstring TestProgram(const wchar_t* name);

// The clipboard held open by another process for three seconds.
struct ClipboardHolder {
    ClipboardHolder();
    ~ClipboardHolder() { ::WaitForSingleObject(process.get(), 5000); }
    TempDir dir;
    UniqueProcess process;
};

}  // namespace vx::test
