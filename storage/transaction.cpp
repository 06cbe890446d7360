#include "storage/transaction.h"

bool ExecuteAllOrNothing(DatabaseId id, const std::vector<std::string>& statements)
{
    // IMMEDIATE takes the write lock first: a file another process holds
    // fails here, before any statement runs.
    if (ExecuteStatement(id, "BEGIN IMMEDIATE;") != 0)
        return false;
    for (const auto& statement : statements) {
        if (ExecuteStatement(id, statement) != 0) {
            ExecuteStatement(id, "ROLLBACK;");
            return false;
        }
    }
    if (ExecuteStatement(id, "COMMIT;") != 0) {
        ExecuteStatement(id, "ROLLBACK;");
        return false;
    }
    return true;
}
