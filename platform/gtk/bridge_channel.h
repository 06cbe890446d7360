#pragma once
// The page side of a web-allowed object and the texts that cross between the
// page and the adapter.
//
// A document-start script defines the object as a global. Methods whose
// result the page does not wait for post {object, method, args, token} to the
// bridge's script message handler; the adapter reads that value as the engine
// delivers it. Methods the page waits for call the page's original prompt()
// with
//     BridgePromptMarker + token + "\x01" + ["object", "method", "arg0", …]
// (a JSON array of strings, read by the engine's own JSON parser); the adapter
// answers with the result as a JSON value: a string, or null for no result.
// Arguments are texts: strings as they are, numbers in decimal, undefined and
// null as "", anything else as String() gives it; a lone UTF-16 surrogate
// becomes U+FFFD. Results "true" and "false" reach the page as booleans.
//
// The token is a secret of one view, written only into that view's script:
// a page that calls prompt() or posts to the handler itself cannot make a call.
#include <jsc/jsc.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gtkui {

inline constexpr std::string_view BridgePromptMarker = "\x01tolvane-bridge\x01";

struct BridgeCall {
    std::string Object;
    std::string Method;
    std::vector<std::string> Arguments;
};

// A fresh secret for one view: 32 hex digits from the system's random source.
std::string NewBridgeToken();

// The document-start script that defines `objectName` in the page, posting
// to the message handler `handlerName`.
std::string BridgeScript(const std::string& objectName, const std::string& handlerName, const std::string& token);

// Whether a page waits for the method's result (it then goes through prompt()).
bool IsAwaitedBridgeMethod(std::string_view method);

// nullopt when the prompt text is not a bridge call of this token (the page's
// own prompt). A bridge call whose payload does not parse has no Object.
std::optional<BridgeCall> ParseBridgePrompt(std::string_view message, std::string_view token);

// The call a posted message makes; nullopt unless it is an object that
// carries this token (the page may post anything to the handler).
std::optional<BridgeCall> ReadBridgeMessage(JSCValue* message, std::string_view token);

// A value as an argument text: undefined and null as "", anything else as
// String() gives it, NULs included.
std::string ArgumentText(JSCValue* value);

// What the adapter writes into the prompt for a method's result.
std::string EncodeBridgeReply(const std::optional<std::string>& result);

// A JSON (and JavaScript) string literal of UTF-8 text; invalid bytes become
// U+FFFD, and U+2028/U+2029 are escaped so the literal fits in script source.
std::string JsonQuote(std::string_view text);

} // namespace gtkui
