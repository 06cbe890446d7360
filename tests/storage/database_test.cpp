#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "storage/database.h"
#include "tests/storage/storage_test_support.h"

namespace {

class DatabaseTest : public StorageTest {
protected:
    void SetUp() override
    {
        StorageTest::SetUp();
        OpenDatabase(FavoritesDb, "wFavorite_database.db");
        ExecuteStatement(FavoritesDb,
            "CREATE TABLE wFavorite_Registered(wID INTEGER PRIMARY KEY NOT NULL, wNAME TEXT NOT NULL, wLINK TEXT NOT NULL);"
            "CREATE TABLE wConfig_ThemeColor(wCOLOR TEXT PRIMARY KEY NOT NULL);");
    }

    std::filesystem::path File() const { return Folder / "wFavorite_database.db"; }

    // Inserts a favorite the way the system builds the statement and reads
    // its name back through the layer.
    std::string StoreAndReadName(const std::string& name)
    {
        ExecuteStatement(FavoritesDb, "DELETE FROM wFavorite_Registered");
        ExecuteStatement(FavoritesDb,
            "INSERT INTO wFavorite_Registered VALUES (NULL, '" + SqlQuoted(name) + "', 'http://x.org/');");
        return QueryText(FavoritesDb, "SELECT wNAME FROM wFavorite_Registered WHERE wID=1");
    }

    std::string StoredHex() const
    {
        return rawdb::Rows(File(), "SELECT hex(wNAME) FROM wFavorite_Registered");
    }
};

TEST_F(DatabaseTest, QueriesTellNoRowFromAnEmptyCount)
{
    EXPECT_EQ(QueryInteger(FavoritesDb, "SELECT wID FROM wFavorite_Registered WHERE wLINK='http://x.org/'"), -1);
    EXPECT_EQ(QueryInteger(FavoritesDb, "SELECT COUNT(*) FROM wFavorite_Registered"), 0);
    EXPECT_EQ(QueryText(FavoritesDb, "SELECT wCOLOR FROM wConfig_ThemeColor"), "");
}

TEST_F(DatabaseTest, FailedQueriesReadAsNoRowWithoutAMessage)
{
    EXPECT_EQ(QueryInteger(FavoritesDb, "SELECT wID FROM wMissing"), -1);
    EXPECT_EQ(QueryText(FavoritesDb, "SELEC wNAME FROM wFavorite_Registered"), "");
    EXPECT_EQ(QueryText(FavoritesDb, ""), "");
    EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(DatabaseTest, QueryIntegerReadsLeadingDigitsOfTheFirstRow)
{
    const std::vector<std::pair<std::string, int32_t>> cases = {
        {"SELECT 42", 42},
        {"SELECT '17abc'", 17},
        {"SELECT ' -8'", -8},
        {"SELECT 'abc'", 0},
        {"SELECT NULL", 0},
        {"SELECT '99999999999'", INT32_MAX},
        {"SELECT 3 UNION ALL SELECT 5", 3},
    };
    for (const auto& [sql, expected] : cases)
        EXPECT_EQ(QueryInteger(FavoritesDb, sql), expected) << sql;
    EXPECT_EQ(QueryText(FavoritesDb, "SELECT NULL"), "");
}

TEST_F(DatabaseTest, LatinLettersAreStoredOneBytePerCharacter)
{
    EXPECT_EQ(StoreAndReadName("ãç"), "ãç");
    EXPECT_EQ(StoredHex(), "E3E7");
}

TEST_F(DatabaseTest, WideCharactersRoundTripAsAsciiEscapes)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Ελληνικά", "&#x395;&#x3BB;&#x3BB;&#x3B7;&#x3BD;&#x3B9;&#x3BA;&#x3AC;"},
        {"日本語のページ", "&#x65E5;&#x672C;&#x8A9E;&#x306E;&#x30DA;&#x30FC;&#x30B8;"},
        {"Hi 😀!", "Hi &#x1F600;!"},
        {"&#x3B1;", "&#x26;#x3B1;"}, // typed literally by a user
    };
    for (const auto& [name, stored] : cases) {
        EXPECT_EQ(StoreAndReadName(name), name);
        EXPECT_EQ(rawdb::Rows(File(), "SELECT wNAME FROM wFavorite_Registered"), stored);
    }
}

TEST_F(DatabaseTest, QuotedValuesRoundTripUnchanged)
{
    const std::string title = "Rock 'n' \"Roll\" ''";
    EXPECT_EQ(StoreAndReadName(title), title);

    // The history insert puts the title between double quotes.
    ExecuteStatement(FavoritesDb, "CREATE TABLE wHistoric_PagesOpened(wID INTEGER PRIMARY KEY NOT NULL, wNAME TEXT NOT NULL, "
                                  "wLINK TEXT NOT NULL, wDATE TEXT NOT NULL, wTIME TEXT NOT NULL);");
    EXPECT_EQ(ExecuteStatement(FavoritesDb, "INSERT INTO wHistoric_PagesOpened VALUES (NULL, \"" + SqlDoubleQuoted(title)
                                                + "\",'" + SqlQuoted("http://x.org/it's") + "','5/3','7h9');"),
              SQLITE_OK);
    EXPECT_EQ(QueryText(FavoritesDb, "SELECT wNAME FROM wHistoric_PagesOpened WHERE wLINK='" + SqlQuoted("http://x.org/it's") + "'"),
              title);
}

TEST_F(DatabaseTest, SettingsWriteRunsBothStatements)
{
    for (const std::string theme : {"Azul", "Verde"}) {
        EXPECT_EQ(ExecuteStatement(FavoritesDb,
                      "DELETE FROM wConfig_ThemeColor; INSERT INTO wConfig_ThemeColor VALUES ('" + theme + "');"),
                  SQLITE_OK);
    }
    EXPECT_EQ(rawdb::Rows(File(), "SELECT wCOLOR FROM wConfig_ThemeColor"), "Verde");
}

// Another process reading the file at the moment of a write (a second window,
// a backup) must delay the write, not lose it.
TEST_F(DatabaseTest, AWriteWaitsForAnotherReaderInsteadOfFailing)
{
    sqlite3* reader = nullptr;
    ASSERT_EQ(sqlite3_open(File().c_str(), &reader), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(reader, "BEGIN; SELECT COUNT(*) FROM wFavorite_Registered;", nullptr, nullptr, nullptr),
              SQLITE_OK);
    std::thread release([reader] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        sqlite3_exec(reader, "COMMIT;", nullptr, nullptr, nullptr);
    });
    EXPECT_EQ(ExecuteStatement(FavoritesDb, "INSERT INTO wFavorite_Registered VALUES (NULL, 'kept', 'x');"), SQLITE_OK);
    release.join();
    sqlite3_close(reader);
    EXPECT_EQ(rawdb::Rows(File(), "SELECT wNAME FROM wFavorite_Registered"), "kept");
}

TEST_F(DatabaseTest, UnmatchedQuoteChangesNothingAndShowsNothing)
{
    StoreAndReadName("kept");
    EXPECT_NE(ExecuteStatement(FavoritesDb, "INSERT INTO wFavorite_Registered VALUES (NULL, 'it's', 'x');"), SQLITE_OK);
    EXPECT_EQ(rawdb::Rows(File(), "SELECT wNAME FROM wFavorite_Registered"), "kept");
    EXPECT_TRUE(Dialogs.Shown.empty());
    EXPECT_EQ(ExecuteStatement(FavoritesDb, "INSERT INTO wFavorite_Registered VALUES (NULL, 'next', 'y');"), SQLITE_OK);
    EXPECT_EQ(QueryInteger(FavoritesDb, "SELECT COUNT(*) FROM wFavorite_Registered"), 2);
}

TEST_F(DatabaseTest, OpeningAMissingFileCreatesIt)
{
    ASSERT_FALSE(std::filesystem::exists(Folder / "wHistoric_database.db"));
    OpenDatabase(HistoryDb, "wHistoric_database.db");
    EXPECT_NE(ConnectionSlots[HistoryDb], nullptr);
    EXPECT_EQ(ExecuteStatement(HistoryDb, "CREATE TABLE t(a);"), SQLITE_OK);
    CloseDatabase(HistoryDb);
    EXPECT_TRUE(std::filesystem::is_regular_file(Folder / "wHistoric_database.db"));
    EXPECT_EQ(ConnectionSlots[HistoryDb], nullptr);
    EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(DatabaseTest, ReopeningKeepsOneConnectionAndAUsableSlot)
{
    // Each connection holds its file open; a replaced one left open would
    // show up as an extra descriptor.
    size_t withOne = OpenDescriptorCount();
    OpenDatabase(FavoritesDb, "wFavorite_database.db");
    EXPECT_EQ(OpenDescriptorCount(), withOne);
    EXPECT_EQ(ExecuteStatement(FavoritesDb, "INSERT INTO wConfig_ThemeColor VALUES ('Azul');"), SQLITE_OK);
    EXPECT_EQ(QueryText(FavoritesDb, "SELECT wCOLOR FROM wConfig_ThemeColor"), "Azul");
    CloseDatabase(FavoritesDb);
    CloseDatabase(FavoritesDb); // closing an empty slot is harmless
    EXPECT_EQ(OpenDescriptorCount(), withOne - 1);
}

TEST_F(DatabaseTest, ManyOpenCloseCyclesLeaveNoConnectionBehind)
{
    CloseDatabase(FavoritesDb);
    size_t before = OpenDescriptorCount();
    for (int cycle = 0; cycle < 10000; ++cycle) {
        OpenDatabase(ConfigDb, "wConfig_database.db");
        if (cycle % 2 == 0)
            OpenDatabase(ConfigDb, "wConfig_database.db"); // a caller that opens again without closing
        QueryInteger(ConfigDb, "SELECT COUNT(*) FROM sqlite_master");
        CloseDatabase(ConfigDb);
    }
    EXPECT_EQ(OpenDescriptorCount(), before);
    EXPECT_EQ(ConnectionSlots[ConfigDb], nullptr);
}

TEST_F(DatabaseTest, QueriesLeaveNoStatementOpen)
{
    QueryInteger(FavoritesDb, "SELECT 1 UNION ALL SELECT 2");
    QueryText(FavoritesDb, "SELECT wNAME FROM wFavorite_Registered");
    QueryText(FavoritesDb, "SELECT nonsense");
    EXPECT_EQ(sqlite3_next_stmt(ConnectionSlots[FavoritesDb], nullptr), nullptr);
}

TEST_F(DatabaseTest, UnopenableDatabaseShowsErrorOnceAndCallerGoesOn)
{
    auto blocker = Folder / "not-a-folder";
    std::ofstream(blocker) << "x";
    ConfigureDatabases(blocker.string(), &Dialogs);
    auto memoryBefore = sqlite3_memory_used();

    OpenDatabase(HistoryDb, "wHistoric_database.db");

    EXPECT_EQ(sqlite3_memory_used(), memoryBefore) << "the failed handle is released";

    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Shown[0].Content, "Não foi possivel abrir a database.");
    EXPECT_EQ(Dialogs.Shown[0].Title, "Erro");
    EXPECT_TRUE(Dialogs.Shown[0].Commands.empty());
    EXPECT_EQ(ConnectionSlots[HistoryDb], nullptr);
    EXPECT_EQ(ExecuteStatement(HistoryDb, "CREATE TABLE t(a);"), SQLITE_MISUSE);
    EXPECT_EQ(QueryInteger(HistoryDb, "SELECT 1"), -1);
    EXPECT_EQ(QueryText(HistoryDb, "SELECT 'a'"), "");
    CloseDatabase(HistoryDb);
    EXPECT_EQ(Dialogs.Shown.size(), 1u);
}

TEST_F(DatabaseTest, FailedReopenReleasesTheOldConnection)
{
    size_t withOne = OpenDescriptorCount();
    ConfigureDatabases((Folder / "missing" / "deeper").string(), &Dialogs);
    OpenDatabase(FavoritesDb, "wFavorite_database.db");
    EXPECT_EQ(ConnectionSlots[FavoritesDb], nullptr);
    EXPECT_EQ(OpenDescriptorCount(), withOne - 1);
    EXPECT_EQ(Dialogs.Shown.size(), 1u);
}

} // namespace
