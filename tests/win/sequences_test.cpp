// Commands as people chain them: what one command leaves behind must not lose the
// picture, hide it, or leave the screen frozen for the next.
#include <shlobj.h>

#include "capture/frozen_screen_win.h"
#include "commands/picture_io_win.h"
#include "main_window/toolbar_definition.h"
#include "platform/gdi.h"
#include "platform/program_path.h"
#include "win_test_support.h"

namespace vx::test {
namespace {

// Notes whether the frozen screen was still up when a dialog or box was opened.
struct WatchingDialogs : ScriptedDialogs {
    HWND overlay = nullptr;
    bool openedUnderFrozenScreen = false;
    void Look() { openedUnderFrozenScreen |= overlay && ::IsWindowVisible(overlay); }
    int MessageBox(HWND owner, const wchar_t* text, const wchar_t* title, UINT style) override {
        Look();
        return ScriptedDialogs::MessageBox(owner, text, title, style);
    }
    bool GetSaveFileName(OPENFILENAMEW& ofn) override {
        Look();
        return ScriptedDialogs::GetSaveFileName(ofn);
    }
};

// Runs `act` on a machine that has no memory left for a bitmap.
template <typename Act>
void WithoutBitmaps(Act act) {
    SimulateBitmapFailure(true);
    act();
    SimulateBitmapFailure(false);
}

class SequenceTest : public MainWindowTest {
protected:
    WatchingDialogs dialogs;
    TempDir dir;
    std::wstring File(const wchar_t* name, int width, int height) {
        const std::wstring path = dir.File(name);
        EXPECT_TRUE(SavePictureFile(BitmapOf(PatternPicture(width, height)), nullptr, path, PictureFileFormat::Bmp).ok());
        return path;
    }
    void Unsaved(int width) {
        form->PlacePicture(PatternPicture(width, 20));
        form->Doc().ImageUnsaved = true;
    }
    void ExpectSelectionEnded(bool unsaved) {
        const RegionSelection& s = form->Selection();
        EXPECT_EQ(std::tuple(s.Armed() || s.Overlay() || s.Frozen(), form->GetScaleMode(), form->GetMousePointer(),
                             form->GetWindowState() == WindowState::Minimized, form->Doc().ImageUnsaved),
                  std::tuple(false, ScaleMode::Twips, MousePointer::Default, false, unsaved));
        EXPECT_FALSE(dialogs.openedUnderFrozenScreen);
    }
};

TEST_F(SequenceTest, EveryWayOutOfAnArmedSelectionEndsItAsEscapeDoes) {
    const struct { const char* name; std::function<void(FrmMain&)> leave; } ways[] = {
        {"Alt+F4 on the frozen screen", [](FrmMain& f) { ::PostMessageW(f.Selection().Overlay(), WM_CLOSE, 0, 0); }},
        {"the main window brought back", [](FrmMain& f) { ::ShowWindow(f.hwnd(), SW_RESTORE); }},
        {"Ctrl+S over the frozen screen", [](FrmMain& f) { ::PostMessageW(f.hwnd(), WM_COMMAND, MAKEWPARAM(IDM_SAVE, 1), 0); }},
        {"log-off", [](FrmMain& f) { ::SendMessageW(f.hwnd(), WM_QUERYENDSESSION, 0, 0); }},
    };
    form->PlacePicture(PatternPicture(40, 30));
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        form->RunCommand(IDM_DISTRICT);
        ASSERT_TRUE(form->Selection().Armed());
        dialogs.overlay = form->Selection().Overlay();
        way.leave(*form);
        PumpUntil([&] { return !form->Selection().Busy() && !::IsIconic(form->hwnd()) && Settled(); });
        ExpectSelectionEnded(false);
    }
    // Another window taking the keyboard (a window manager hands it on as the main
    // window minimises) ends nothing: the frozen screen takes it back, on top.
    form->RunCommand(IDM_DISTRICT);
    const HWND other = ::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 9, 9, 0, 0, 0, 0);
    ::SetForegroundWindow(other);
    // Active and on top: under a window manager the two arrive one after the other.
    EXPECT_TRUE(PumpUntil([&] {
        const HWND overlay = form->Selection().Overlay();
        return ::GetForegroundWindow() == overlay && ::GetTopWindow(nullptr) == overlay;
    })) << "the frozen screen is not active on top: " << ::GetTopWindow(nullptr);
    ::DestroyWindow(other);
    ASSERT_TRUE(form->Selection().Armed());
    ::PostMessageW(form->Selection().Overlay(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(PumpUntil([&] { return !form->Selection().Armed(); }));
    ExpectSelectionEnded(false);
}

TEST_F(SequenceTest, RegionCapturesAreLaidOutForThePictureTheyPlace) {
    ::SetWindowPos(form->hwnd(), nullptr, 0, 0, 500, 400, SWP_NOZORDER);
    PumpUntil(Settled);
    RECT view{};
    const struct { int width, height; bool bars; } regions[] = {{120, 45, false}, {1000, 900, true}, {4, 4, false}};
    for (const auto& r : regions) {
        SCOPED_TRACE(r.width);
        form->RunCommand(IDM_DISTRICT);
        Drag(100, 100, 100 + r.width, 100 + r.height);
        ASSERT_EQ(form->Doc().PicBmp.PixelWidth(), r.width);
        EXPECT_EQ(std::pair(form->HScroll1().Visible, form->VScroll1().Visible), std::pair(r.bars, r.bars));
        if (!r.bars) continue;
        ::GetClientRect(form->picScroll(), &view);
        // At the end of each bar the picture's far edge meets the viewport's.
        EXPECT_EQ(std::tuple(form->HScroll1().Max, form->VScroll1().Max),
                  std::tuple((r.width - view.right) * 15, (r.height - view.bottom) * 15));
    }
}

TEST_F(SequenceTest, OpeningOverAnUnsavedCaptureAsksFirstAndTheOpenedFileIsSaved) {
    const std::wstring file = File(L"open.bmp", 64, 48), saved = dir.File(L"saved.bmp");
    const struct { int answer; std::vector<std::wstring> files; int width; bool unsaved; } cases[] = {
        {IDCANCEL, {}, 30, true},              // everything kept, no dialog
        {IDYES, {saved, L""}, 30, false},      // saved, then the open dialog cancelled
        {IDNO, {file}, 64, false},             // the capture goes, the file comes in as saved
    };
    for (const auto& c : cases) {
        Unsaved(30);
        dialogs.boxAnswers = {c.answer};
        dialogs.fileAnswers.assign(c.files.begin(), c.files.end());
        mnuOpen_Click(*form);
        EXPECT_EQ(std::tuple(form->Doc().PicBmp.PixelWidth(), form->Doc().ImageUnsaved), std::tuple(c.width, c.unsaved));
    }
    EXPECT_TRUE(FileExists(saved));
    dialogs.boxes.clear();
    EXPECT_TRUE(form->RequestClose());  // nothing unsaved: no question
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(SequenceTest, ADroppedFileOpensAsTheOpenCommandDoesAfterAskingAboutAnUnsavedPicture) {
    const std::wstring first = File(L"dropped one.bmp", 64, 48), second = File(L"two.bmp", 32, 16);
    Unsaved(30);
    dialogs.boxAnswers = {IDCANCEL, IDNO};
    for (int i = 0; i < 2; ++i) {
        ::PostMessageW(form->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf(first + L'\0' + second)), 0);
        PumpUntil(Settled);
    }
    EXPECT_EQ(dialogs.boxes.size(), 2u);  // asked both times; kept after Cancel
    EXPECT_EQ(std::tuple(form->Doc().PicBmp.PixelWidth(), form->Doc().ImageUnsaved), std::tuple(64, false));
    EXPECT_EQ(std::tuple(WindowTitle(form->hwnd()), form->Doc().CDopen.FileName),
              std::tuple(ProgramName() + L"\x2500[dropped one.bmp(64x48) ]", first));
}

TEST_F(SequenceTest, NoMemoryForABitmapKeepsThePictureThatWasThere) {
    Unsaved(50);
    const HBITMAP before = form->Doc().PicBmp.Bitmap();
    const unsigned commands[] = {IDM_CLIENT, IDM_TITLEBAR, IDM_SCREEN, IDM_DISTRICT};
    WithoutBitmaps([&] {
        for (const unsigned id : commands) form->Toolbar1_ButtonClick(ToolbarIndexOf(id)), form->RunCommand(id), PumpUntil(Settled);
    });
    EXPECT_EQ(std::tuple(form->Doc().PicBmp.Bitmap(), form->Doc().ImageUnsaved), std::tuple(before, true));
    ASSERT_EQ(dialogs.boxes.size(), std::size(commands));  // from the menu only
    for (const auto& box : dialogs.boxes) EXPECT_EQ(box.text, LoadText(IDS_MSG_CAPTURE_NO_MEMORY));
    ExpectSelectionEnded(true);

    // Memory gone only when the selected area is copied: still the old picture, and the
    // real reason rather than a busy clipboard.
    dialogs.boxes.clear();
    form->RunCommand(IDM_DISTRICT);
    WithoutBitmaps([] { Drag(200, 200, 260, 240); });
    EXPECT_EQ(form->Doc().PicBmp.Bitmap(), before);
    EXPECT_EQ(dialogs.Texts(), std::vector{LoadText(IDS_MSG_CAPTURE_NO_MEMORY)});

    // A valid file too large for the memory at hand is not called damaged.
    const std::wstring file = File(L"fine.bmp", 64, 48);
    dialogs.boxes.clear();
    dialogs.boxAnswers = {IDNO};
    WithoutBitmaps([&] { OpenPicturePath(*form, file); });
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[1].text, FillText(LoadText(IDS_DOC_NO_MEMORY), {file}));
    EXPECT_EQ(form->Doc().PicBmp.Bitmap(), before);
}

TEST_F(SequenceTest, AMaximisedCloseKeepsTheNormalPlace) {
    ::SetWindowPos(form->hwnd(), nullptr, 800, 200, 500, 350, SWP_NOZORDER);
    form->SetWindowState(WindowState::Maximized);
    PumpUntil([&] { return ::IsZoomed(form->hwnd()) && Settled(); });
    ASSERT_TRUE(form->RequestClose());
    std::wstring stored;
    for (const wchar_t* name : {L"MainLeft", L"MainTop", L"MainWidth", L"MainHeight"})
        stored += RegString(HKEY_CURRENT_USER, L"Software\\Vellumox\\Settings", name) + L" ";
    EXPECT_EQ(stored, L"12000 3000 7500 5250 ");
}

// The Print Screen keys as Windows delivers them: WM_HOTKEY posted to the window. Each
// key runs its own capture, and none runs while the program is busy.
int g_key = 0;  // 0 Print Screen, 1 Ctrl+, 2 Alt+, 3 Shift+

// A question during which the key is pressed: a real one (the program counts it open),
// which a timer answers Cancel after the key (timers come after posted messages); or a
// scripted one inside a command, the key handled at once and again left queued.
struct KeyDuringQuestion : ScriptedDialogs {
    bool real = false;
    int MessageBox(HWND owner, const wchar_t* text, const wchar_t* title, UINT style) override {
        ::PostMessageW(owner, WM_HOTKEY, g_key, 0);
        if (!real) return Pump(), ::PostMessageW(owner, WM_HOTKEY, g_key, 0), IDCANCEL;
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR, DWORD) {
            ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND w, LPARAM) {
                wchar_t name[8] = {};
                if (::GetClassNameW(w, name, 8) && !wcscmp(name, L"#32770")) ::PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
                return TRUE;
            }, 0);
        });
        const int answer = Dialogs::MessageBox(owner, text, title, style);
        ::KillTimer(nullptr, timer);
        return answer;
    }
};

TEST_F(MainWindowTest, EachPrintScreenKeyRunsItsCaptureAndNoneWhileTheProgramIsBusy) {
    // Alt+Print Screen takes the window that is active, at once.
    HWND active = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 600, 300, 321, 123, 0, 0, 0, 0);
    // What ran: the free region armed, the scrolling pick armed, the picture's size.
    auto outcome = [&] { return std::tuple(form->Selection().Armed(), form->Scroll().Armed(), form->Doc().PicBmp.PixelWidth(),
                                           form->Doc().PicBmp.PixelHeight()); };
    using Outcome = decltype(outcome());
    const Outcome none{false, false, 7, 5}, ran[] = {{true, false, 7, 5},
        {false, false, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)}, {false, false, 321, 123},
        {false, true, 7, 5}};
    // Posted; handled once the messages waiting are dispatched.
    auto press = [&] { ::PostMessageW(form->hwnd(), WM_HOTKEY, g_key, 0), Pump(); };
    KeyDuringQuestion question;
    const struct { const char* state; std::function<void()> press; Outcome busy; } states[] = {
        {"idle", press, none},
        {"a question open", [&] { question.real = true, mnuAtiveWindow_Click(*form); }, none},
        {"a command running", [&] { question.real = false, form->RunCommand(IDM_ATIVEWINDOW), Pump(); }, none},
        {"a free region armed", [&] { form->RunCommand(IDM_DISTRICT), press(); }, ran[0]},
        {"a scrolling pick armed", [&] { form->RunCommand(IDM_SCROLL), press(); }, ran[3]},
    };
    for (const auto& s : states) {
        for (g_key = 0; g_key < 4; ++g_key) {
            SCOPED_TRACE(std::string(s.state) + ", key " + std::to_string(g_key));
            form->PlacePicture(PatternPicture(7, 5));
            ::SetForegroundWindow(active);
            s.press();
            EXPECT_EQ(outcome(), &s == states ? ran[g_key] : s.busy);
            form->CancelPicking();
            PumpUntil([&] { return !form->Selection().Busy() && !form->Scroll().Busy() && Settled(); });
        }
    }
    ::DestroyWindow(active);
}

}  // namespace
}  // namespace vx::test
