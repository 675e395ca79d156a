#pragma once
// Shared pieces of the integration tests: a live main window, scripted dialogs,
// message pumping and GDI object counting.
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "main_window/dialogs.h"
#include "main_window/frm_main.h"

namespace vx::test {

// Dispatches pending messages (paint, size, posted ones) for a moment.
void Pump(int milliseconds = 0);

// Answers modal dialogs from a script instead of showing them; records what was asked.
class ScriptedDialogs : public Dialogs {
public:
    ScriptedDialogs() { SetDialogs(this); }
    ~ScriptedDialogs() override { SetDialogs(nullptr); }

    struct Box { std::wstring text, title; UINT style; };
    std::vector<Box> boxes;
    std::deque<int> boxAnswers;                 // IDOK, IDYES, ...; IDCANCEL when empty
    std::deque<std::wstring> fileAnswers;       // a path, or "" to cancel
    std::vector<OPENFILENAMEW> fileRequests;    // copies of what the dialogs were given
    std::vector<std::wstring> fileRequestNames; // initial file names
    std::vector<std::wstring> fileRequestFilters;
    std::function<bool(PRINTDLGW&)> print;      // unset: cancel

    int MessageBox(HWND, const wchar_t* text, const wchar_t* title, UINT style) override;
    bool GetOpenFileName(OPENFILENAMEW& ofn) override { return File(ofn); }
    bool GetSaveFileName(OPENFILENAMEW& ofn) override { return File(ofn); }
    bool PrintDlg(PRINTDLGW& pd) override { return print ? print(pd) : false; }

private:
    bool File(OPENFILENAMEW& ofn);
};

// A fresh main window, created and shown as the program does, closed at the end.
class MainWindowTest : public ::testing::Test {
protected:
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
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::wstring& path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

std::string Narrow(const std::wstring& text);

}  // namespace vx::test
