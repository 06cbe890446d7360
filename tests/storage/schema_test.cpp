#include <gtest/gtest.h>

#include <sqlite3.h>

#include <string>
#include <vector>

#include "browser/visit_statements.h"
#include "storage/database.h"
#include "storage/schema.h"
#include "tests/storage/storage_test_support.h"

namespace {

// The eleven settings tables with their columns and the defaults a first start writes.
const std::tuple<const char*, const char*, const char*> DefaultSettings[] = {
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

class SchemaTest : public StorageTest {
protected:
    // What the page constructor does at every start.
    void StartUp()
    {
        CreateDatabases();
        SeedDefaults();
        CloseDatabase(ConfigDb);
    }
};

// A first start seeds one row of each default; later starts change nothing,
// neither the user's settings nor history nor tabs.
TEST_F(SchemaTest, FirstRunSeedsEachDefaultAndLaterStartsChangeNothing)
{
    StartUp();
    for (const auto& [table, column, value] : DefaultSettings)
        EXPECT_EQ(rawdb::Rows(Folder / ConfigFile, std::string("SELECT ") + column + " FROM " + table), value) << table;
    EXPECT_EQ(rawdb::Rows(Folder / ConfigFile, "SELECT COUNT(*) FROM wConfig_PagesOpened"), "0");
    EXPECT_TRUE(Dialogs.Shown.empty());

    rawdb::Execute(Folder / ConfigFile, "UPDATE wConfig_ThemeColor SET wCOLOR='Azul';"
                                        "INSERT INTO wConfig_PagesOpened VALUES (0, 'http://a.org/');");
    rawdb::Execute(Folder / HistoryFile, "INSERT INTO wHistoric_PagesOpened VALUES (NULL, 'A', 'a', '5/3', '7h9');");
    std::vector<std::string> before;
    for (const char* file : {FavoritesFile, HistoryFile, ConfigFile})
        before.push_back(rawdb::Dump(Folder / file));
    StartUp();
    StartUp();
    for (size_t i = 0; const char* file : {FavoritesFile, HistoryFile, ConfigFile})
        EXPECT_EQ(rawdb::Dump(Folder / file), before[i++]) << file;
}

// The statements a completed navigation runs fail quietly: a table or column
// the files lack would lose history and tabs without a word.
TEST_F(SchemaTest, FirstRunFilesServeTheNavigationStatements)
{
    StartUp();
    OpenDatabase(HistoryDb, HistoryFile);
    OpenDatabase(FavoritesDb, FavoritesFile);
    OpenDatabase(ConfigDb, ConfigFile);
    EXPECT_EQ(ExecuteStatement(HistoryDb, HistoryVisitInsert("Title", "http://a.org/", "5/3", "7h9")), SQLITE_OK);
    EXPECT_NE(QueryInteger(HistoryDb, HistoryVisitQuery("http://a.org/", "5/3")), -1);
    EXPECT_EQ(ExecuteStatement(FavoritesDb, FavoriteLookupQuery("http://a.org/")), SQLITE_OK);
    EXPECT_EQ(ExecuteStatement(ConfigDb, PageOpenedInsert(0, "http://a.org/")), SQLITE_OK);
    EXPECT_EQ(ExecuteStatement(ConfigDb, PageOpenedUpdate(0, "http://b.org/")), SQLITE_OK);
    EXPECT_EQ(QueryText(ConfigDb, PageOpenedQuery(0)), "http://b.org/");
}

// Files an earlier release or a user left behind: a start adds what is
// missing and keeps the rest.
TEST_F(SchemaTest, StartUpRepairsOlderFilesAndKeepsTheirRows)
{
    struct Case {
        const char* Title;
        bool AfterAFirstStart;
        const char* File;
        const char* Before;
        std::vector<std::pair<const char*, const char*>> After; // query, rows
    };
    const Case cases[] = {
        {"a later setting lost", true, ConfigFile,
         "DELETE FROM wConfig_Extension; UPDATE wConfig_ThemeColor SET wCOLOR='Azul';",
         {{"SELECT wREELPULL FROM wConfig_Extension", "true"}, {"SELECT wCOLOR FROM wConfig_ThemeColor", "Azul"}}},
        {"a configuration file with the home page only: what only a first run seeds stays empty", false, ConfigFile,
         "CREATE TABLE wConfig_HomePage(wLINK TEXT PRIMARY KEY NOT NULL); INSERT INTO wConfig_HomePage VALUES ('http://e.org/');",
         {{"SELECT wLINK FROM wConfig_HomePage", "http://e.org/"}, {"SELECT COUNT(*) FROM wConfig_ThemeColor", "0"},
          {"SELECT COUNT(*) FROM wConfig_SaveFavoriteStatus", "0"}, {"SELECT wREELPULL FROM wConfig_Extension", "true"},
          {"SELECT wSTATUS FROM wConfig_HomeScreenStatus", "true"}}},
        {"a history file from before the link-and-date index", false, HistoryFile,
         "CREATE TABLE wHistoric_PagesOpened(wID INTEGER PRIMARY KEY NOT NULL, wNAME TEXT NOT NULL, wLINK TEXT NOT NULL, "
         "wDATE TEXT NOT NULL, wTIME TEXT NOT NULL); INSERT INTO wHistoric_PagesOpened VALUES (NULL, 'Old', 'a', '5/3', '7h9');",
         {{"SELECT wNAME FROM wHistoric_PagesOpened", "Old"},
          {"SELECT COUNT(*) FROM sqlite_master WHERE type='index' AND tbl_name='wHistoric_PagesOpened'", "1"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Title);
        for (const char* file : {FavoritesFile, HistoryFile, ConfigFile})
            std::filesystem::remove(Folder / file);
        if (c.AfterAFirstStart)
            StartUp();
        rawdb::Execute(Folder / c.File, c.Before);
        StartUp();
        for (const auto& [sql, rows] : c.After)
            EXPECT_EQ(rawdb::Rows(Folder / c.File, sql), rows) << sql;
    }
}

} // namespace
