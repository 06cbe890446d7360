#include "library/operation_databases.h"

#include "storage/schema.h"

OperationDatabases::OperationDatabases(std::initializer_list<DatabaseId> ids)
{
    for (DatabaseId id : ids) {
        if (ConnectionSlots.at(static_cast<size_t>(id)) != nullptr)
            continue;
        OpenDatabase(id, FileOf(id));
        m_opened.push_back(id);
    }
}

OperationDatabases::~OperationDatabases()
{
    for (DatabaseId id : m_opened)
        CloseDatabase(id);
}

const char* OperationDatabases::FileOf(DatabaseId id)
{
    switch (id) {
    case FavoritesDb: return FavoritesFile;
    case HistoryDb: return HistoryFile;
    case ConfigDb: break;
    }
    return ConfigFile;
}
