#pragma once
// Statements that must stand or fall together.
#include <string>
#include <vector>

#include "storage/database.h"

// Runs the statements in order inside one "BEGIN IMMEDIATE;" … "COMMIT;";
// the first that fails (or a failed begin or commit) rolls every one back.
// True only when all of them are stored.
bool ExecuteAllOrNothing(DatabaseId id, const std::vector<std::string>& statements);
