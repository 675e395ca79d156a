#pragma once
// The one place the program includes the Windows headers, with the few declarations
// that MinGW-w64's headers lack and the newer functions loaded at run time.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <ole2.h>
#include <olectl.h>

#ifndef DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
#define DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2 ((DPI_AWARENESS_CONTEXT)-4)
#endif
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace vx {

// The button of a mouse message as a bit: 1 left, 2 right, 4 middle.
int ButtonOf(UINT message);

// Another program may hold the clipboard open for a moment: tries `attempts` times,
// 50 ms apart.
bool OpenClipboardPatiently(HWND owner, int attempts);

}  // namespace vx

namespace vx::api {

// Functions newer than the oldest Windows the program runs on; null when absent.
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using SetProcessDpiAwarenessContextFn = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
using DwmGetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

GetDpiForWindowFn GetDpiForWindow();
SetProcessDpiAwarenessContextFn SetProcessDpiAwarenessContext();
DwmGetWindowAttributeFn DwmGetWindowAttribute();
SystemParametersInfoForDpiFn SystemParametersInfoForDpi();

}  // namespace vx::api
