#pragma once
// A fresh local folder per test with the database layer pointed at it, and
// raw access to the files that bypasses the layer under test.
#include <gtest/gtest.h>

#include "storage/database.h"
#include "tests/doubles/page_harness.h"
#include "tests/doubles/raw_database.h"

class StorageTest : public ::testing::Test {
protected:
    void SetUp() override { ConfigureDatabases(Folder.string(), &Dialogs); }
    void TearDown() override
    {
        for (auto id : {FavoritesDb, HistoryDb, ConfigDb})
            CloseDatabase(id);
        ConfigureDatabases("", nullptr);
    }

    doubles::TempFolder Temp;
    const std::filesystem::path Folder = Temp.Path();
    doubles::FakeDialogs Dialogs;
};
