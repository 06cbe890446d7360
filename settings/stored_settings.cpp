#include "settings/stored_settings.h"

#include <algorithm>
#include <cctype>

#include "platform/ui/utf16.h"
#include "platform/uri.h"
#include "settings/theme_palette.h"
#include "storage/database.h"

const std::vector<StoredSetting>& StoredSettings()
{
    using enum SettingControl;
    static const std::vector<StoredSetting> settings = {
        {"wConfig_HomePage", "wLINK", "wSettingsTextBox_HomePage", Text, {}, "http://www.bing.com/"},
        {"wConfig_SaveFavoriteStatus", "wSTATUS", "wSettingsToggle_SaveFavorite", Toggle, {}, "true"},
        {"wConfig_ThemeColor", "wCOLOR", "wSettingsComboBox_Theme", Choice,
         {std::begin(ThemeNames), std::end(ThemeNames)}, DefaultTheme},
        {"wConfig_HomeScreenStatus", "wSTATUS", "wSettingsToggle_HomeScreen", Toggle, {}, "true"},
        {"wConfig_AdressBarPosition", "wPOSITION", "wSettingsComboBox_AdressBarPosition", Choice,
         {"Top", "Bottom"}, "Top"},
        {"wConfig_TitleBarStatus", "wSTATUS", "wSettingsToggle_TitleBar", Toggle, {}, "true"},
        {"wConfig_MainSearcherAdress", "wSEARCHER", "wSettingsComboBox_Searcher", Choice,
         {"Bing", "Google", "DuckDuckGo"}, "Bing"},
        {"wConfig_MainTranslateAdress", "wTRANSLATOR", "wSettingsComboBox_Translator", Choice,
         {"Google_Translator", "Microsoft_Translator"}, "Google_Translator"},
        {"wConfig_PagesOpenedStatus", "wSTATUS", "wSettingsComboBox_PagesOpened", Choice, {"false", "true"},
         "false"},
    };
    return settings;
}

std::string ReadQuery(const StoredSetting& setting)
{
    return std::string("SELECT ") + setting.Column + " FROM " + setting.Table;
}

std::string WriteStatement(const StoredSetting& setting, const std::string& value)
{
    const std::string table = setting.Table;
    return "DELETE FROM " + table + "; INSERT INTO " + table + " VALUES ('" + SqlQuoted(value) + "');";
}

std::string StoredValue(const std::string& query)
{
    auto rows = QueryTexts(ConfigDb, query);
    return rows.size() == 1 ? rows.front() : std::string();
}

int ChoiceIndex(const StoredSetting& setting, const std::string& stored)
{
    const auto& choices = setting.Choices;
    auto found = std::find(choices.begin(), choices.end(), stored);
    if (found == choices.end())
        found = std::find(choices.begin(), choices.end(), setting.Default);
    return static_cast<int>(found - choices.begin());
}

std::optional<std::string> NormalisedHomePage(const std::string& typed)
{
    if (ui::Utf16Length(typed) < 6 || typed.find('.') == std::string::npos)
        return std::nullopt;
    bool hasScheme = typed.find("http://") != std::string::npos || typed.find("https://") != std::string::npos;
    std::string link = hasScheme ? typed : "http://" + typed;
    auto uri = platform::Uri::Parse(link);
    if (!uri)
        return std::nullopt;
    std::string scheme = uri->Scheme();
    std::transform(scheme.begin(), scheme.end(), scheme.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (scheme == "javascript")
        return std::nullopt;
    return link;
}
