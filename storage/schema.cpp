#include "storage/schema.h"

#include "storage/database.h"

namespace {

// Words of a column definition are tab-separated; the integer keys of the
// favorites and history tables keep the five blanks of the first release.
std::string BuildFavoritesText()
{
    return
        "CREATE TABLE IF NOT EXISTS wFavorite_Registered("
        "wID\tINTEGER\tPRIMARY KEY     NOT NULL, "
        "wNAME\tTEXT\tNOT NULL, "
        "wLINK\tTEXT\tNOT NULL);";
}

// The index serves the once-per-link-and-day lookup that every completed page
// load makes; without it that lookup scans the whole history.
std::string BuildHistoryText()
{
    return
        "CREATE TABLE IF NOT EXISTS wHistoric_PagesOpened("
        "wID\tINTEGER\tPRIMARY KEY     NOT NULL, "
        "wNAME\tTEXT\tNOT NULL, "
        "wLINK\tTEXT\tNOT NULL, "
        "wDATE\tTEXT\tNOT NULL, "
        "wTIME\tTEXT\tNOT NULL);"
        "CREATE TABLE IF NOT EXISTS wHistoric_FormsSaved("
        "wID\tINTEGER\tPRIMARY KEY     NOT NULL, "
        "wFORM_ID\tTEXT\tNOT NULL, "
        "wFORM_TYPE\tTEXT\tNOT NULL, "
        "wFORM_VALUE\tTEXT\tNOT NULL, "
        "wFORM_LINK\tTEXT\tNOT NULL);"
        "CREATE INDEX IF NOT EXISTS wHistoric_PagesOpened_LinkDate ON wHistoric_PagesOpened (wLINK, wDATE);";
}

std::string SettingTable(const std::string& table, const std::string& column)
{
    return "CREATE TABLE IF NOT EXISTS " + table + "(" + column + "\tTEXT\tPRIMARY KEY\tNOT NULL);";
}

std::string BuildConfigText()
{
    return SettingTable("wConfig_HomePage", "wLINK")
        + SettingTable("wConfig_SaveFavoriteStatus", "wSTATUS")
        + SettingTable("wConfig_ThemeColor", "wCOLOR")
        + SettingTable("wConfig_HomeScreenStatus", "wSTATUS")
        + SettingTable("wConfig_AdressBarPosition", "wPOSITION")
        + SettingTable("wConfig_TitleBarStatus", "wSTATUS")
        + SettingTable("wConfig_MainSearcherAdress", "wSEARCHER")
        + SettingTable("wConfig_MainTranslateAdress", "wTRANSLATOR")
        + SettingTable("wConfig_PagesOpenedStatus", "wSTATUS")
        + "CREATE TABLE IF NOT EXISTS wConfig_PagesOpened("
          "wID\tINTEGER\tPRIMARY KEY\tNOT NULL, "
          "wLINK\tTEXT\tNOT NULL);"
        + SettingTable("wConfig_ShowRatingAlert", "wSTATUS")
        + SettingTable("wConfig_Extension", "wREELPULL");
}

bool SettingIsEmpty(const std::string& table, const std::string& column)
{
    return QueryText(ConfigDb, "SELECT " + column + " FROM " + table).empty();
}

// Later releases added tables that older files lack: each gets its default on
// its own whenever it holds no row.
void SeedWhenEmpty(const std::string& table, const std::string& column, const std::string& value)
{
    if (SettingIsEmpty(table, column))
        ExecuteStatement(ConfigDb, "INSERT INTO " + table + " VALUES ('" + value + "');");
}

} // namespace

const std::string& FavoritesCreationText()
{
    static const std::string text = BuildFavoritesText();
    return text;
}

const std::string& HistoryCreationText()
{
    static const std::string text = BuildHistoryText();
    return text;
}

const std::string& ConfigCreationText()
{
    static const std::string text = BuildConfigText();
    return text;
}

void CreateDatabases()
{
    OpenDatabase(FavoritesDb, FavoritesFile);
    ExecuteStatement(FavoritesDb, FavoritesCreationText());
    CloseDatabase(FavoritesDb);

    OpenDatabase(HistoryDb, HistoryFile);
    ExecuteStatement(HistoryDb, HistoryCreationText());
    CloseDatabase(HistoryDb);

    OpenDatabase(ConfigDb, ConfigFile);
    ExecuteStatement(ConfigDb, ConfigCreationText());
}

void SeedDefaults()
{
    // The home page marks a first run; the favorite-recording status and the
    // theme are seeded only then.
    if (SettingIsEmpty("wConfig_HomePage", "wLINK")) {
        ExecuteStatement(ConfigDb, "INSERT INTO wConfig_HomePage VALUES ('" + std::string(DefaultHomePage) + "');");
        ExecuteStatement(ConfigDb, "INSERT INTO wConfig_SaveFavoriteStatus VALUES ('true');");
        ExecuteStatement(ConfigDb, "INSERT INTO wConfig_ThemeColor VALUES ('Escuro');");
        ExecuteStatement(ConfigDb, "INSERT INTO wConfig_HomeScreenStatus VALUES ('true');");
    }
    SeedWhenEmpty("wConfig_HomeScreenStatus", "wSTATUS", "true");
    SeedWhenEmpty("wConfig_AdressBarPosition", "wPOSITION", "Top");
    SeedWhenEmpty("wConfig_TitleBarStatus", "wSTATUS", "true");
    SeedWhenEmpty("wConfig_MainSearcherAdress", "wSEARCHER", "Bing");
    SeedWhenEmpty("wConfig_MainTranslateAdress", "wTRANSLATOR", "Google_Translator");
    SeedWhenEmpty("wConfig_PagesOpenedStatus", "wSTATUS", "false");
    SeedWhenEmpty("wConfig_ShowRatingAlert", "wSTATUS", "true");
    SeedWhenEmpty("wConfig_Extension", "wREELPULL", "true");
}
