// Every text the code and the page markup ask for is in both resource tables.
#include <filesystem>
#include <fstream>
#include <ranges>
#include <regex>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/po_resources.h"

namespace {

namespace fs = std::filesystem;
const fs::path Source = TOLVANE_SOURCE_DIR;
const char* const Tables[] = {"en-US.po", "pt-BR.po"};

std::string Read(const fs::path& path)
{
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

platform::PoTable Table(const char* name) { return platform::ParsePo(Read(Source / "resources" / name)); }

std::set<std::string> Matches(const std::string& text, const std::regex& pattern)
{
    std::set<std::string> found;
    for (std::sregex_iterator m(text.begin(), text.end(), pattern), end; m != end; ++m)
        found.insert((*m)[1]);
    return found;
}

TEST(ResourceKeys, EveryKeyTheCodeUsesIsInBothTables)
{
    static const std::regex lookup(R"re(GetString\("([^"]+)"\))re");
    std::set<std::string> used;
    for (const char* dir : {"app", "storage", "browser", "library", "downloads", "bridge", "settings", "services"}) {
        if (fs::exists(Source / dir))
            for (auto& entry : fs::recursive_directory_iterator(Source / dir))
                used.merge(Matches(Read(entry.path()), lookup));
    }
    ASSERT_GT(used.size(), 5u);
    for (const char* table : Tables) {
        auto texts = Table(table).Texts;
        for (auto& key : used)
            EXPECT_TRUE(texts.count(key)) << table << " lacks \"" << key << "\"";
    }
}

TEST(ResourceKeys, EveryMarkupUidHasItsTextsInBothTables)
{
    auto uids = Matches(Read(Source / "app" / "wMain.xaml"), std::regex(R"re(x:Uid="([^"]+)")re"));
    ASSERT_GT(uids.size(), 3u);
    for (const char* table : Tables) {
        auto texts = Table(table).Texts;
        for (auto& uid : uids) {
            auto next = texts.lower_bound(uid + "/");
            EXPECT_TRUE(next != texts.end() && next->first.rfind(uid + "/", 0) == 0)
                << table << " has no text for x:Uid \"" << uid << "\"";
        }
    }
}

TEST(ResourceKeys, BothTablesHoldTheSameKeysAndParseCleanly)
{
    auto en = Table("en-US.po"), pt = Table("pt-BR.po");
    EXPECT_TRUE(en.Problems.empty()) << ::testing::PrintToString(en.Problems);
    EXPECT_TRUE(pt.Problems.empty()) << ::testing::PrintToString(pt.Problems);
    auto keys = [](const platform::PoTable& table) {
        auto names = std::views::keys(table.Texts);
        return std::set<std::string>(names.begin(), names.end());
    };
    EXPECT_EQ(keys(en), keys(pt));
}

} // namespace
