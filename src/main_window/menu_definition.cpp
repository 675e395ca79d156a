#include "menu_definition.h"

#include "../resources/resource.h"

namespace vx {

const std::array<MenuEntry, 31> kMenuDefinition = {{
    {1, IDM_FILE, IDS_MNU_FILE, nullptr},
    {2, IDM_OPEN, IDS_MNU_OPEN, nullptr},
    {2, IDM_SAVE, IDS_MNU_SAVE, L"Ctrl+S"},
    {2, 0, 0, nullptr},
    {2, IDM_CLEAR, IDS_MNU_CLEAR, nullptr},
    {2, 0, 0, nullptr},
    {2, IDM_WALLPAPER, IDS_MNU_WALLPAPER, L"Ctrl+W"},
    {2, IDM_CLEARWALL, IDS_MNU_CLEARWALL, L"Ctrl+C"},
    {2, 0, 0, nullptr},
    {2, IDM_PRINT, IDS_MNU_PRINT, nullptr},
    {2, 0, 0, nullptr},
    {2, IDM_EXIT, IDS_MNU_EXIT, L"Ctrl+Q"},
    {1, IDM_CAPTURE, IDS_MNU_CAPTURE, nullptr},
    {2, IDM_SCREEN, IDS_MNU_SCREEN, nullptr},
    {2, IDM_DISTRICT, IDS_MNU_DISTRICT, nullptr},
    {2, 0, 0, nullptr},
    {2, IDM_ATIVEWINDOW, IDS_MNU_ATIVEWINDOW, nullptr},
    {2, IDM_CLIENT, IDS_MNU_CLIENT, nullptr},
    {2, 0, 0, nullptr},
    {2, IDM_TITLEBAR, IDS_MNU_TITLEBAR, nullptr},
    {2, IDM_SCROLL, IDS_MNU_SCROLL, nullptr},
    {1, IDM_VIEW, IDS_MNU_VIEW, nullptr},
    {2, IDM_MSPAINT, IDS_MNU_MSPAINT, nullptr},
    {2, 0, 0, nullptr},
    {2, IDM_LANGUAGE, IDS_MNU_LANGUAGE, nullptr},
    {3, IDM_CHINESE, IDS_MNU_CHINESE, nullptr},
    {3, IDM_ENGLISH, IDS_MNU_ENGLISH, nullptr},
    {1, IDM_HELP, IDS_MNU_HELP, nullptr},
    {2, IDM_HOWTO, IDS_MNU_HOWTO, nullptr},
    {2, 0, 0, nullptr},
    {2, IDM_ABOUT, IDS_MNU_ABOUT, nullptr},
}};

const std::array<unsigned, 23> kLanguageMenuOrder = {
    IDM_FILE,     IDM_OPEN,    IDM_SAVE,     IDM_WALLPAPER, IDM_CLEARWALL,   IDM_PRINT,
    IDM_CLEAR,    IDM_EXIT,    IDM_CAPTURE,  IDM_SCREEN,    IDM_ATIVEWINDOW, IDM_CLIENT,
    IDM_TITLEBAR, IDM_SCROLL,  IDM_VIEW,     IDM_MSPAINT,   IDM_LANGUAGE,    IDM_CHINESE,
    IDM_ENGLISH,  IDM_DISTRICT, IDM_HELP,    IDM_ABOUT,     IDM_HOWTO,
};

}  // namespace vx
