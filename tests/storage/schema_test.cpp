#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "storage/database.h"
#include "storage/schema.h"
#include "tests/doubles/default_settings.h"
#include "tests/storage/storage_test_support.h"

namespace {

struct TableShape {
    std::string File;
    std::string Table;
    // PRAGMA table_info rows: name|type|notnull|pk
    std::string Columns;
};

const std::vector<TableShape> Tables = {
    {FavoritesFile, "wFavorite_Registered", "wID|INTEGER|1|1\nwNAME|TEXT|1|0\nwLINK|TEXT|1|0"},
    {HistoryFile, "wHistoric_PagesOpened", "wID|INTEGER|1|1\nwNAME|TEXT|1|0\nwLINK|TEXT|1|0\nwDATE|TEXT|1|0\nwTIME|TEXT|1|0"},
    {HistoryFile, "wHistoric_FormsSaved",
     "wID|INTEGER|1|1\nwFORM_ID|TEXT|1|0\nwFORM_TYPE|TEXT|1|0\nwFORM_VALUE|TEXT|1|0\nwFORM_LINK|TEXT|1|0"},
    {ConfigFile, "wConfig_HomePage", "wLINK|TEXT|1|1"},
    {ConfigFile, "wConfig_SaveFavoriteStatus", "wSTATUS|TEXT|1|1"},
    {ConfigFile, "wConfig_ThemeColor", "wCOLOR|TEXT|1|1"},
    {ConfigFile, "wConfig_HomeScreenStatus", "wSTATUS|TEXT|1|1"},
    {ConfigFile, "wConfig_AdressBarPosition", "wPOSITION|TEXT|1|1"},
    {ConfigFile, "wConfig_TitleBarStatus", "wSTATUS|TEXT|1|1"},
    {ConfigFile, "wConfig_MainSearcherAdress", "wSEARCHER|TEXT|1|1"},
    {ConfigFile, "wConfig_MainTranslateAdress", "wTRANSLATOR|TEXT|1|1"},
    {ConfigFile, "wConfig_PagesOpenedStatus", "wSTATUS|TEXT|1|1"},
    {ConfigFile, "wConfig_PagesOpened", "wID|INTEGER|1|1\nwLINK|TEXT|1|0"},
    {ConfigFile, "wConfig_ShowRatingAlert", "wSTATUS|TEXT|1|1"},
    {ConfigFile, "wConfig_Extension", "wREELPULL|TEXT|1|1"},
};

class SchemaTest : public StorageTest {
protected:
    // What the page constructor does at every start.
    void StartUp()
    {
        CreateDatabases();
        SeedDefaults();
        CloseDatabase(ConfigDb);
    }

    std::filesystem::path Config() const { return Folder / ConfigFile; }
};

TEST_F(SchemaTest, FirstRunCreatesEveryTableWithItsColumns)
{
    CreateDatabases();
    EXPECT_EQ(ConnectionSlots[FavoritesDb], nullptr);
    EXPECT_EQ(ConnectionSlots[HistoryDb], nullptr);
    EXPECT_NE(ConnectionSlots[ConfigDb], nullptr) << "seeding runs on the open configuration database";
    SeedDefaults();
    CloseDatabase(ConfigDb);

    std::map<std::string, std::set<std::string>> tablesByFile;
    for (const auto& shape : Tables) {
        EXPECT_EQ(rawdb::Rows(Folder / shape.File,
                      "SELECT name, type, \"notnull\", pk FROM pragma_table_info('" + shape.Table + "')"),
                  shape.Columns) << shape.Table;
        tablesByFile[shape.File].insert(shape.Table);
    }
    for (const auto& [file, tables] : tablesByFile) {
        std::string expected;
        for (const auto& table : tables)
            expected += (expected.empty() ? "" : "\n") + table;
        EXPECT_EQ(rawdb::Rows(Folder / file, "SELECT name FROM sqlite_master WHERE type='table' ORDER BY name"), expected);
    }
    EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(SchemaTest, FirstRunSeedsOneRowOfEachDefault)
{
    StartUp();
    for (const auto& setting : doubles::DefaultSettings())
        EXPECT_EQ(rawdb::Rows(Config(), "SELECT " + setting.Column + " FROM " + setting.Table), setting.Default)
            << setting.Table;
    EXPECT_EQ(rawdb::Rows(Config(), "SELECT COUNT(*) FROM wConfig_PagesOpened"), "0");
}

TEST_F(SchemaTest, MissingLaterSettingIsRepairedAndNothingElseChanges)
{
    StartUp();
    rawdb::Execute(Config(), "DELETE FROM wConfig_Extension; DELETE FROM wConfig_ThemeColor;"
                             "INSERT INTO wConfig_ThemeColor VALUES ('Azul'); INSERT INTO wConfig_PagesOpened VALUES (0, 'http://a.org/');");
    std::string before = rawdb::Dump(Config());

    StartUp();

    EXPECT_EQ(rawdb::Rows(Config(), "SELECT wREELPULL FROM wConfig_Extension"), "true");
    rawdb::Execute(Config(), "DELETE FROM wConfig_Extension;");
    EXPECT_EQ(rawdb::Dump(Config()), before);
}

TEST_F(SchemaTest, SettingsSeededOnlyOnFirstRunStayEmpty)
{
    // A file from a release that had the home page but lost these two rows:
    // readers see the empty text, not the first-run defaults.
    StartUp();
    rawdb::Execute(Config(), "DELETE FROM wConfig_ThemeColor; DELETE FROM wConfig_SaveFavoriteStatus;");

    StartUp();

    EXPECT_EQ(rawdb::Rows(Config(), "SELECT COUNT(*) FROM wConfig_ThemeColor"), "0");
    EXPECT_EQ(rawdb::Rows(Config(), "SELECT COUNT(*) FROM wConfig_SaveFavoriteStatus"), "0");
}

TEST_F(SchemaTest, OlderConfigFileGetsItsMissingTablesAndDefaults)
{
    rawdb::Execute(Config(), "CREATE TABLE wConfig_HomePage(wLINK TEXT PRIMARY KEY NOT NULL);"
                             "INSERT INTO wConfig_HomePage VALUES ('http://example.org/');");
    StartUp();
    EXPECT_EQ(rawdb::Rows(Config(), "SELECT wLINK FROM wConfig_HomePage"), "http://example.org/");
    EXPECT_EQ(rawdb::Rows(Config(), "SELECT wCOLOR FROM wConfig_ThemeColor"), "");
    EXPECT_EQ(rawdb::Rows(Config(), "SELECT wREELPULL FROM wConfig_Extension"), "true");
    EXPECT_EQ(rawdb::Rows(Config(), "SELECT wSTATUS FROM wConfig_HomeScreenStatus"), "true");
}

TEST_F(SchemaTest, SecondStartChangesNothing)
{
    StartUp();
    std::vector<std::string> before;
    for (const char* file : {FavoritesFile, HistoryFile, ConfigFile})
        before.push_back(rawdb::Dump(Folder / file));

    StartUp();

    size_t i = 0;
    for (const char* file : {FavoritesFile, HistoryFile, ConfigFile})
        EXPECT_EQ(rawdb::Dump(Folder / file), before[i++]) << file;
}

TEST_F(SchemaTest, HistoryLookupByLinkAndDateUsesTheIndex)
{
    // A history file from before the index: its rows stay, the index is added.
    rawdb::Execute(Folder / HistoryFile,
        "CREATE TABLE wHistoric_PagesOpened(wID INTEGER PRIMARY KEY NOT NULL, wNAME TEXT NOT NULL, "
        "wLINK TEXT NOT NULL, wDATE TEXT NOT NULL, wTIME TEXT NOT NULL);"
        "INSERT INTO wHistoric_PagesOpened VALUES (NULL, 'Old', 'http://a.org/', '5/3', '7h9');");
    StartUp();

    auto history = Folder / HistoryFile;
    EXPECT_EQ(rawdb::Rows(history, "SELECT name FROM sqlite_master WHERE type='index' AND tbl_name='wHistoric_PagesOpened'"),
              "wHistoric_PagesOpened_LinkDate");
    EXPECT_EQ(rawdb::Rows(history, "SELECT wNAME FROM wHistoric_PagesOpened"), "Old");
    std::string plan = rawdb::Rows(history,
        "EXPLAIN QUERY PLAN SELECT wID FROM wHistoric_PagesOpened WHERE wLINK='http://a.org/' AND wDATE='5/3'");
    EXPECT_NE(plan.find("USING COVERING INDEX wHistoric_PagesOpened_LinkDate"), std::string::npos) << plan;
}

TEST_F(SchemaTest, UnopenableFolderReportsEachDatabaseAndStartUpGoesOn)
{
    auto blocker = Folder / "file";
    rawdb::Execute(blocker, "SELECT 1"); // any regular file
    ConfigureDatabases((blocker / "sub").string(), &Dialogs);

    CreateDatabases();
    SeedDefaults();

    EXPECT_EQ(Dialogs.Shown.size(), 3u);
    EXPECT_EQ(ConnectionSlots[ConfigDb], nullptr);
}

} // namespace
