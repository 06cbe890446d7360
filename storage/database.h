#pragma once
// The database layer: four operations straight on the SQLite C interface.
// Texts cross the SQLite boundary one byte per character (see text_codec.h).
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct sqlite3;

namespace platform { class MessageDialogs; class Resources; }

enum DatabaseId : int32_t {
    FavoritesDb = 0,
    HistoryDb = 1,
    ConfigDb = 2,
};

// One connection per database, shared by every caller; null when closed.
extern std::array<sqlite3*, 3> ConnectionSlots;

// Where the files live, who reports a failed open and whose texts say why;
// set once at start. Forgets which files were found unusable.
void ConfigureDatabases(std::string localFolderPath, platform::MessageDialogs* dialogs,
                        const platform::Resources* strings = nullptr);

// Opens localFolder/fileName into the id's slot, closing a connection the slot
// still holds. A failed open shows the "Erro" dialog, naming the file and why,
// and returns normally. A file that cannot be opened, is damaged or locked is
// reported once and then left alone (slot empty) for the rest of the session,
// so a damaged file stays byte for byte as it was.
void OpenDatabase(DatabaseId id, const std::string& fileName);
// sqlite3_close on the slot, which is then empty.
void CloseDatabase(DatabaseId id);

// Runs one or more statements; returns SQLite's result code (0 = success).
// A write the file refused (read-only, disk full, damaged, locked) is reported
// once per file and session in the "Erro" dialog.
int32_t ExecuteStatement(DatabaseId id, const std::string& sql);
// Column 0 of the first row as a number; -1 when no row (or the query failed).
int32_t QueryInteger(DatabaseId id, const std::string& sql);
// Column 0 of the first row as text; empty when no row (or the query failed).
std::string QueryText(DatabaseId id, const std::string& sql);
// Column 0 of every row as text, in the query's order; empty when no row (or
// the query failed).
std::vector<std::string> QueryTexts(DatabaseId id, const std::string& sql);

// Steps a query row by row: each row's columns as text go to onRow, in the
// query's order, until onRow returns false or the rows run out. False when the
// query could not run (no connection, a damaged file, a bad statement).
using RowReader = std::function<bool(const std::vector<std::string>& columns)>;
bool QueryEachRow(DatabaseId id, const std::string& sql, const RowReader& onRow);

// Runs statements that stand or fall together: BEGIN, the statements, COMMIT;
// on any failure a ROLLBACK, so nothing is half done. Returns SQLite's result
// code of the failing step (0 = all committed).
int32_t ExecuteTransaction(DatabaseId id, const std::string& statements);

// A text value ready to splice between single quotes: quotes doubled.
std::string SqlQuoted(const std::string& value);
