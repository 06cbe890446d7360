// Every text the code and the page markup ask for is in both resource tables.
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/po_resources.h"

namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

const fs::path Source = TOLVANE_SOURCE_DIR;

std::set<std::string> Keys(const std::string& table)
{
    std::set<std::string> keys;
    for (auto& [key, text] : platform::ParsePo(Read(Source / "resources" / table)).Texts)
        keys.insert(key);
    return keys;
}

// Keys the system's code looks up: GetString("key").
std::set<std::string> KeysUsedInCode()
{
    static const std::regex lookup(R"re(GetString\("([^"]+)"\))re");
    std::set<std::string> used;
    for (const char* dir : {"app", "storage", "browser", "library", "downloads", "bridge", "settings", "services"}) {
        if (!fs::exists(Source / dir))
            continue;
        for (auto& entry : fs::recursive_directory_iterator(Source / dir)) {
            auto text = Read(entry.path());
            for (std::sregex_iterator m(text.begin(), text.end(), lookup), end; m != end; ++m)
                used.insert((*m)[1]);
        }
    }
    return used;
}

// The x:Uid values of the page markup.
std::set<std::string> MarkupUids()
{
    static const std::regex uid(R"re(x:Uid="([^"]+)")re");
    auto text = Read(Source / "app" / "wMain.xaml");
    std::set<std::string> uids;
    for (std::sregex_iterator m(text.begin(), text.end(), uid), end; m != end; ++m)
        uids.insert((*m)[1]);
    return uids;
}

TEST(ResourceKeys, EveryKeyTheCodeUsesIsInBothTables)
{
    auto used = KeysUsedInCode();
    ASSERT_GT(used.size(), 5u);
    for (const char* table : {"en-US.po", "pt-BR.po"}) {
        auto keys = Keys(table);
        for (auto& key : used)
            EXPECT_TRUE(keys.count(key)) << table << " lacks \"" << key << "\"";
    }
}

TEST(ResourceKeys, EveryMarkupUidHasItsTextsInBothTables)
{
    auto uids = MarkupUids();
    ASSERT_GT(uids.size(), 3u);
    for (const char* table : {"en-US.po", "pt-BR.po"}) {
        auto keys = Keys(table);
        for (auto& uid : uids) {
            bool found = std::any_of(keys.begin(), keys.end(), [&](auto& key) { return key.rfind(uid + "/", 0) == 0; });
            EXPECT_TRUE(found) << table << " has no text for x:Uid \"" << uid << "\"";
        }
    }
}

TEST(ResourceKeys, BothTablesHoldTheSameKeysAndParseCleanly)
{
    EXPECT_EQ(Keys("en-US.po"), Keys("pt-BR.po"));
    for (const char* table : {"en-US.po", "pt-BR.po"})
        EXPECT_TRUE(platform::ParsePo(Read(Source / "resources" / table)).Problems.empty()) << table;
    EXPECT_EQ(platform::PoResources(Read(Source / "resources" / "en-US.po")).GetString("wLanguage"), "EN-US");
    EXPECT_EQ(platform::PoResources(Read(Source / "resources" / "pt-BR.po")).GetString("wLanguage"), "PT-BR");
}

} // namespace
