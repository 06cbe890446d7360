// The texts of the bridge channel on their own: what the adapter accepts as a
// bridge call, and the literals it writes for the page.
#include <gtest/gtest.h>
#include <webkit/webkit.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/gtk/bridge_channel.h"
#include "platform/gtk/gobject_ptr.h"

namespace {

using gtkui::BridgePromptMarker;
using Texts = std::vector<std::string>;

const std::string Token = "0123456789abcdef0123456789abcdef";

std::string Prompt(const std::string& token, const std::string& payload)
{
    return std::string(BridgePromptMarker) + token + "\x01" + payload;
}

// The payload as the page's script writes it, read back by the engine's parser.
std::optional<Texts> PromptArguments(const std::string& payload)
{
    auto call = gtkui::ParseBridgePrompt(Prompt(Token, payload), Token);
    if (!call || call->Object.empty())
        return std::nullopt;
    return call->Arguments;
}

TEST(BridgeChannel, PromptPayloadsReadAsJsonStringifyWritesThem)
{
    struct Case {
        std::string Arguments; // after ["o","m"
        std::optional<Texts> Expected;
    };
    const Case cases[] = {
        {"", Texts{}},
        {" , \"a\" , \"\" ", Texts{"a", ""}},
        {R"(,"q\"b\\s\/n\nt\tr\rb\bf\f")", Texts{"q\"b\\s/n\nt\tr\rb\bf\f"}},
        {R"(,"\u0000\u0001\u00e9")", Texts{std::string("\0\x01\xC3\xA9", 4)}},
        {",\"ü😀\"", Texts{"ü😀"}},
        {R"(,"\ud83d\ude00")", Texts{"😀"}}, // an escaped surrogate pair
        {",7,null", Texts{"7", ""}},         // not what the script writes, but read by the contract
        {",", std::nullopt},
        {",\"a\nb\"", std::nullopt}, // raw control characters are not JSON
        {R"(,"\x")", std::nullopt},
        {R"(,"\u12g4")", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PromptArguments(R"(["o","m")" + c.Arguments + "]"), c.Expected) << c.Arguments;
    EXPECT_EQ(PromptArguments(R"({"a": "b"})"), std::nullopt);
    EXPECT_EQ(PromptArguments(R"(["o","m"] x)"), std::nullopt);
}

TEST(BridgeChannel, QuotedTextsReadBackAsThemselves)
{
    const std::string texts[] = {"", "plain", "it's \"quoted\" \\ /", std::string("nul\0byte", 8),
                                 "\x01\x1f\x7f", "line\nbreak\r\ttab", "ünï 😀 \u2028\u2029 end", "</script>"};
    for (const auto& text : texts) {
        const std::string quoted = gtkui::JsonQuote(text);
        EXPECT_EQ(PromptArguments(R"(["o","m",)" + quoted + "]"), Texts{text}) << quoted;
        // Fit for script source: no raw line ends of any kind.
        EXPECT_EQ(quoted.find_first_of("\n\r"), std::string::npos) << quoted;
        EXPECT_EQ(quoted.find("\u2028"), std::string::npos) << quoted;
    }
    EXPECT_EQ(gtkui::JsonQuote("a\xff" "b"), "\"a\uFFFDb\"");
}

// Posted values as the engine delivers them, made by a context of our own.
TEST(BridgeChannel, PostedMessagesNeedThisViewsTokenAndCarryTheirArgumentsAsText)
{
    webkit_web_context_get_default(); // the engine first: see bridge_channel.cpp
    auto context = gtkui::Adopt(jsc_context_new());
    auto post = [&](const std::string& script) {
        auto value = gtkui::Adopt(jsc_context_evaluate(context.Get(), script.c_str(), -1));
        return gtkui::ReadBridgeMessage(value.Get(), Token);
    };
    const std::string token = "'" + Token + "'";
    auto call = post("({object: 'o', method: 'm', token: " + token + ", args: ['a\\u0000b', 12.5, null, undefined, 'ü']})");
    ASSERT_TRUE(call);
    EXPECT_EQ(call->Object, "o");
    EXPECT_EQ(call->Method, "m");
    EXPECT_EQ(call->Arguments, (Texts{std::string("a\0b", 3), "12.5", "", "", "ü"}));
    EXPECT_EQ(post("({object: 'o', method: 'm', token: " + token + "})")->Arguments, Texts{});

    const std::string forgeries[] = {"({object: 'o', method: 'm', args: []})", "({object: 'o', token: 'guess'})",
                                     "'not an object'", "[" + token + "]", "null"};
    for (const auto& forged : forgeries)
        EXPECT_FALSE(post(forged)) << forged;
    EXPECT_FALSE(gtkui::ReadBridgeMessage(nullptr, Token));
    auto tokenless = gtkui::Adopt(jsc_context_evaluate(context.Get(), "({object: 'o', token: ''})", -1));
    EXPECT_FALSE(gtkui::ReadBridgeMessage(tokenless.Get(), ""));
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
    for (const std::string broken : {"", "[", "[\"only\"]", "{}"}) {
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
