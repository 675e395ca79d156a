// Form_Load and SaveWindowPlacement: the start date in panel 2 and the placement
// record under HKEY_CURRENT_USER\Software\Vellumox\Settings.
#include <optional>
#include <vector>

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
        area.bounds = {info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom};
        area.work = {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
        list->push_back(area);
    }
    return TRUE;
}

// Short date, a blank, long time; the date alone at exactly midnight.
std::wstring GeneralDateText(const SYSTEMTIME& now) {
    wchar_t date[128] = {};
    wchar_t time[128] = {};
    ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &now, nullptr, date, 128, nullptr);
    if (now.wHour == 0 && now.wMinute == 0 && now.wSecond == 0) return date;
    ::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &now, nullptr, time, 128);
    return std::wstring(date) + L" " + time;
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

void FrmMain::Form_Load() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    const std::wstring stamp = GeneralDateText(now);
    ::SendMessageW(statusBar_, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(stamp.c_str()));

    const PlacementTwips p = ResolvePlacement(ReadSetting(L"MainLeft"), ReadSetting(L"MainTop"),
                                              ReadSetting(L"MainWidth"), ReadSetting(L"MainHeight"));
    PixelRect r;
    r.left = TwipsToPixels(p.left, twipsPerPixelX_);
    r.top = TwipsToPixels(p.top, twipsPerPixelY_);
    r.right = r.left + TwipsToPixels(p.width, twipsPerPixelX_);
    r.bottom = r.top + TwipsToPixels(p.height, twipsPerPixelY_);
    std::vector<MonitorArea> monitors;
    ::EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    r = BringOntoMonitor(r, monitors);
    ::SetWindowPos(hwnd_, nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

bool FrmMain::SaveWindowPlacement() {
    if (GetWindowState() == WindowState::Minimized) return true;  // minimised: the previous run's values stay
    HKEY raw = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    UniqueKey key(raw);
    // A maximised window keeps its normal (restored) bounds, so the user's own size
    // survives a maximised close; the record keeps its format and meaning.
    const RECT r = GetWindowState() == WindowState::Maximized ? NormalBounds() : WindowPixels();
    return WriteSetting(key.get(), L"MainLeft", r.left * twipsPerPixelX_) &&
           WriteSetting(key.get(), L"MainTop", r.top * twipsPerPixelY_) &&
           WriteSetting(key.get(), L"MainWidth", (r.right - r.left) * twipsPerPixelX_) &&
           WriteSetting(key.get(), L"MainHeight", (r.bottom - r.top) * twipsPerPixelY_);
}

}  // namespace vx
