// The picture handed over: copied to the clipboard and read by another program (also
// after the window is gone), pasted from every format, the picture's context menu, the
// Print Screen keys that fill the clipboard, and a drag onto another program's window.
#include <atomic>
#include <cstring>
#include <filesystem>
#include <thread>

#include "commands/picture_io_win.h"
#include "commands/picture_transfer_win.h"
#include "main_window/hot_keys.h"
#include "platform/gdi.h"
#include "win_test_support.h"

namespace vx::test {
namespace {

std::vector<std::uint32_t> PixelsOfFile(const std::wstring& path) { return PixelsOf(BitmapOf(LoadPictureFile(path).value)); }

// Starts the helper; `wait` pumps until it ends, the window answering the clipboard meanwhile.
UniqueProcess Helper(const std::wstring& args, bool wait = true) {
    UniqueProcess process(reinterpret_cast<HANDLE>(_wspawnl(_P_NOWAIT, TestProgram(L"vxclip.exe").c_str(), L"vxclip", args.c_str(), nullptr)));
    if (wait && process.get() != INVALID_HANDLE_VALUE) PumpUntil([&] { return !::WaitForSingleObject(process.get(), 0); }, 30000);
    return process;
}

// Puts one format on the clipboard (nothing else), as another program would.
void Put(UINT format, HANDLE data) {
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    ::SetClipboardData(format, data);
    ::CloseClipboard();
}
HGLOBAL Global(const std::string& bytes) {
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    return std::memcpy(::GlobalLock(memory), bytes.data(), bytes.size()), ::GlobalUnlock(memory), memory;
}

struct ClipboardTest : MainWindowTest {
    std::vector<std::uint32_t> Shown() const { return PixelsOf(form->Doc().PicBmp.Bitmap()); }
    // The clipboard's PNG or CF_DIB as another process reads it.
    std::vector<std::uint32_t> Dumped(const std::wstring& format) {
        const std::wstring file = dir.File(format + L".out");
        ::DeleteFileW(file.c_str());
        Helper(L"dump " + format + L" \"" + file + L"\"");
        return PixelsOfFile(file);
    }
    ScriptedDialogs dialogs;
    TempDir dir;
};

TEST_F(ClipboardTest, CopiedPictureIsWhatOthersPasteAlsoAfterTheViewChangesAndTheWindowCloses) {
    form->PlacePicture(PatternPicture(97, 61, 5));
    const auto copied = Shown();
    form->RunCommand(IDM_COPY);
    form->mnuMarkup_Click();  // marked up and applied: the copy follows, as one picture
    for (UINT m : {WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP}) ::SendMessageW(form->picScroll(), m, MK_LBUTTON, MAKELPARAM(m == WM_LBUTTONDOWN ? 2 : 50, 40));
    form->Markup().Apply();
    const auto marked = Shown();
    ASSERT_NE(marked, copied);
    form->PlacePicture(PatternPicture(40, 30, 9));  // the clipboard keeps what was copied
    for (int pass = 0; pass < 2; ++pass, form.reset())  // the second after the window closed
        for (const wchar_t* format : {L"PNG", L"DIB"}) EXPECT_EQ(Dumped(format), marked) << Narrow(format) << (pass ? " after closing" : "");
}

TEST_F(ClipboardTest, EveryPictureFormatAndACopiedFilePasteAsOpenOpens) {
    const std::wstring png = dir.File(L"p.png"), bmp = dir.File(L"p.bmp");
    ASSERT_TRUE(SavePictureFile(BitmapOf(PatternPicture(33, 21, 1)), nullptr, png, PictureFileFormat::Png).ok());
    ASSERT_TRUE(SavePictureFile(BitmapOf(PatternPicture(35, 22, 2)), nullptr, bmp, PictureFileFormat::Bmp).ok());
    const auto v5 = PatternPicture(37, 23, 3), device = PatternPicture(39, 24, 4);
    const struct { const char* what; UINT format; std::function<HANDLE()> data; std::vector<std::uint32_t> expected; bool unsaved; unsigned told; } cases[] = {
        {"PNG", PngClipboardFormat(), [&] { return Global(ReadFileBytes(png)); }, PixelsOfFile(png), true, 0},
        {"CF_DIBV5", CF_DIBV5, [&] { return RenderDib(BitmapOf(v5), true).release(); }, PixelsOf(BitmapOf(v5)), true, 0},
        {"CF_DIB", CF_DIB, [&] { return Global(ReadFileBytes(bmp).substr(14)); }, PixelsOfFile(bmp), true, 0},
        {"CF_BITMAP", CF_BITMAP, [&] { return CopyBitmapArea(BitmapOf(device), 0, 0, 39, 24).release(); }, PixelsOf(BitmapOf(device)), true, 0},
        {"a file", CF_HDROP, [&] { return DropOf(png); }, PixelsOfFile(png), false, 0},
        {"text", CF_UNICODETEXT, [] { return Global(std::string("t\0\0\0", 4)); }, {}, false, 0},
        {"a huge PNG", PngClipboardFormat(), [] { return Global(std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\x01\x86\xa0\0\x01\x86\xa0\x08\x02\0\0\0", 29) + std::string(64, '\0')); }, {}, false, IDS_DOC_TOO_LARGE},
    };
    for (const auto& c : cases) {
        form->PlacePicture(PatternPicture(8, 8, 7));
        const auto before = Shown();
        form->Doc().ImageUnsaved = true;
        Put(c.format, c.data());
        EXPECT_EQ(CanPaste(), c.format != CF_UNICODETEXT) << c.what;
        dialogs.boxes.clear();
        dialogs.boxAnswers = {IDCANCEL};  // the unsaved picture's question turns it back
        form->RunCommand(IDM_PASTE);
        EXPECT_EQ(Shown(), before) << c.what;
        dialogs.boxAnswers = {IDNO};
        form->RunCommand(IDM_PASTE);
        const size_t boxes = c.format == CF_UNICODETEXT ? 0u : 2u + (c.told != 0);  // asked twice, then told
        EXPECT_EQ(std::tuple(Shown() == (c.expected.empty() ? before : c.expected), form->Doc().ImageUnsaved, dialogs.boxes.size()),
                  std::tuple(true, c.unsaved || c.expected.empty(), boxes)) << c.what;
        EXPECT_TRUE(!c.told || dialogs.boxes.back().text.find(LoadText(c.told).substr(0, 5)) != std::wstring::npos) << c.what;
    }
    EXPECT_NE(WindowTitle(form->hwnd()).find(L"p.png"), std::wstring::npos) << "a pasted file is the opened file";
}

// The largest picture Open takes (3840 x 20000 is beyond that limit).
TEST_F(ClipboardTest, AScrollingCaptureSizedPictureGoesThroughWhole) {
    form->PlacePicture(PictureOf(3840, 17000, [](int x, int y) { return static_cast<std::uint32_t>((x / 64 * 40503u) ^ (y * 2654435761u >> 8)) & 0xFFFFFF; }));
    const auto copied = Shown();
    form->RunCommand(IDM_COPY);
    form->PlacePicture(PatternPicture(10, 10));
    form->RunCommand(IDM_PASTE);
    EXPECT_TRUE(Shown() == copied);
}

// Where the popup menu opened, its items and which were greyed; then a click on one
// (or none) as a hand would.
struct SeenMenu { RECT rect{}; std::vector<std::wstring> items; std::vector<bool> greyed; int choose = -1; } seen;
void CALLBACK WatchMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND popup = ::FindWindowW(L"#32768", nullptr);
    if (!popup || !::IsWindowVisible(popup)) return;
    ::KillTimer(nullptr, timer);
    const auto menu = reinterpret_cast<HMENU>(::SendMessageW(popup, MN_GETHMENU, 0, 0));
    ::GetWindowRect(popup, &seen.rect);
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        wchar_t text[64] = {};
        ::GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
        seen.items.push_back(text);
        seen.greyed.push_back(*text && (::GetMenuState(menu, i, MF_BYPOSITION) & MF_GRAYED));
    }
    RECT item{};
    if (seen.choose < 0 || !::GetMenuItemRect(nullptr, menu, seen.choose, &item)) return (void)::EndMenu();
    for (DWORD flags : {0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) MouseAt((item.left + item.right) / 2, (item.top + item.bottom) / 2, flags);
}

TEST_F(ClipboardTest, ContextMenuFromMouseAndKeysGreysWhatCannotRunAndRunsTheChosenCommand) {
    RECT view{};
    ::GetWindowRect(form->picScroll(), &view);
    const POINT click{view.left + 40, view.top + 30};
    const std::wstring saved = dir.File(L"s.bmp");
    const std::vector<std::wstring> items = {L"复制(&C)\tCtrl+Insert", L"粘贴(&P)\tCtrl+V", L"", L"保存(&S)\tCtrl+S", L"打印(&P)", L"用画图编辑", L"", L"标注(&M)\tCtrl+E"};
    Put(CF_UNICODETEXT, Global(std::string("t\0\0\0", 4)));
    const struct { const char* how; bool picture; int choose; std::vector<bool> greyed; } cases[] = {
        {"mouse", false, -1, {true, true, false, true, true, true, false, true}},  // nothing to copy, nothing to paste
        {"shift+F10", true, 0, {false, true, false, false, false, false, false, false}},  // copy
        {"apps", true, 1, {false, false, false, false, false, false, false, false}},     // paste what was copied
        {"mouse", true, 3, {false, false, false, false, false, false, false, false}},    // save
    };
    ::SetForegroundWindow(form->hwnd());
    for (const auto& c : cases) {
        if (c.picture && c.choose != 1) form->PlacePicture(PatternPicture(60, 50, c.choose));
        const auto copied = c.choose == 1 ? PixelsOf(BitmapOf(PatternPicture(60, 50, 0))) : Shown();
        if (c.choose == 1) form->PlacePicture(PatternPicture(60, 50, 8));
        form->Doc().ImageUnsaved = false;
        seen = SeenMenu{{}, {}, {}, c.choose};
        dialogs.fileAnswers = {saved};
        ::SetTimer(nullptr, 0, 50, WatchMenu);
        const bool mouse = c.how == std::string("mouse");
        if (mouse) {
            for (DWORD flags : {0, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP}) MouseAt(click.x, click.y, flags);
        } else {
            const std::vector<BYTE> keys = c.how == std::string("apps") ? std::vector<BYTE>{VK_APPS} : std::vector<BYTE>{VK_SHIFT, VK_F10};
            for (DWORD up : {0, KEYEVENTF_KEYUP}) for (BYTE key : keys) ::keybd_event(key, 0, up, 0);
        }
        // The menu is seen, clicked and closed inside one round of messages; the command it chose runs after.
        PumpUntil([] { return !seen.items.empty(); });
        PumpUntil([] { const HWND popup = ::FindWindowW(L"#32768", nullptr); return !(popup && ::IsWindowVisible(popup)) && Settled(); });
        EXPECT_EQ(std::tuple(seen.items, seen.greyed), std::tuple(items, c.greyed)) << c.how;
        const POINT at = mouse ? click : POINT{view.left, view.top};
        EXPECT_EQ(std::pair(seen.rect.left, seen.rect.top), std::pair(at.x, at.y)) << c.how;
        const std::vector<std::uint32_t> result = c.choose == 0 ? Dumped(L"PNG") : c.choose == 1 || c.choose < 0 ? Shown() : PixelsOfFile(saved);
        EXPECT_TRUE(c.choose < 0 || result == copied) << c.how;
    }
}

TEST_F(ClipboardTest, PrintScreenKeysFillTheClipboardAndMenuCapturesLeaveIt) {
    const std::string text("t\0\0\0", 4);
    Put(CF_UNICODETEXT, Global(text));
    form->RunCommand(IDM_SCREEN);
    EXPECT_FALSE(::IsClipboardFormatAvailable(PngClipboardFormat())) << "a menu capture";
    for (const HotKey& key : kHotKeys) {
        if (key.command != IDM_SCREEN && key.command != IDM_ACTIVEWINDOW_NOW) continue;
        Put(CF_UNICODETEXT, Global(text));
        form->PlacePicture(nullptr);
        form->HotKey_Press(key.id);
        EXPECT_TRUE(!Shown().empty() && Dumped(L"DIB") == Shown()) << Narrow(key.name);
    }
    ClipboardHolder holder;  // another program keeps it open: told from the menu, silent from the key
    form->HotKey_Press(kHotKeys[1].id);
    form->RunCommand(IDM_COPY);
    EXPECT_EQ(dialogs.Texts(), std::vector<std::wstring>{LoadText(IDS_MSG_CLIPBOARD_BUSY)});
}

// Dragged onto another program's window: it gets the PNG file; dropped on the window's
// own view: nothing happens, and the file nobody took is gone when the window closes.
TEST_F(ClipboardTest, DraggedOutPictureArrivesAsAPngFile) {
    form->PlacePicture(PatternPicture(120, 90, 6));
    RECT view{};
    ::GetWindowRect(form->picScroll(), &view);
    const std::wstring ready = dir.File(L"ready"), out = dir.File(L"dropped.png");
    const std::wstring args = L"drop-target 700 300 \"" + ready + L"\" \"" + out + L"\"";
    const UniqueProcess target = Helper(args, false);
    PumpUntil([&] { return FileExists(ready); }, 10000);
    auto files = [&] {
        std::vector<std::filesystem::path> names;  // the dragged files: "Vellumox 2026-..."
        for (const auto& f : std::filesystem::directory_iterator(std::filesystem::temp_directory_path())) if (f.path().filename().wstring().rfind(L"Vellumox 2", 0) == 0) names.push_back(f);
        return names;
    };
    for (const auto& f : files()) std::filesystem::remove(f);
    for (const POINT to : {POINT{800, 400}, POINT{view.left + 100, view.top + 80}}) {
        std::atomic<bool> released{false};
        std::thread hand([&] {  // the hand moves on (at its own pace) while the drag runs its own loop here
            const POINT from{view.left + 20, view.top + 20};
            for (int step = -1; step <= 10; ++step, ::Sleep(40)) MouseAt(from.x + (to.x - from.x) * std::max(step, 0) / 10, from.y + (to.y - from.y) * std::max(step, 0) / 10, step ? 0 : MOUSEEVENTF_LEFTDOWN);
            MouseAt(to.x, to.y, MOUSEEVENTF_LEFTUP);
            released = true;
        });
        PumpUntil([&] { return released && Settled(); });  // the drop is done once the release is handled
        hand.join();
        auto second = [] { SYSTEMTIME t{}; return ::GetLocalTime(&t), t.wSecond; };  // the next drag's file is named by a second of its own
        PumpUntil([&, done = second()] { return second() != done; }, 2000);
    }
    EXPECT_EQ(PixelsOfFile(out), Shown());
    EXPECT_EQ(dialogs.boxes.size(), 0u);
    ASSERT_EQ(files().size(), 2u);
    form.reset();
    EXPECT_EQ(files().size(), 1u) << "the second drag's file, which nobody took, is gone";
}

}  // namespace
}  // namespace vx::test
