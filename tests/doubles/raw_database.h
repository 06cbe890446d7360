#pragma once
// Raw access to a database file that bypasses the layer under test.
#include <filesystem>
#include <string>

namespace rawdb {

// Every row of the result of sql, as stored in the file: values joined by
// "|", rows by "\n"; NULL reads as "<null>".
std::string Rows(const std::filesystem::path& file, const std::string& sql);
// Every table, index and row of a file, for before/after comparisons.
std::string Dump(const std::filesystem::path& file);
// Runs sql on the file outside the layer (to set up old or odd files).
void Execute(const std::filesystem::path& file, const std::string& sql);

} // namespace rawdb
