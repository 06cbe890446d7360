#pragma once
// The databases one library operation works on. Each is opened for the
// operation and closed when it ends, unless the caller already had it open:
// a suggestion lookup raised by a text change in the middle of a tab switch
// must not close the files the switch is still reading.
#include <initializer_list>
#include <vector>

#include "storage/database.h"

class OperationDatabases {
public:
    OperationDatabases(std::initializer_list<DatabaseId> ids);
    ~OperationDatabases();
    OperationDatabases(const OperationDatabases&) = delete;
    OperationDatabases& operator=(const OperationDatabases&) = delete;

    // The file of each database id.
    static const char* FileOf(DatabaseId id);

private:
    std::vector<DatabaseId> m_opened;
};
