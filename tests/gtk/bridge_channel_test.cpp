// The texts of the bridge channel on their own: which prompts are bridge
// calls of this view, and the literals the adapter writes for the page. How
// the engine delivers values is checked with real pages (web_view_bridge_test).
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/gtk/bridge_channel.h"

namespace {

using Texts = std::vector<std::string>;
const std::string Token = "0123456789abcdef0123456789abcdef";

std::string Prompt(const std::string& token, const std::string& payload)
{
    return std::string(gtkui::BridgePromptMarker) + token + "\x01" + payload;
}

TEST(BridgeChannel, OnlyPromptsWithTheMarkerAndThisViewsTokenAreBridgeCalls)
{
    const std::string payload = R"(["wScriptNotify","wConfirm","Sure?",""])";
    const std::pair<std::string, bool> cases[] = {
        {Prompt(Token, payload), true},
        {Prompt("fedcba9876543210fedcba9876543210", payload), false},
        {Prompt("", payload), false},
        {Prompt(Token.substr(0, 31), payload), false},
        {Prompt(Token + "0", payload), false},
        {std::string(gtkui::BridgePromptMarker) + Token + payload, false}, // no separator
        {Token + "\x01" + payload, false},                                 // no marker
        {"What is your name?", false},
    };
    for (const auto& [message, isCall] : cases)
        EXPECT_EQ(gtkui::ParseBridgePrompt(message, Token).has_value(), isCall) << message;
    // A view without a token accepts nothing, not even an empty token.
    EXPECT_FALSE(gtkui::ParseBridgePrompt(Prompt("", payload), ""));

    auto call = gtkui::ParseBridgePrompt(Prompt(Token, payload), Token);
    ASSERT_TRUE(call);
    EXPECT_EQ((Texts{call->Object, call->Method}), (Texts{"wScriptNotify", "wConfirm"}));
    EXPECT_EQ(call->Arguments, (Texts{"Sure?", ""}));
    // Ours, but unreadable: a call to nobody, answered rather than shown.
    for (const std::string broken : {"", "[", "[\"only\"]", "{}", "[\"a\nb\", \"m\"]"}) {
        auto unreadable = gtkui::ParseBridgePrompt(Prompt(Token, broken), Token);
        ASSERT_TRUE(unreadable) << broken;
        EXPECT_EQ(unreadable->Object, "") << broken;
    }
}

TEST(BridgeChannel, QuotedTextsReadBackAsThemselvesAndFitInScriptSource)
{
    const std::string texts[] = {"", "it's \"quoted\" \\ /", std::string("nul\0byte", 8), "\x01\x1f\x7f",
                                 "line\nbreak\r\ttab", "ünï 😀 \u2028\u2029 end", "</script>"};
    for (const auto& text : texts) {
        const std::string quoted = gtkui::JsonQuote(text);
        auto call = gtkui::ParseBridgePrompt(Prompt(Token, "[\"o\",\"m\"," + quoted + "]"), Token);
        ASSERT_TRUE(call);
        EXPECT_EQ(call->Arguments, Texts{text}) << quoted;
        EXPECT_EQ(quoted.find_first_of("\n\r"), std::string::npos) << quoted;
        EXPECT_EQ(quoted.find("\u2028"), std::string::npos) << quoted;
    }
    EXPECT_EQ(gtkui::JsonQuote("a\xff" "b"), "\"a\uFFFDb\"");
    EXPECT_EQ(gtkui::EncodeBridgeReply(std::nullopt), "null");
    EXPECT_EQ(gtkui::EncodeBridgeReply(std::string("true")), "\"true\"");
    // A name is written as a literal, never as script.
    const std::string script = gtkui::BridgeScript("x\"); alert(1); (\"", "handler", Token);
    EXPECT_NE(script.find(R"("x\"); alert(1); (\"")"), std::string::npos);
}

TEST(BridgeChannel, TokensAreFreshAndOnlyTheConfirmMethodsAreAwaited)
{
    const std::string first = gtkui::NewBridgeToken();
    EXPECT_EQ(first.size(), 32u);
    EXPECT_EQ(first.find_first_not_of("0123456789abcdef"), std::string::npos);
    EXPECT_NE(gtkui::NewBridgeToken(), first);
    for (const char* awaited : {"wConfirm", "wConfirmClicked", "wConfirmSelected"})
        EXPECT_TRUE(gtkui::IsAwaitedBridgeMethod(awaited)) << awaited;
    for (const char* posted : {"wContextMenu", "wAlert", "wMousePosX", "wMousePosY", "other"})
        EXPECT_FALSE(gtkui::IsAwaitedBridgeMethod(posted)) << posted;
}

} // namespace
