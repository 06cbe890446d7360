// The texts of the bridge channel on their own: what the adapter accepts as a
// bridge call, and the literals it writes for the page.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/gtk/bridge_channel.h"

namespace {

using gtkui::BridgePromptMarker;
using Texts = std::vector<std::string>;

const std::string Token = "0123456789abcdef0123456789abcdef";

std::string Prompt(const std::string& token, const std::string& payload)
{
    return std::string(BridgePromptMarker) + token + "\x01" + payload;
}

TEST(BridgeChannel, JsonArraysOfStringsParseAsJsonStringifyWritesThem)
{
    struct Case {
        const char* Json;
        std::optional<Texts> Expected;
    };
    const Case cases[] = {
        {"[]", Texts{}},
        {" [ \"a\" , \"\" ]\n", Texts{"a", ""}},
        {R"(["q\"b\\s\/n\nt\tr\rb\bf\f"])", Texts{"q\"b\\s/n\nt\tr\rb\bf\f"}},
        {R"(["\u0000\u0001\u00e9"])", Texts{std::string("\0\x01\xC3\xA9", 4)}},
        {"[\"ü😀\"]", Texts{"ü😀"}},
        {R"(["\ud83d\ude00"])", Texts{"😀"}},        // an escaped surrogate pair
        {R"(["\ud800x", "\udc00"])", Texts{"\uFFFDx", "\uFFFD"}}, // lone surrogates
        {R"(["\ud800\u0041"])", Texts{"\uFFFDA"}},   // a high surrogate before a non-surrogate
        {"[\"\xff\"]", Texts{"\uFFFD"}},             // invalid UTF-8
        {"", std::nullopt},
        {"[", std::nullopt},
        {"[\"a\"", std::nullopt},
        {"[\"a\",]", std::nullopt},
        {"[\"a\"] x", std::nullopt},
        {"[1]", std::nullopt},
        {"[\"a\nb\"]", std::nullopt},   // raw control characters are not JSON
        {R"(["\x"])", std::nullopt},
        {R"(["\u12"])", std::nullopt},
        {R"(["\u12g4"])", std::nullopt},
        {"{\"a\": \"b\"}", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(gtkui::ParseJsonStrings(c.Json), c.Expected) << c.Json;
}

TEST(BridgeChannel, QuotedTextsReadBackAsThemselves)
{
    const std::string texts[] = {"", "plain", "it's \"quoted\" \\ /", std::string("nul\0byte", 8),
                                 "\x01\x1f\x7f", "line\nbreak\r\ttab", "ünï 😀 \u2028\u2029 end", "</script>"};
    for (const auto& text : texts) {
        const std::string quoted = gtkui::JsonQuote(text);
        EXPECT_EQ(gtkui::ParseJsonStrings("[" + quoted + "]"), Texts{text}) << quoted;
        // Fit for script source: no raw line ends of any kind.
        EXPECT_EQ(quoted.find_first_of("\n\r"), std::string::npos) << quoted;
        EXPECT_EQ(quoted.find("\u2028"), std::string::npos) << quoted;
    }
    EXPECT_EQ(gtkui::JsonQuote("a\xff" "b"), "\"a\uFFFDb\"");
}

TEST(BridgeChannel, OnlyPromptsWithTheMarkerAndThisViewsTokenAreBridgeCalls)
{
    const std::string payload = R"(["wScriptNotify","wConfirm","Sure?",""])";
    struct Case {
        std::string Message;
        bool IsCall;
    };
    const Case cases[] = {
        {Prompt(Token, payload), true},
        {Prompt("fedcba9876543210fedcba9876543210", payload), false},
        {Prompt("", payload), false},
        {Prompt(Token.substr(0, 31), payload), false},
        {Prompt(Token + "0", payload), false},
        {std::string(BridgePromptMarker) + Token + payload, false}, // no separator
        {Token + "\x01" + payload, false},                          // no marker
        {"What is your name?", false},
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(gtkui::ParseBridgePrompt(c.Message, Token).has_value(), c.IsCall) << c.Message;

    auto call = gtkui::ParseBridgePrompt(Prompt(Token, payload), Token);
    ASSERT_TRUE(call);
    EXPECT_EQ(call->Object, "wScriptNotify");
    EXPECT_EQ(call->Method, "wConfirm");
    EXPECT_EQ(call->Arguments, (Texts{"Sure?", ""}));

    // A view without a token accepts nothing, not even an empty token.
    EXPECT_FALSE(gtkui::ParseBridgePrompt(Prompt("", payload), ""));

    // Ours, but unreadable: a call to nobody, answered rather than shown.
    for (const std::string broken : {"", "[", "[\"only\"]", "[1,2]"}) {
        auto unreadable = gtkui::ParseBridgePrompt(Prompt(Token, broken), Token);
        ASSERT_TRUE(unreadable) << broken;
        EXPECT_EQ(unreadable->Object, "") << broken;
    }
}

TEST(BridgeChannel, RepliesAreJsonValuesAndTokensAreFresh)
{
    EXPECT_EQ(gtkui::EncodeBridgeReply(std::nullopt), "null");
    EXPECT_EQ(gtkui::EncodeBridgeReply(std::string("true")), "\"true\"");
    EXPECT_EQ(gtkui::EncodeBridgeReply(std::string("")), "\"\"");

    const std::string first = gtkui::NewBridgeToken();
    EXPECT_EQ(first.size(), 32u);
    EXPECT_EQ(first.find_first_not_of("0123456789abcdef"), std::string::npos);
    EXPECT_NE(gtkui::NewBridgeToken(), first);
}

TEST(BridgeChannel, ScriptDefinesTheSevenMethodsOnTheirChannels)
{
    EXPECT_TRUE(gtkui::IsAwaitedBridgeMethod("wConfirm"));
    EXPECT_TRUE(gtkui::IsAwaitedBridgeMethod("wConfirmClicked"));
    EXPECT_TRUE(gtkui::IsAwaitedBridgeMethod("wConfirmSelected"));
    for (const char* posted : {"wContextMenu", "wAlert", "wMousePosX", "wMousePosY", "other"})
        EXPECT_FALSE(gtkui::IsAwaitedBridgeMethod(posted)) << posted;

    // A name is written as a literal, never as script.
    const std::string script = gtkui::BridgeScript("x\"); alert(1); (\"", "handler", Token);
    EXPECT_NE(script.find(R"("x\"); alert(1); (\"")"), std::string::npos);
}

} // namespace
