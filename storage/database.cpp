#include "storage/database.h"

#include <sqlite3.h>

#include <climits>
#include <cstdlib>
#include <utility>

#include "platform/message_dialog.h"
#include "platform/resources.h"
#include "storage/text_codec.h"

std::array<sqlite3*, 3> ConnectionSlots{};

namespace {

std::string LocalFolder;
constexpr int BusyTimeoutMilliseconds = 5000;
platform::MessageDialogs* Dialogs = nullptr;
const platform::Resources* Strings = nullptr;

// What this session learnt about each file: checked once at its first open,
// reported at most once, and left alone once found unusable.
struct FileHealth {
    bool Checked = false;
    bool Reported = false;
    bool Unusable = false;
};
std::array<FileHealth, 3> Health{};

FileHealth& HealthOf(DatabaseId id)
{
    return Health.at(static_cast<size_t>(id));
}

std::string PathOf(const std::string& fileName)
{
    return LocalFolder + "/" + fileName;
}

std::string FileNameOf(sqlite3* db)
{
    const char* path = sqlite3_db_filename(db, "main");
    return path ? path : std::string();
}

// The texts that say why, naming the file; a table that lacks the key still
// names it after the key.
std::string Why(const char* key, const std::string& path)
{
    std::string text = Strings ? Strings->GetString(key) : std::string(key);
    auto at = text.find("{0}");
    if (at == std::string::npos)
        return text + " " + path;
    return text.replace(at, 3, path);
}

void Report(DatabaseId id, const std::string& content)
{
    auto& health = HealthOf(id);
    if (health.Reported || Dialogs == nullptr)
        return;
    health.Reported = true;
    Dialogs->Show(content, "Erro");
}

void ReportOpenFailure(DatabaseId id, const char* key, const std::string& path)
{
    Report(id, "Não foi possivel abrir a database.\n" + Why(key, path));
}

// SQLite's verdict on a file it just opened: OK, NOTADB or CORRUPT for a
// damaged one, BUSY or LOCKED when another program holds it. The quick check
// reads every page once; it runs once per file and session.
int CheckFile(sqlite3* db)
{
    sqlite3_stmt* statement = nullptr;
    int result = sqlite3_prepare_v2(db, "PRAGMA quick_check(1)", -1, &statement, nullptr);
    if (result == SQLITE_OK) {
        result = sqlite3_step(statement);
        if (result == SQLITE_ROW) {
            auto verdict = sqlite3_column_text(statement, 0);
            bool fine = verdict && std::string(reinterpret_cast<const char*>(verdict)) == "ok";
            result = fine ? SQLITE_OK : SQLITE_CORRUPT;
        }
    }
    sqlite3_finalize(statement);
    return result;
}

bool IsLocked(int result)
{
    return (result & 0xff) == SQLITE_BUSY || (result & 0xff) == SQLITE_LOCKED;
}

bool IsDamaged(int result)
{
    return (result & 0xff) == SQLITE_CORRUPT || (result & 0xff) == SQLITE_NOTADB;
}

// A failed statement that says the file itself refused the write; others (a
// statement the file's tables do not fit) pass quietly as before.
const char* WriteFailureKey(int result)
{
    switch (result & 0xff) {
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
        return "wDatabase_ReadOnly";
    case SQLITE_FULL:
        return "wDatabase_DiskFull";
    case SQLITE_IOERR:
        return "wDatabase_WriteFailed";
    default:
        return nullptr;
    }
}

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

void ConfigureDatabases(std::string localFolderPath, platform::MessageDialogs* dialogs,
                        const platform::Resources* strings)
{
    LocalFolder = std::move(localFolderPath);
    Dialogs = dialogs;
    Strings = strings;
    Health = {};
}

void OpenDatabase(DatabaseId id, const std::string& fileName)
{
    // At most one connection per database: a connection the slot still holds
    // would otherwise leak its handle and file descriptor.
    CloseDatabase(id);
    auto& health = HealthOf(id);
    if (health.Unusable)
        return;
    std::string path = PathOf(fileName);
    sqlite3*& slot = ConnectionSlots.at(static_cast<size_t>(id));
    if (sqlite3_open(path.c_str(), &slot) != SQLITE_OK) {
        // A failed open still hands back a handle that must be released; the
        // empty slot then makes later statements fail quietly.
        sqlite3_close(slot);
        slot = nullptr;
        health.Unusable = true;
        ReportOpenFailure(id, "wDatabase_OpenFailed", path);
        return;
    }
    // Another reader of the file (a second window, a backup) holds its lock
    // for moments only: wait for it rather than lose the write.
    sqlite3_busy_timeout(slot, BusyTimeoutMilliseconds);
    if (!health.Checked) {
        health.Checked = true;
        int verdict = CheckFile(slot);
        if (verdict != SQLITE_OK) {
            // Closed before anything is written: the user may want the file back.
            CloseDatabase(id);
            health.Unusable = true;
            ReportOpenFailure(id, IsLocked(verdict) ? "wDatabase_Locked"
                                  : IsDamaged(verdict) ? "wDatabase_Damaged" : "wDatabase_OpenFailed", path);
            return;
        }
    }
    // The rollback journal (the file format's own) with a sync at every
    // commit: a killed process or a lost power supply leaves the last
    // committed state, never a torn one.
    sqlite3_exec(slot, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
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
    if (result == SQLITE_OK)
        return result;
    // A transaction the failure left open would hold later statements in it.
    if (!sqlite3_get_autocommit(db))
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    if (IsDamaged(result)) {
        HealthOf(id).Unusable = true;
        ReportOpenFailure(id, "wDatabase_Damaged", FileNameOf(db));
    } else if (IsLocked(result)) {
        Report(id, Why("wDatabase_Locked", FileNameOf(db)));
    } else if (auto key = WriteFailureKey(result)) {
        Report(id, Why(key, FileNameOf(db)));
    }
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
