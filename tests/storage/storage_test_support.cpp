#include "tests/storage/storage_test_support.h"

#include <sqlite3.h>
#include <stdlib.h>

#include "storage/database.h"

void StorageTest::SetUp()
{
    char pattern[] = "/tmp/tolvane-storage-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    Folder = pattern;
    ConfigureDatabases(Folder.string(), &Dialogs);
}

void StorageTest::TearDown()
{
    for (auto id : {FavoritesDb, HistoryDb, ConfigDb})
        CloseDatabase(id);
    ConfigureDatabases("", nullptr);
    std::error_code ignored;
    std::filesystem::remove_all(Folder, ignored);
}

namespace rawdb {

namespace {

struct Connection {
    explicit Connection(const std::filesystem::path& file)
    {
        if (sqlite3_open_v2(file.c_str(), &Db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            ADD_FAILURE() << "cannot open " << file << ": " << sqlite3_errmsg(Db);
    }
    ~Connection() { sqlite3_close(Db); }
    sqlite3* Db = nullptr;
};

} // namespace

std::string Rows(const std::filesystem::path& file, const std::string& sql)
{
    Connection connection(file);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(connection.Db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sql << ": " << sqlite3_errmsg(connection.Db);
        return {};
    }
    std::string rows;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        if (!rows.empty())
            rows += '\n';
        for (int column = 0; column < sqlite3_column_count(statement); ++column) {
            if (column > 0)
                rows += '|';
            auto text = sqlite3_column_text(statement, column);
            rows += text ? reinterpret_cast<const char*>(text) : "<null>";
        }
    }
    sqlite3_finalize(statement);
    return rows;
}

std::string Dump(const std::filesystem::path& file)
{
    std::string dump = Rows(file, "SELECT type, name, sql FROM sqlite_master ORDER BY name");
    std::string tables = Rows(file, "SELECT name FROM sqlite_master WHERE type='table' ORDER BY name");
    size_t start = 0;
    while (start < tables.size()) {
        size_t end = tables.find('\n', start);
        if (end == std::string::npos)
            end = tables.size();
        std::string table = tables.substr(start, end - start);
        dump += "\n[" + table + "]\n" + Rows(file, "SELECT * FROM " + table + " ORDER BY 1");
        start = end + 1;
    }
    return dump;
}

void Execute(const std::filesystem::path& file, const std::string& sql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

} // namespace rawdb

size_t OpenDescriptorCount()
{
    size_t count = 0;
    for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}
