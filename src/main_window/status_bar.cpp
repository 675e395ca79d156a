// The status bar: the widths of its two panels, and the start time in the second.
#include "../platform/units.h"
#include "frm_main.h"

namespace vx {
namespace {

constexpr int kPanel2Twips = 2000;
constexpr int kPanel1MinTwips = 2000;

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

void FrmMain::UpdateStatusParts() {
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    const int panel2 = TwipsToPixels(kPanel2Twips, twipsPerPixelX_);
    const int panel1Min = TwipsToPixels(kPanel1MinTwips, twipsPerPixelX_);
    int parts[2] = {client.right - panel2, -1};
    if (parts[0] < panel1Min) parts[0] = panel1Min;
    ::SendMessageW(statusBar_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
}

void FrmMain::ShowStartTime() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    const std::wstring stamp = GeneralDateText(now);
    ::SendMessageW(statusBar_, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(stamp.c_str()));
}

}  // namespace vx
