#pragma once
// A fresh local folder per test with the database layer pointed at it, and
// raw access to the files that bypasses the layer under test.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/doubles/raw_database.h"
#include "tests/doubles/services.h"

class StorageTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::filesystem::path Folder;
    doubles::FakeDialogs Dialogs;
};
