// Whole-screen capture: the capture into the view against a bare GDI copy of the same
// size in the same run, and the extra memory one capture needs at its peak.
#include <cstdio>
#include <cstring>

#include "bench.h"
#include "capture/capture_commands_win.h"
#include "capture/window_capture_win.h"
#include "main_window/frm_main.h"

#include <psapi.h>

namespace vx::bench {
namespace {

// The bare platform path: a screen context, a compatible bitmap, one block transfer.
void BareScreenCopy(int width, int height) {
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    ::SelectObject(memory, previous);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    ::DeleteObject(bitmap);
}

struct Resident {
    double now = 0, peak = 0;  // bytes
};

Resident ResidentMemory() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return {static_cast<double>(counters.WorkingSetSize), static_cast<double>(counters.PeakWorkingSetSize)};
}

// Extra resident bytes at the peak of `run` over what was resident before it. The peak
// cannot be reset, so this holds only while `run` reaches a new peak of the process;
// -1 when it did not.
double PeakExtraBytes(const std::function<void()>& run) {
    const Resident before = ResidentMemory();
    run();
    const Resident after = ResidentMemory();
    return after.peak > before.peak ? after.peak - before.now : -1;
}

// The process's peak cannot be reset, so each memory figure comes from a fresh copy of
// this program that runs only the "capture_memory_child" entry below.
constexpr wchar_t kVariantVariable[] = L"VX_CAPTURE_MEMORY";
constexpr wchar_t kResultVariable[] = L"VX_CAPTURE_MEMORY_OUT";

double MeasureInChild(const wchar_t* variant) {
    wchar_t self[MAX_PATH] = {}, folder[MAX_PATH] = {}, result[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    ::GetTempPathW(MAX_PATH, folder);
    ::GetTempFileNameW(folder, L"vxm", 0, result);
    ::SetEnvironmentVariableW(kVariantVariable, variant);
    ::SetEnvironmentVariableW(kResultVariable, result);
    std::wstring command = L"\"" + std::wstring(self) + L"\" capture_memory_child";
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION process{};
    double bytes = -1;
    if (::CreateProcessW(self, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        ::WaitForSingleObject(process.hProcess, 120000);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        if (FILE* f = _wfopen(result, L"r")) {
            if (std::fscanf(f, "%lf", &bytes) != 1) bytes = -1;
            std::fclose(f);
        }
    }
    ::SetEnvironmentVariableW(kVariantVariable, nullptr);
    ::SetEnvironmentVariableW(kResultVariable, nullptr);
    ::DeleteFileW(result);
    return bytes;
}

std::vector<Figure> MemoryChild(const Context& context) {
    wchar_t variant[32] = {}, result[MAX_PATH] = {};
    if (!::GetEnvironmentVariableW(kVariantVariable, variant, 32) ||
        !::GetEnvironmentVariableW(kResultVariable, result, MAX_PATH)) {
        return {};  // only as a child of the capture_screen benchmark
    }
    // Both in the state after any capture: the view holds a picture of the screen.
    double bytes = -1;
    FrmMain form;
    if (form.Create(::GetModuleHandleW(nullptr))) {
        form.Show();
        form.PlacePicture(CaptureScreen());
        if (std::wstring(variant) == L"bare") {
            bytes = PeakExtraBytes([&] { BareScreenCopy(context.screenWidth, context.screenHeight); });
        } else {
            bytes = PeakExtraBytes([&] { form.PlacePicture(CaptureScreen()); });
        }
    }
    if (FILE* f = _wfopen(result, L"w")) {
        std::fprintf(f, "%.0f\n", bytes);
        std::fclose(f);
    }
    return {};
}

Register child("capture_memory_child", MemoryChild);

std::vector<Figure> CaptureScreenBench(const Context& context) {
    const int w = context.screenWidth, h = context.screenHeight;
    char size[32];
    std::snprintf(size, sizeof size, " %dx%d", w, h);
    std::vector<Figure> figures;

    FrmMain form;
    if (!form.Create(::GetModuleHandleW(nullptr))) return figures;
    form.Show();
    auto pump = [] {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    };
    pump();

    const double frame = static_cast<double>(w) * h * 4 / (1024.0 * 1024.0);
    const double captureMb = MeasureInChild(L"capture") / (1024.0 * 1024.0);
    const double bareMb = MeasureInChild(L"bare") / (1024.0 * 1024.0);
    Figure memory{"peak extra memory of one capture" + std::string(size)};
    memory.unit = "MB";
    memory.measured = captureMb;
    memory.baseline = frame;
    memory.goal = 1.1;
    memory.baselineName = "width x height x 4";
    figures.push_back(memory);
    // The same measured against the bare copy in the same state: what this program adds
    // to what the platform's own transfer needs.
    Figure versusBare{"peak extra memory, capture vs bare copy" + std::string(size)};
    versusBare.unit = "MB";
    versusBare.measured = captureMb;
    versusBare.baseline = bareMb;
    versusBare.goal = 1.1;
    versusBare.baselineName = "GetDC+CreateCompatibleBitmap+BitBlt";
    figures.push_back(versusBare);

    auto bare = [&] { BareScreenCopy(w, h); };

    // From the capture to the picture in PicBmp (the old picture freed on the way).
    Figure intoView{"screen capture into the view" + std::string(size)};
    MeasurePairs(intoView, context.repetitions, [&] { form.PlacePicture(CaptureScreen()); }, bare, pump);
    intoView.goal = 1.3;
    intoView.baselineName = "GetDC+CreateCompatibleBitmap+BitBlt";
    figures.push_back(intoView);

    // The whole command, with hiding, the wait for the screen, showing and layout.
    Figure command{"mnuScreen_Click, wait included" + std::string(size)};
    MeasurePairs(command, context.repetitions, [&] { mnuScreen_Click(form); }, bare, pump);
    command.baselineName = intoView.baselineName;
    figures.push_back(command);

    return figures;
}

Register r("capture_screen", CaptureScreenBench);

}  // namespace
}  // namespace vx::bench
