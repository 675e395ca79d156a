#pragma once
// Shared pieces of the integration tests: a live main window, scripted dialogs,
// message pumping, GDI object counting, pixels, files, input and processes.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "capture/capture_area.h"
#include "capture/capture_commands.h"
#include "commands/document_commands.h"
#include "language/language_commands.h"
#include "main_window/frm_main.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "resources/resource.h"

namespace vx::test {

// Dispatches pending messages (paint, size, posted ones) for a moment.
void Pump(int milliseconds = 0);

// Answers modal dialogs from a script instead of showing them; records what was asked.
class ScriptedDialogs : public Dialogs {
public:
    ScriptedDialogs() { SetDialogs(this); }
    ~ScriptedDialogs() override { SetDialogs(nullptr); }

    struct Box { std::wstring text; UINT style; };
    std::vector<Box> boxes;
    std::deque<int> boxAnswers;               // IDOK, IDYES, ...; IDCANCEL when empty
    std::deque<std::wstring> fileAnswers;     // a path, or "" to cancel
    std::function<bool(PRINTDLGW&)> print;    // unset: cancel

    int MessageBox(HWND, const wchar_t* text, const wchar_t* title, UINT style) override;
    bool GetOpenFileName(OPENFILENAMEW& ofn) override { return File(ofn); }
    bool GetSaveFileName(OPENFILENAMEW& ofn) override { return File(ofn); }
    bool PrintDlg(PRINTDLGW& pd) override { return print ? print(pd) : false; }

private:
    bool File(OPENFILENAMEW& ofn);
};

// A fresh main window, created and shown as the program does, closed at the end.
struct MainWindowTest : ::testing::Test {
    void SetUp() override;
    void TearDown() override;
    std::unique_ptr<FrmMain> form;
};

// Live GDI objects of this process of one type (OBJ_BITMAP, OBJ_PAL, OBJ_MEMDC, ...),
// found by scanning the handle table (GetGuiResources is a stub under Wine).
int CountGdiObjects(DWORD type);
// Committed private memory of this process, in bytes.
size_t PrivateBytes();

// A directory of its own under the system's temporary folder, removed at the end.
struct TempDir {
    TempDir();
    ~TempDir();
    std::wstring File(const std::wstring& name) const { return path + L"\\" + name; }
    std::wstring path;
};

std::string Narrow(const std::wstring& text);

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
// A screen-compatible bitmap (what a capture holds) painted with `colour`.
ComPtr<IPicture> PictureOf(int width, int height, const std::function<std::uint32_t(int x, int y)>& colour);
HBITMAP BitmapOf(const ComPtr<IPicture>& picture);
inline std::vector<std::uint32_t> PixelsOf(HBITMAP bitmap) { return ReadPixels(bitmap).values; }

// The document tests' pattern at (x, y); `seed` varies it.
std::uint32_t PatternColour(int x, int y, int seed);
inline ComPtr<IPicture> PatternPicture(int width, int height, int seed = 0) {
    return PictureOf(width, height, [seed](int x, int y) { return PatternColour(x, y, seed); });
}

// ---- input, windows, files, registry, processes
// Mouse input as the hardware would bring it, at an absolute screen point.
void MouseAt(int x, int y, DWORD flags = 0);
// A left-button drag from one screen point to another, then a moment for what follows.
void Drag(int x1, int y1, int x2, int y2);
std::wstring WindowTitle(HWND hwnd);
std::string ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
inline bool FileExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
// A string value, or "" when it is missing.
std::wstring RegString(HKEY root, const wchar_t* key, const wchar_t* name);
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
