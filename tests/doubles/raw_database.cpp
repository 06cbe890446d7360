#include "tests/doubles/raw_database.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <sstream>

namespace rawdb {

std::string Rows(const std::filesystem::path& file, const std::string& sql)
{
    sqlite3* db = nullptr;
    sqlite3_stmt* statement = nullptr;
    std::string rows;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        ADD_FAILURE() << file << ": " << sql << ": " << sqlite3_errmsg(db);
    while (statement && sqlite3_step(statement) == SQLITE_ROW) {
        rows += rows.empty() ? "" : "\n";
        for (int column = 0; column < sqlite3_column_count(statement); ++column) {
            auto text = sqlite3_column_text(statement, column);
            rows += (column > 0 ? "|" : "") + std::string(text ? reinterpret_cast<const char*>(text) : "<null>");
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

std::string Dump(const std::filesystem::path& file)
{
    std::string dump = Rows(file, "SELECT type, name, sql FROM sqlite_master ORDER BY name");
    std::istringstream tables(Rows(file, "SELECT name FROM sqlite_master WHERE type='table' ORDER BY name"));
    for (std::string table; std::getline(tables, table);)
        dump += "\n[" + table + "]\n" + Rows(file, "SELECT * FROM " + table + " ORDER BY 1");
    return dump;
}

void Execute(const std::filesystem::path& file, const std::string& sql)
{
    sqlite3* db = nullptr;
    char* error = nullptr;
    EXPECT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

} // namespace rawdb
