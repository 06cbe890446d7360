#include <gtest/gtest.h>

#include <sqlite3.h>

#include <chrono>
#include <climits>
#include <fstream>
#include <thread>

#include "browser/home_page.h"
#include "storage/database.h"
#include "storage/schema.h"
#include "tests/storage/storage_test_support.h"

namespace {

// Open file descriptors of this process: a leaked connection keeps one.
size_t OpenDescriptorCount()
{
    auto entries = std::filesystem::directory_iterator("/proc/self/fd");
    return static_cast<size_t>(std::distance(begin(entries), end(entries)));
}

class DatabaseTest : public StorageTest {
protected:
    void SetUp() override
    {
        StorageTest::SetUp();
        OpenDatabase(FavoritesDb, "wFavorite_database.db");
        ExecuteStatement(FavoritesDb, "CREATE TABLE wFavorite_Registered(wID INTEGER PRIMARY KEY NOT NULL, "
                                      "wNAME TEXT NOT NULL, wLINK TEXT NOT NULL);");
    }

    std::filesystem::path File() const { return Folder / "wFavorite_database.db"; }

    // Stores a favorite as the system builds the statement, in one call of two
    // statements, and reads its name back through the layer.
    std::string StoreAndReadName(const std::string& name)
    {
        EXPECT_EQ(ExecuteStatement(FavoritesDb, "DELETE FROM wFavorite_Registered; INSERT INTO wFavorite_Registered "
                                                "VALUES (NULL, '" + SqlQuoted(name) + "', 'http://x.org/');"),
                  SQLITE_OK) << name;
        return QueryText(FavoritesDb, "SELECT wNAME FROM wFavorite_Registered");
    }
};

// Column 0 of the first row (QueryTexts: of every row); no row and a failed
// query read as -1 and as the empty text, without a message.
TEST_F(DatabaseTest, QueriesReadColumnZeroAndTellNoRow)
{
    const std::tuple<const char*, int32_t, const char*> cases[] = {
        {"SELECT 42", 42, "42"},
        {"SELECT ' -8x'", -8, " -8x"}, // atoi's reading
        {"SELECT 'abc'", 0, "abc"},
        {"SELECT NULL", 0, ""},
        {"SELECT '99999999999'", INT32_MAX, "99999999999"},
        {"SELECT '-99999999999'", INT32_MIN, "-99999999999"},
        {"SELECT 3 UNION ALL SELECT 5", 3, "3"},
        {"SELECT COUNT(*) FROM wFavorite_Registered", 0, "0"},
        {"SELECT wID FROM wFavorite_Registered", -1, ""},
        {"SELECT wID FROM wMissing", -1, ""},
        {"", -1, ""},
    };
    for (const auto& [sql, number, text] : cases) {
        EXPECT_EQ(QueryInteger(FavoritesDb, sql), number) << sql;
        EXPECT_EQ(QueryText(FavoritesDb, sql), text) << sql;
    }
    EXPECT_EQ(QueryTexts(FavoritesDb, "VALUES ('b', 1), (NULL, 2), ('ã日', 3), ('a', 4)"),
              (std::vector<std::string>{"b", "", "ã日", "a"}));
    EXPECT_TRUE(QueryTexts(FavoritesDb, "SELECT wNAME FROM wFavorite_Registered").empty());
    EXPECT_TRUE(QueryTexts(FavoritesDb, "SELECT wNAME FROM wMissing").empty());
    EXPECT_TRUE(QueryTexts(HistoryDb, "VALUES ('closed slot')").empty());
    EXPECT_TRUE(Dialogs.Shown.empty());
    EXPECT_EQ(sqlite3_next_stmt(ConnectionSlots[FavoritesDb], nullptr), nullptr) << "a query left its statement open";
}

// Names pass through the text codec both ways (its cases are its own tests);
// quotes are doubled, so no name ends its statement early. Unquoted, a quote
// fails the statement: nothing changes and the next one runs.
TEST_F(DatabaseTest, NamesRoundTripThroughTheFileWhateverTheyHold)
{
    const std::pair<std::string, std::string> cases[] = {
        {"ã 日😀", "\xE3 &#x65E5;&#x1F600;"},
        {"Rock 'n' \"Roll\" ''", "Rock 'n' \"Roll\" ''"},
        {"x'); DROP TABLE wFavorite_Registered; --", "x'); DROP TABLE wFavorite_Registered; --"},
    };
    for (const auto& [name, stored] : cases) {
        EXPECT_EQ(StoreAndReadName(name), name);
        EXPECT_EQ(rawdb::Rows(File(), "SELECT wNAME FROM wFavorite_Registered"), stored);
    }
    EXPECT_NE(ExecuteStatement(FavoritesDb, "INSERT INTO wFavorite_Registered VALUES (NULL, 'it's', 'x');"), SQLITE_OK);
    EXPECT_EQ(QueryInteger(FavoritesDb, "SELECT COUNT(*) FROM wFavorite_Registered"), 1);
    EXPECT_EQ(StoreAndReadName("next"), "next");
    EXPECT_TRUE(Dialogs.Shown.empty());
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

// Each connection holds its file open, so a leaked one shows as an extra
// descriptor. Opening again replaces the connection; an open that fails shows
// the error once and leaves the slot empty, releasing the failed handle and
// the connection the slot held, and later statements then fail quietly.
TEST_F(DatabaseTest, ReopeningAndFailedOpensLeaveNoConnectionBehind)
{
    size_t withOne = OpenDescriptorCount();
    for (int i = 0; i < 100; ++i)
        OpenDatabase(FavoritesDb, "wFavorite_database.db");
    EXPECT_EQ(OpenDescriptorCount(), withOne);
    EXPECT_EQ(QueryInteger(FavoritesDb, "SELECT COUNT(*) FROM wFavorite_Registered"), 0);

    auto blocker = Folder / "not-a-folder";
    std::ofstream(blocker) << "x";
    ConfigureDatabases(blocker.string(), &Dialogs);
    auto memoryBefore = sqlite3_memory_used();
    OpenDatabase(HistoryDb, "wHistoric_database.db");
    EXPECT_EQ(sqlite3_memory_used(), memoryBefore) << "the failed handle is released";
    OpenDatabase(FavoritesDb, "wFavorite_database.db");
    EXPECT_EQ(OpenDescriptorCount(), withOne - 1);
    for (DatabaseId id : {HistoryDb, FavoritesDb}) {
        EXPECT_EQ(ConnectionSlots[id], nullptr);
        EXPECT_EQ(ExecuteStatement(id, "CREATE TABLE t(a);"), SQLITE_MISUSE);
        EXPECT_EQ(QueryText(id, "SELECT 'a'"), "");
        CloseDatabase(id); // harmless on an empty slot
    }
    ASSERT_EQ(Dialogs.Shown.size(), 2u);
    EXPECT_EQ(Dialogs.Shown[0].Content.rfind("Não foi possivel abrir a database.", 0), 0u);
    EXPECT_EQ(Dialogs.Shown[0].Title, "Erro");
}

// A file that is not a database is reported once, naming it, and never
// touched again this session: not by later opens, not by the statements that
// would have created tables in it. The browser falls back to the default home
// page when the configuration is the damaged file.
TEST_F(DatabaseTest, DamagedFileIsNamedOnceAndKeptByteForByte)
{
    auto path = Folder / ConfigFile;
    std::string garbage(8192, '\0');
    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<char>((i * 7919 + 13) % 251);
    std::ofstream(path, std::ios::binary) << garbage;
    for (int i = 0; i < 3; ++i) {
        OpenDatabase(ConfigDb, ConfigFile);
        EXPECT_NE(ExecuteStatement(ConfigDb, ConfigCreationText()), SQLITE_OK);
    }
    EXPECT_EQ(ConnectionSlots[ConfigDb], nullptr);
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_NE(Dialogs.Shown[0].Content.find(path.string()), std::string::npos);
    EXPECT_NE(Dialogs.Shown[0].Content.find("wDatabase_Damaged"), std::string::npos);
    std::ifstream kept(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), garbage);
    auto home = ReadHomePage();
    ASSERT_TRUE(home);
    EXPECT_EQ(home->AbsoluteUri(), DefaultHomePage);
}

} // namespace
