#pragma once
// A fresh local folder per test with the database layer pointed at it, and
// raw access to the files that bypasses the layer under test.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/doubles/services.h"

class StorageTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::filesystem::path Folder;
    doubles::FakeDialogs Dialogs;
};

namespace rawdb {

// Every row of the result of sql, as stored in the file: values joined by
// "|", rows by "\n"; NULL reads as "<null>".
std::string Rows(const std::filesystem::path& file, const std::string& sql);
// Every table, index and row of a file, for before/after comparisons.
std::string Dump(const std::filesystem::path& file);
// Runs sql on the file outside the layer (to set up old or odd files).
void Execute(const std::filesystem::path& file, const std::string& sql);

} // namespace rawdb

// Open file descriptors of this process: a leaked connection keeps one.
size_t OpenDescriptorCount();
