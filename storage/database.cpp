#include "storage/database.h"

#include <sqlite3.h>

#include <climits>
#include <cstdlib>
#include <utility>

#include "platform/message_dialog.h"
#include "storage/text_codec.h"

std::array<sqlite3*, 3> ConnectionSlots{};

namespace {

std::string LocalFolder;
constexpr int BusyTimeoutMilliseconds = 5000;
platform::MessageDialogs* Dialogs = nullptr;

sqlite3* SlotFor(DatabaseId id)
{
    return ConnectionSlots.at(static_cast<size_t>(id));
}

// Prepares sql and steps once; the statement is live only while a row is there.
// A prepared query stepped one row at a time.
class QueryRows {
public:
    QueryRows(DatabaseId id, const std::string& sql)
    {
        sqlite3* db = SlotFor(id);
        if (db == nullptr)
            return;
        std::string narrowed = NarrowText(sql);
        if (sqlite3_prepare_v2(db, narrowed.c_str(), -1, &m_statement, nullptr) != SQLITE_OK || m_statement == nullptr)
            return;
        m_hasRow = sqlite3_step(m_statement) == SQLITE_ROW;
    }
    ~QueryRows() { sqlite3_finalize(m_statement); }
    QueryRows(const QueryRows&) = delete;
    QueryRows& operator=(const QueryRows&) = delete;

    bool Prepared() const { return m_statement != nullptr; }
    bool HasRow() const { return m_hasRow; }
    void Next() { m_hasRow = m_hasRow && sqlite3_step(m_statement) == SQLITE_ROW; }
    // Column 0's bytes; empty for a NULL value.
    std::string FirstColumn() const { return Column(0); }
    std::string Column(int index) const
    {
        auto text = sqlite3_column_text(m_statement, index);
        return text ? std::string(reinterpret_cast<const char*>(text), sqlite3_column_bytes(m_statement, index))
                    : std::string();
    }
    int ColumnCount() const { return sqlite3_column_count(m_statement); }

private:
    sqlite3_stmt* m_statement = nullptr;
    bool m_hasRow = false;
};

// atoi's reading (leading blanks, sign, digits; 0 without digits), clamped
// instead of overflowing.
int32_t LeadingInteger(const std::string& text)
{
    long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

} // namespace

void ConfigureDatabases(std::string localFolderPath, platform::MessageDialogs* dialogs)
{
    LocalFolder = std::move(localFolderPath);
    Dialogs = dialogs;
}

void OpenDatabase(DatabaseId id, const std::string& fileName)
{
    // At most one connection per database: a connection the slot still holds
    // would otherwise leak its handle and file descriptor.
    CloseDatabase(id);
    std::string path = LocalFolder + "/" + fileName;
    sqlite3*& slot = ConnectionSlots.at(static_cast<size_t>(id));
    if (sqlite3_open(path.c_str(), &slot) == SQLITE_OK) {
        // Another reader of the file (a second window, a backup) holds its lock
        // for moments only: wait for it rather than lose the write.
        sqlite3_busy_timeout(slot, BusyTimeoutMilliseconds);
        return;
    }
    // A failed open still hands back a handle that must be released; the empty
    // slot then makes later statements fail quietly.
    sqlite3_close(slot);
    slot = nullptr;
    if (Dialogs != nullptr)
        Dialogs->Show("Não foi possivel abrir a database.", "Erro");
}

void CloseDatabase(DatabaseId id)
{
    sqlite3*& slot = ConnectionSlots.at(static_cast<size_t>(id));
    if (slot == nullptr)
        return;
    sqlite3_close(slot);
    slot = nullptr;
}

int32_t ExecuteStatement(DatabaseId id, const std::string& sql)
{
    sqlite3* db = SlotFor(id);
    if (db == nullptr)
        return SQLITE_MISUSE;
    std::string narrowed = NarrowText(sql);
    char* error = nullptr;
    int result = sqlite3_exec(db, narrowed.c_str(), nullptr, nullptr, &error);
    sqlite3_free(error);
    return result;
}

int32_t QueryInteger(DatabaseId id, const std::string& sql)
{
    QueryRows row(id, sql);
    if (!row.HasRow())
        return -1;
    return LeadingInteger(row.FirstColumn());
}

std::string QueryText(DatabaseId id, const std::string& sql)
{
    QueryRows row(id, sql);
    if (!row.HasRow())
        return {};
    return WidenText(row.FirstColumn());
}

std::vector<std::string> QueryTexts(DatabaseId id, const std::string& sql)
{
    std::vector<std::string> texts;
    for (QueryRows row(id, sql); row.HasRow(); row.Next())
        texts.push_back(WidenText(row.FirstColumn()));
    return texts;
}

bool QueryEachRow(DatabaseId id, const std::string& sql, const RowReader& onRow)
{
    QueryRows row(id, sql);
    if (!row.Prepared())
        return false;
    std::vector<std::string> columns(static_cast<size_t>(row.ColumnCount()));
    for (; row.HasRow(); row.Next()) {
        for (size_t i = 0; i < columns.size(); ++i)
            columns[i] = WidenText(row.Column(static_cast<int>(i)));
        if (!onRow(columns))
            break;
    }
    return true;
}

int32_t ExecuteTransaction(DatabaseId id, const std::string& statements)
{
    int32_t result = ExecuteStatement(id, "BEGIN;");
    if (result != SQLITE_OK)
        return result;
    result = ExecuteStatement(id, statements);
    if (result == SQLITE_OK)
        result = ExecuteStatement(id, "COMMIT;");
    if (result != SQLITE_OK)
        ExecuteStatement(id, "ROLLBACK;");
    return result;
}

std::string SqlQuoted(const std::string& value)
{
    std::string quoted;
    quoted.reserve(value.size());
    for (char c : value) {
        quoted += c;
        if (c == '\'')
            quoted += '\'';
    }
    return quoted;
}
