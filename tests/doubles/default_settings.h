#pragma once
// The eleven settings tables with their columns and the defaults a first
// start writes: what the storage and start-up tests both check against.
#include <string>
#include <vector>

namespace doubles {

struct DefaultSetting {
    std::string Table;
    std::string Column;
    std::string Default;
};

inline const std::vector<DefaultSetting>& DefaultSettings()
{
    static const std::vector<DefaultSetting> settings = {
        {"wConfig_HomePage", "wLINK", "http://www.bing.com/"},
        {"wConfig_SaveFavoriteStatus", "wSTATUS", "true"},
        {"wConfig_ThemeColor", "wCOLOR", "Escuro"},
        {"wConfig_HomeScreenStatus", "wSTATUS", "true"},
        {"wConfig_AdressBarPosition", "wPOSITION", "Top"},
        {"wConfig_TitleBarStatus", "wSTATUS", "true"},
        {"wConfig_MainSearcherAdress", "wSEARCHER", "Bing"},
        {"wConfig_MainTranslateAdress", "wTRANSLATOR", "Google_Translator"},
        {"wConfig_PagesOpenedStatus", "wSTATUS", "false"},
        {"wConfig_ShowRatingAlert", "wSTATUS", "true"},
        {"wConfig_Extension", "wREELPULL", "true"},
    };
    return settings;
}

} // namespace doubles
