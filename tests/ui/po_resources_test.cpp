#include "platform/po_resources.h"

#include <gtest/gtest.h>

namespace {

using platform::PoResources;

TEST(PoResources, ReadsTheTextsAsMsgfmtWould)
{
    const std::tuple<const char*, const char*, const char*> cases[] = { // po, key, text (null: missing)
        {"msgid \"wAdress/Text\"\nmsgstr \"Search or enter\"\n", "wAdress/Text", "Search or enter"},
        {R"(msgid "k"
msgstr "a\nb\tc \"q\" back\\slash \101\x42")", "k", "a\nb\tc \"q\" back\\slash AB"},
        {"msgid \"\"\n\"wMessage\"\n\"Box_Yes\"\nmsgstr \"\"\n\"first \"\n  \"second\"\n", "wMessageBox_Yes", "first second"},
        {"# note\n#: app/wMain.xaml:12\n#. extracted\nmsgid \"k\"\nmsgstr \"v\"\n", "k", "v"},
        {"msgid \"k\"\n# between\nmsgstr \"v\"\n", "k", nullptr},
        {"msgid \"k\"\nmsgstr \"Versão — 日本\"\n", "k", "Versão — 日本"},
        {"msgid \"k\"\r\nmsgstr \"v\"\r\n", "k", "v"},
        {"msgid \"\"\nmsgstr \"\"\n\"Language: pt-BR\\n\"\n", "", nullptr}, // the header
        {"msgid \"k\"\nmsgstr \"\"\n", "k", nullptr},                       // untranslated
        {"#, fuzzy\nmsgid \"k\"\nmsgstr \"guess\"\n", "k", nullptr},
        {"#, fuzzy\nmsgid \"a\"\nmsgstr \"1\"\n\nmsgid \"k\"\nmsgstr \"2\"\n", "k", "2"},
        {"#~ msgid \"k\"\n#~ msgstr \"old\"\n", "k", nullptr},
        {"msgid \"k\"\nmsgstr \"first\"\n\nmsgid \"k\"\nmsgstr \"second\"\n", "k", "first"},
        {"msgid \"k\"\nmsgstr \"cut short\n", "k", nullptr},
        {"msgid \"a\"\nmsgstr \"oops\ngarbage here\n\nmsgid \"k\"\nmsgstr \"v\"\n", "k", "v"},
    };
    for (const auto& [po, key, expected] : cases) {
        auto text = PoResources(po).TryGetString(key);
        EXPECT_EQ(text, expected ? std::optional<std::string>(expected) : std::nullopt) << po;
    }
    EXPECT_EQ(PoResources("").GetString("wMessageBox_AlertCloseApp"), "wMessageBox_AlertCloseApp");
}

TEST(PoResources, ReportsProblemsWithTheirLine)
{
    PoResources resources("msgid \"a\"\nmsgstr \"1\"\n\nmsgid \"b\"\nmsgstr \"no end\nmsgstr \"x\"\n\"stray\"\n\n"
                          "msgid \"c\"\nmsgstr \"bad \\q escape\"\n\nmsgid \"a\"\nmsgstr \"2\"\n");
    std::string lines;
    for (const std::string& problem : resources.Problems())
        lines += problem.substr(0, problem.find(':')) + ";";
    EXPECT_EQ(lines, "line 5;line 6;line 10;line 12;") << ::testing::PrintToString(resources.Problems());
    // An unknown escape loses nothing: it is kept as written.
    EXPECT_EQ(resources.GetString("c"), "bad \\q escape");
    EXPECT_EQ(resources.GetString("a"), "1");
}

TEST(ResourceTableFor, PicksTheFirstLanguageWithATable)
{
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"pt_PT.UTF-8", "pt_PT", "pt", "C"}, "pt-BR"}, {{"PT"}, "pt-BR"}, {{"pt-BR"}, "pt-BR"},
        {{"de_DE.UTF-8", "de_DE", "de", "pt", "C"}, "pt-BR"}, {{"en_US", "en", "pt_BR", "pt", "C"}, "en-US"},
        {{"de_DE", "de", "C"}, "en-US"}, {{}, "en-US"}, {{"pt@latin"}, "pt-BR"}, {{"ptx_XX", "C"}, "en-US"},
    };
    for (const auto& [names, expected] : cases)
        EXPECT_EQ(platform::ResourceTableFor(names), expected) << ::testing::PrintToString(names);
}

} // namespace
