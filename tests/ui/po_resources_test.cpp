#include "platform/po_resources.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using platform::ParsePo;
using platform::PoResources;

struct EntryCase {
    const char* name;
    const char* po;
    const char* key;
    const char* expected;  // nullptr: the key must be missing
};

const EntryCase kEntryCases[] = {
    {"plain", "msgid \"wAdress/Text\"\nmsgstr \"Search or enter an address\"\n", "wAdress/Text",
     "Search or enter an address"},
    {"escapes", R"(msgid "k"
msgstr "a\nb\tc \"q\" back\\slash")", "k", "a\nb\tc \"q\" back\\slash"},
    {"octal and hex escapes", R"(msgid "k"
msgstr "\101\x42")", "k", "AB"},
    {"continuation lines", "msgid \"\"\n\"wMessage\"\n\"Box_Yes\"\nmsgstr \"\"\n\"first \"\n  \"second\"\n",
     "wMessageBox_Yes", "first second"},
    {"comments around entries", "# translator note\n#: app/wMain.xaml:12\nmsgid \"k\"\n# between\nmsgstr \"v\"\n",
     "k", nullptr},
    {"comments before the entry", "# translator note\n#: app/wMain.xaml:12\n#. extracted\nmsgid \"k\"\nmsgstr \"v\"\n",
     "k", "v"},
    {"utf-8 passes through", "msgid \"k\"\nmsgstr \"Versão — 日本\"\n", "k", "Versão — 日本"},
    {"crlf line ends", "msgid \"k\"\r\nmsgstr \"v\"\r\n", "k", "v"},
    {"no blank line between entries", "msgid \"a\"\nmsgstr \"1\"\nmsgid \"k\"\nmsgstr \"2\"\n", "k", "2"},
    {"missing key", "msgid \"a\"\nmsgstr \"1\"\n", "wMessageBox_No", nullptr},
    {"untranslated entry", "msgid \"k\"\nmsgstr \"\"\n", "k", nullptr},
    {"fuzzy entry", "#, fuzzy\nmsgid \"k\"\nmsgstr \"guess\"\n", "k", nullptr},
    {"fuzzy flag does not leak to the next entry", "#, fuzzy\nmsgid \"a\"\nmsgstr \"1\"\n\nmsgid \"k\"\nmsgstr \"2\"\n",
     "k", "2"},
    {"obsolete entry", "#~ msgid \"k\"\n#~ msgstr \"old\"\n", "k", nullptr},
    {"plural takes the singular", "msgid \"k\"\nmsgid_plural \"ks\"\nmsgstr[0] \"one\"\nmsgstr[1] \"many\"\n", "k",
     "one"},
    {"context is not part of the key", "msgctxt \"menu\"\nmsgid \"k\"\nmsgstr \"v\"\n", "k", "v"},
    {"first duplicate wins", "msgid \"k\"\nmsgstr \"first\"\n\nmsgid \"k\"\nmsgstr \"second\"\n", "k", "first"},
    {"unterminated string drops the entry", "msgid \"k\"\nmsgstr \"cut short\n", "k", nullptr},
    {"bad entry does not take the next one", "msgid \"a\"\nmsgstr \"oops\ngarbage here\n\nmsgid \"k\"\nmsgstr \"v\"\n",
     "k", "v"},
};

class PoEntryTest : public ::testing::TestWithParam<EntryCase> {};

TEST_P(PoEntryTest, ReadsTheText)
{
    const auto& c = GetParam();
    PoResources resources(c.po);
    auto text = resources.TryGetString(c.key);
    if (c.expected) {
        ASSERT_TRUE(text.has_value()) << c.name;
        EXPECT_EQ(*text, c.expected) << c.name;
    } else {
        EXPECT_FALSE(text.has_value()) << c.name << ": got \"" << text.value_or("") << "\"";
    }
}

INSTANTIATE_TEST_SUITE_P(Po, PoEntryTest, ::testing::ValuesIn(kEntryCases));

TEST(PoResources, HeaderIsNotAnEntry)
{
    auto table = ParsePo("msgid \"\"\nmsgstr \"\"\n\"Language: pt-BR\\n\"\n\"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
                         "msgid \"k\"\nmsgstr \"v\"\n");
    EXPECT_EQ(table.Texts.size(), 1u);
    EXPECT_EQ(table.Texts.count(""), 0u);
    EXPECT_TRUE(table.Problems.empty());
}

TEST(PoResources, MissingKeyShowsTheKey)
{
    PoResources resources("msgid \"a\"\nmsgstr \"1\"\n");
    EXPECT_EQ(resources.GetString("wMessageBox_AlertCloseApp"), "wMessageBox_AlertCloseApp");
}

TEST(PoResources, ReportsProblemsWithTheirLine)
{
    PoResources resources("msgid \"a\"\nmsgstr \"1\"\n\nmsgid \"b\"\nmsgstr \"no end\nmsgstr \"x\"\n\"stray\"\n\n"
                          "msgid \"c\"\nmsgstr \"bad \\q escape\"\n\nmsgid \"a\"\nmsgstr \"2\"\n");
    const auto& problems = resources.Problems();
    ASSERT_EQ(problems.size(), 4u) << ::testing::PrintToString(problems);
    EXPECT_EQ(problems[0], "line 5: unterminated string");
    EXPECT_NE(problems[1].find("line 6"), std::string::npos);
    EXPECT_NE(problems[2].find("line 10: unknown escape \\q"), std::string::npos);
    EXPECT_NE(problems[3].find("line 12"), std::string::npos);
    // An unknown escape loses nothing: it is kept as written.
    EXPECT_EQ(resources.GetString("c"), "bad \\q escape");
    EXPECT_EQ(resources.GetString("a"), "1");
}

TEST(PoResources, BundledTablesParseCleanly)
{
    // The real tables: every entry must load; a typo would leave a key showing.
    for (const char* name : {"en-US", "pt-BR"}) {
        std::string path = std::string(TOLVANE_SOURCE_DIR) + "/resources/" + name + ".po";
        FILE* file = std::fopen(path.c_str(), "rb");
        if (!file)
            GTEST_SKIP() << path << " not written yet";
        std::string text;
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            text.append(buffer, n);
        std::fclose(file);
        PoResources resources(text);
        EXPECT_TRUE(resources.Problems().empty()) << name << ": " << ::testing::PrintToString(resources.Problems());
        EXPECT_TRUE(resources.TryGetString("wMessageBox_Yes").has_value()) << name;
    }
}

struct LocaleCase {
    std::vector<std::string> names;
    const char* expected;
};

TEST(ResourceTableFor, PicksTheFirstLanguageWithATable)
{
    const LocaleCase cases[] = {
        {{"pt_BR.UTF-8", "pt_BR", "pt", "C"}, "pt-BR"},
        {{"pt_PT.UTF-8", "pt_PT", "pt", "C"}, "pt-BR"},
        {{"PT"}, "pt-BR"},
        {{"pt-BR"}, "pt-BR"},
        {{"en_GB.UTF-8", "en_GB", "en", "C"}, "en-US"},
        {{"de_DE.UTF-8", "de_DE", "de", "pt", "C"}, "pt-BR"},
        {{"en_US", "en", "pt_BR", "pt", "C"}, "en-US"},
        {{"de_DE", "de", "C"}, "en-US"},
        {{"C"}, "en-US"},
        {{"POSIX"}, "en-US"},
        {{}, "en-US"},
        {{"pt@latin"}, "pt-BR"},
        {{"ptx_XX", "C"}, "en-US"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::ResourceTableFor(c.names), c.expected) << ::testing::PrintToString(c.names);
}

} // namespace
