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

std::string Read(const fs::path& path)
{
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

std::set<std::string> Matches(const std::string& text, const std::regex& pattern)
{
    std::set<std::string> found;
    for (std::sregex_iterator m(text.begin(), text.end(), pattern), end; m != end; ++m)
        found.insert((*m)[1]);
    return found;
}

TEST(ResourceKeys, BothTablesParseCleanlyWithTheSameKeysAndEveryTextTheCodeAndMarkupAskFor)
{
    std::set<std::string> used;
    for (const char* dir : {"app", "storage", "browser", "library", "downloads", "bridge", "settings", "services"}) {
        if (fs::exists(Source / dir))
            for (auto& entry : fs::recursive_directory_iterator(Source / dir))
                used.merge(Matches(Read(entry.path()), std::regex(R"re(GetString\("([^"]+)"\))re")));
    }
    const auto uids = Matches(Read(Source / "app" / "wMain.xaml"), std::regex(R"re(x:Uid="([^"]+)")re"));
    ASSERT_GT(used.size(), 5u);
    ASSERT_GT(uids.size(), 3u);
    std::set<std::string> firstKeys;
    for (const char* table : {"en-US.po", "pt-BR.po"}) {
        const platform::PoTable po = platform::ParsePo(Read(Source / "resources" / table));
        EXPECT_TRUE(po.Problems.empty()) << table << ::testing::PrintToString(po.Problems);
        for (auto& key : used)
            EXPECT_TRUE(po.Texts.count(key)) << table << " lacks \"" << key << "\"";
        for (auto& uid : uids) {
            auto next = po.Texts.lower_bound(uid + "/");
            EXPECT_TRUE(next != po.Texts.end() && next->first.rfind(uid + "/", 0) == 0)
                << table << " has no text for x:Uid \"" << uid << "\"";
        }
        auto keys = std::views::keys(po.Texts);
        if (firstKeys.empty())
            firstKeys = {keys.begin(), keys.end()};
        else
            EXPECT_EQ(std::set<std::string>(keys.begin(), keys.end()), firstKeys) << table;
    }
}

} // namespace
