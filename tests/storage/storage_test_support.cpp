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
