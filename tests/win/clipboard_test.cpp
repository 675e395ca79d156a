// The picture handed over: copied to the clipboard and read by another program (also
// after the window is gone), pasted from every format, the picture's context menu, the
// Print Screen keys that fill the clipboard, and a drag onto another program's window.
#include <shlobj.h>

#include <cstring>
#include <thread>

#include "commands/picture_io.h"
#include "commands/picture_transfer.h"
#include "main_window/hot_keys.h"
#include "platform/gdi.h"
#include "win_test_support.h"

namespace vx::test {
namespace {

std::vector<std::uint32_t> PixelsOfFile(const std::wstring& path) { return PixelsOf(BitmapOf(LoadPictureFile(path).value)); }

// Waits for a helper to end, the window answering the clipboard's requests meanwhile.
void RunHelper(const std::wstring& args) {
    const intptr_t started = _wspawnl(_P_NOWAIT, TestProgram(L"vxclip.exe").c_str(), L"vxclip", args.c_str(), nullptr);
    for (int i = 0; started != -1 && i < 1500 && ::WaitForSingleObject(reinterpret_cast<HANDLE>(started), 0); ++i) Pump(20);
    if (started != -1) ::CloseHandle(reinterpret_cast<HANDLE>(started));
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
    std::memcpy(::GlobalLock(memory), bytes.data(), bytes.size());
    return ::GlobalUnlock(memory), memory;
}

struct ClipboardTest : MainWindowTest {
    std::vector<std::uint32_t> Shown() const { return PixelsOf(form->Doc().PicBmp.Bitmap()); }
    // The clipboard's PNG or CF_DIB as another process reads it.
    std::vector<std::uint32_t> Dumped(const std::wstring& format) {
        const std::wstring file = dir.File(format + L".out");
        ::DeleteFileW(file.c_str());
        RunHelper(L"dump " + format + L" \"" + file + L"\"");
        return PixelsOfFile(file);
    }
    ScriptedDialogs dialogs;
    TempDir dir;
};

TEST_F(ClipboardTest, CopiedPictureIsWhatOthersPasteAlsoAfterTheViewChangesAndTheWindowCloses) {
    form->PlacePicture(PatternPicture(97, 61, 5));
    const auto copied = Shown();
    form->RunCommand(IDM_COPY);
    form->PlacePicture(PatternPicture(40, 30, 9));  // the clipboard keeps what was copied
    for (const wchar_t* format : {L"PNG", L"DIB"}) EXPECT_EQ(Dumped(format), copied) << Narrow(format);
    form.reset();
    for (const wchar_t* format : {L"PNG", L"DIB"}) EXPECT_EQ(Dumped(format), copied) << Narrow(format) << " after closing";
}

TEST_F(ClipboardTest, EveryPictureFormatAndACopiedFilePasteAsOpenOpens) {
    const std::wstring png = dir.File(L"p.png"), bmp = dir.File(L"p.bmp");
    ASSERT_TRUE(SavePictureFile(BitmapOf(PatternPicture(33, 21, 1)), nullptr, png, PictureFileFormat::Png).ok());
    ASSERT_TRUE(SavePictureFile(BitmapOf(PatternPicture(35, 22, 2)), nullptr, bmp, PictureFileFormat::Bmp).ok());
    const auto v5 = PatternPicture(37, 23, 3), device = PatternPicture(39, 24, 4);
    const std::string huge("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\x01\x86\xa0\0\x01\x86\xa0\x08\x02\0\0\0", 29);
    std::wstring drop(sizeof(DROPFILES) / 2, L'\0');
    reinterpret_cast<DROPFILES*>(drop.data())->pFiles = sizeof(DROPFILES);
    reinterpret_cast<DROPFILES*>(drop.data())->fWide = TRUE;
    (drop += png) += std::wstring(2, L'\0');
    const struct { const char* what; UINT format; std::function<HANDLE()> data; std::vector<std::uint32_t> expected; bool unsaved; unsigned told; } cases[] = {
        {"PNG", PngClipboardFormat(), [&] { return Global(ReadFileBytes(png)); }, PixelsOfFile(png), true, 0},
        {"CF_DIBV5", CF_DIBV5, [&] { return RenderDib(BitmapOf(v5), true).release(); }, PixelsOf(BitmapOf(v5)), true, 0},
        {"CF_DIB", CF_DIB, [&] { return Global(ReadFileBytes(bmp).substr(14)); }, PixelsOfFile(bmp), true, 0},
        {"CF_BITMAP", CF_BITMAP, [&] { return CopyBitmapArea(BitmapOf(device), 0, 0, 39, 24).release(); }, PixelsOf(BitmapOf(device)), true, 0},
        {"a file", CF_HDROP, [&] { return Global(std::string(reinterpret_cast<const char*>(drop.data()), drop.size() * 2)); }, PixelsOfFile(png), false, 0},
        {"text", CF_UNICODETEXT, [] { return Global(std::string("t\0\0\0", 4)); }, {}, false, 0},
        {"a huge PNG", PngClipboardFormat(), [&] { return Global(huge + std::string(64, '\0')); }, {}, false, IDS_DOC_TOO_LARGE},
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
        EXPECT_EQ(Shown(), c.expected.empty() ? before : c.expected) << c.what;
        EXPECT_EQ(form->Doc().ImageUnsaved, c.unsaved || c.expected.empty()) << c.what;
        const bool asked = c.format != CF_UNICODETEXT;
        ASSERT_EQ(dialogs.boxes.size(), asked ? 2u + (c.told != 0) : 0u) << c.what;
        if (c.told) {
            EXPECT_NE(dialogs.boxes.back().text.find(LoadText(c.told).substr(0, 5)), std::wstring::npos) << c.what;
        }
    }
    EXPECT_NE(WindowTitle(form->hwnd()).find(L"p.png"), std::wstring::npos) << "a pasted file is the opened file";
}

// The largest picture Open takes (3840 x 20000 is beyond that limit).
TEST_F(ClipboardTest, AScrollingCaptureSizedPictureGoesThroughWhole) {
    form->PlacePicture(PictureOf(3840, 17000, [](int x, int y) { return static_cast<std::uint32_t>((x / 64 * 40503u) ^ (y * 2654435761u >> 8)) & 0xFFFFFF; }));
    const auto copied = Shown();
    form->RunCommand(IDM_COPY);
    form->PlacePicture(PatternPicture(10, 10));
    form->Doc().ImageUnsaved = false;
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
        seen = SeenMenu{};
        seen.choose = c.choose;
        dialogs.fileAnswers = {saved};
        ::SetTimer(nullptr, 0, 50, WatchMenu);
        const std::string how = c.how;
        if (how == "mouse") {
            for (DWORD flags : {0, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP}) MouseAt(click.x, click.y, flags);
        } else {
            const std::vector<WORD> keys = how == "apps" ? std::vector<WORD>{VK_APPS} : std::vector<WORD>{VK_SHIFT, VK_F10};
            for (bool up : {false, true}) for (WORD key : keys) {
                INPUT in{INPUT_KEYBOARD};
                in.ki = {key, 0, up ? KEYEVENTF_KEYUP : 0u, 0, 0};
                ::SendInput(1, &in, sizeof in);
            }
        }
        for (int i = 0; i < 200 && seen.items.empty(); ++i) Pump(20);
        Pump(200);
        EXPECT_EQ(seen.items, items) << c.how;
        EXPECT_EQ(seen.greyed, c.greyed) << c.how;
        const POINT at = how == "mouse" ? click : POINT{view.left, view.top};
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
        ASSERT_FALSE(form->Doc().PicBmp.Empty()) << Narrow(key.name);
        EXPECT_EQ(Dumped(L"DIB"), Shown()) << Narrow(key.name);
    }
}

// Dragged onto another program's window: it gets the PNG file; dropped on the window's
// own view: nothing happens, and the file nobody took is gone when the window closes.
TEST_F(ClipboardTest, DraggedOutPictureArrivesAsAPngFile) {
    form->PlacePicture(PatternPicture(120, 90, 6));
    RECT view{};
    ::GetWindowRect(form->picScroll(), &view);
    const std::wstring ready = dir.File(L"ready"), out = dir.File(L"dropped.png");
    const std::wstring args = L"drop-target 700 300 \"" + ready + L"\" \"" + out + L"\"";
    const intptr_t target = _wspawnl(_P_NOWAIT, TestProgram(L"vxclip.exe").c_str(), L"vxclip", args.c_str(), nullptr);
    for (int i = 0; i < 200 && !FileExists(ready); ++i) Pump(50);
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    auto files = [&] {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW f;
        HANDLE h = ::FindFirstFileW((std::wstring(temp) + L"Vellumox 2*.png").c_str(), &f);
        for (bool more = h != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(h, &f)) names.push_back(std::wstring(temp) + f.cFileName);
        if (h != INVALID_HANDLE_VALUE) ::FindClose(h);
        return names;
    };
    for (const std::wstring& f : files()) ::DeleteFileW(f.c_str());
    for (const POINT to : {POINT{800, 400}, POINT{view.left + 100, view.top + 80}}) {
        std::thread hand([&] {
            const POINT from{view.left + 20, view.top + 20};
            for (DWORD flags : {0, MOUSEEVENTF_LEFTDOWN}) {
                MouseAt(from.x, from.y, flags);
                ::Sleep(50);
            }
            for (int step = 1; step <= 10; ++step, ::Sleep(40)) MouseAt(from.x + (to.x - from.x) * step / 10, from.y + (to.y - from.y) * step / 10);
            MouseAt(to.x, to.y, MOUSEEVENTF_LEFTUP);
        });
        for (int i = 0; i < 100; ++i) Pump(20);
        hand.join();
        Pump(300);
    }
    if (target != -1) ::CloseHandle(reinterpret_cast<HANDLE>(target));
    EXPECT_EQ(PixelsOfFile(out), Shown());
    EXPECT_EQ(dialogs.boxes.size(), 0u);
    ASSERT_EQ(files().size(), 2u);
    form.reset();
    EXPECT_EQ(files().size(), 1u) << "the second drag's file, which nobody took, is gone";
}

}  // namespace
}  // namespace vx::test
