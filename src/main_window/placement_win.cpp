// The placement record under HKEY_CURRENT_USER\Software\Vellumox\Settings: read
// when the window is made, written when it closes.
#include <optional>
#include <vector>

#include "../platform/geometry_win.h"
#include "../platform/units.h"
#include "frm_main.h"
#include "placement.h"

namespace vx {
namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\Vellumox\\Settings";

std::optional<std::wstring> ReadSetting(const wchar_t* name) {
    DWORD bytes = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
            ERROR_SUCCESS ||
        bytes == 0 || bytes > 4096) {
        return std::nullopt;
    }
    std::wstring text(bytes / sizeof(wchar_t), L'\0');
    if (::RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_SZ, nullptr, text.data(), &bytes) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

bool WriteSetting(HKEY key, const wchar_t* name, double twips) {
    const std::wstring text = FormatTwips(twips);
    return ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO info{sizeof info};
    if (::GetMonitorInfoW(monitor, &info)) {
        auto* list = reinterpret_cast<std::vector<MonitorArea>*>(data);
        MonitorArea area;
        area.bounds = FromRECT(info.rcMonitor);
        area.work = FromRECT(info.rcWork);
        list->push_back(area);
    }
    return TRUE;
}

}  // namespace

RECT FrmMain::NormalBounds() const {
    WINDOWPLACEMENT placement{sizeof placement};
    if (!::GetWindowPlacement(hwnd_, &placement)) return WindowPixels();
    // The normal position is in work-area coordinates: shift it by the work area's
    // offset on its monitor (a task bar at the top or left).
    RECT r = placement.rcNormalPosition;
    MONITORINFO info{sizeof info};
    if (::GetMonitorInfoW(::MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info)) {
        ::OffsetRect(&r, info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top);
    }
    return r;
}

void FrmMain::RestoreWindowPlacement() {
    const PlacementTwips p = ResolvePlacement(ReadSetting(L"MainLeft"), ReadSetting(L"MainTop"),
                                              ReadSetting(L"MainWidth"), ReadSetting(L"MainHeight"));
    Rect r = Rect::FromSize(TwipsToPixels(p.left, twipsPerPixelX_), TwipsToPixels(p.top, twipsPerPixelY_),
                            TwipsToPixels(p.width, twipsPerPixelX_), TwipsToPixels(p.height, twipsPerPixelY_));
    std::vector<MonitorArea> monitors;
    ::EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    r = BringOntoMonitor(r, monitors);
    ::SetWindowPos(hwnd_, nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

bool FrmMain::SaveWindowPlacement() {
    if (GetWindowState() == WindowState::Minimized) return true;  // minimised: the previous run's values stay
    UniqueKey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    // A maximised window keeps its normal (restored) bounds, so the user's own size
    // survives a maximised close; the record keeps its format and meaning.
    const RECT r = GetWindowState() == WindowState::Maximized ? NormalBounds() : WindowPixels();
    return WriteSetting(key.get(), L"MainLeft", r.left * twipsPerPixelX_) &&
           WriteSetting(key.get(), L"MainTop", r.top * twipsPerPixelY_) &&
           WriteSetting(key.get(), L"MainWidth", (r.right - r.left) * twipsPerPixelX_) &&
           WriteSetting(key.get(), L"MainHeight", (r.bottom - r.top) * twipsPerPixelY_);
}

}  // namespace vx
