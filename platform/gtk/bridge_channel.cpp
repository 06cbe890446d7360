#include "platform/gtk/bridge_channel.h"

#include <glib.h>
#include <webkit/webkit.h>

#include <algorithm>
#include <array>
#include <memory>
#include <random>

#include "platform/gtk/glib_text.h"
#include "platform/gtk/gobject_ptr.h"

namespace gtkui {
namespace {

struct BridgeMethod {
    const char* Name;
    bool Awaited;
};

// The methods of wScriptNotify, in the order of the object's interface.
constexpr std::array<BridgeMethod, 7> BridgeMethods = {{
    {"wContextMenu", false},
    {"wAlert", false},
    {"wConfirm", true}, // answered only once the user has answered
    {"wMousePosX", false},
    {"wMousePosY", false},
    {"wConfirmClicked", true},
    {"wConfirmSelected", true},
}};

// Everything the script calls is taken at document start, before any page
// script runs, so a page that later replaces prompt(), JSON or String cannot
// see the token or bend the channel. The token lives only in this closure.
// The script's first lines are written around the four quoted values.
constexpr const char* ScriptBody = R"JS(
  var handlers = window.webkit && window.webkit.messageHandlers;
  var handler = handlers && handlers[handlerName];
  if (!handler)
    return;
  var post = handler.postMessage.bind(handler);
  var ask = window.prompt.bind(window);
  var quote = JSON.stringify, parse = JSON.parse, toText = String;
  // A lone surrogate has no UTF-8 form: the engine would hand the adapter an
  // empty text for it.
  var wellFormed = Function.prototype.call.bind(String.prototype.toWellFormed);
  function texts(values) {
    var list = [];
    for (var i = 0; i < values.length; i++) {
      var value = values[i];
      list[i] = value === undefined || value === null ? '' : wellFormed(toText(value));
    }
    return list;
  }
  function notify(method, values) {
    post({object: name, method: method, args: texts(values), token: token});
  }
  function wait(method, values) {
    var list = texts(values);
    var payload = '[' + quote(name) + ',' + quote(method);
    for (var i = 0; i < list.length; i++)
      payload += ',' + quote(list[i]);
    var answer = ask(marker + token + '\x01' + payload + ']');
    if (typeof answer !== 'string' || answer === '')
      return undefined;
    var value;
    try {
      value = parse(answer);
    } catch (e) {
      return undefined;
    }
    if (value === 'true')
      return true;
    if (value === 'false')
      return false;
    return value === null ? undefined : value;
  }
  var object = {};
)JS";

constexpr const char* ScriptTail = R"JS(  Object.defineProperty(window, name, {value: Object.freeze(object)});
})();
)JS";

struct GBytesUnref {
    void operator()(GBytes* bytes) const { g_bytes_unref(bytes); }
};

// The engine's JSON parser, for the prompt's payload: a context of the
// user-interface process, made on first use and kept for the process's life.
// The engine must set up its user-interface process first: a script context
// made before that leaves every later web view unable to finish a load.
JSCContext* JsonContext()
{
    static JSCContext* const context = [] {
        webkit_web_context_get_default();
        return jsc_context_new();
    }();
    return context;
}

std::string PropertyText(JSCValue* object, const char* name)
{
    GObjectPtr<JSCValue> property(jsc_value_object_get_property(object, name));
    return ArgumentText(property.Get());
}

std::vector<std::string> ArrayTexts(JSCValue* array)
{
    std::vector<std::string> texts;
    if (!array || !jsc_value_is_array(array))
        return texts;
    GObjectPtr<JSCValue> length(jsc_value_object_get_property(array, "length"));
    const guint count = length ? static_cast<guint>(std::max(0, jsc_value_to_int32(length.Get()))) : 0;
    texts.reserve(count);
    for (guint i = 0; i < count; ++i) {
        GObjectPtr<JSCValue> item(jsc_value_object_get_property_at_index(array, i));
        texts.push_back(ArgumentText(item.Get()));
    }
    return texts;
}

} // namespace

std::string NewBridgeToken()
{
    std::random_device source;
    std::string token;
    for (int i = 0; i < 4; ++i) {
        char digits[9];
        g_snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(source()));
        token += digits;
    }
    return token;
}

bool IsAwaitedBridgeMethod(std::string_view method)
{
    for (const auto& known : BridgeMethods)
        if (method == known.Name)
            return known.Awaited;
    return false;
}

std::string BridgeScript(const std::string& objectName, const std::string& handlerName, const std::string& token)
{
    std::string script = "(function () {\n  var name = " + JsonQuote(objectName) + ", token = " + JsonQuote(token)
        + ", marker = " + JsonQuote(BridgePromptMarker) + ", handlerName = " + JsonQuote(handlerName) + ";"
        + ScriptBody;
    for (const auto& method : BridgeMethods) {
        const std::string quoted = JsonQuote(method.Name);
        script += "  object[" + quoted + "] = function () { return " + (method.Awaited ? "wait(" : "notify(") + quoted
            + ", arguments); };\n";
    }
    return script + ScriptTail;
}

std::optional<BridgeCall> ParseBridgePrompt(std::string_view message, std::string_view token)
{
    if (token.empty() || message.substr(0, BridgePromptMarker.size()) != BridgePromptMarker)
        return std::nullopt;
    message.remove_prefix(BridgePromptMarker.size());
    if (message.substr(0, token.size()) != token || message.substr(token.size(), 1) != "\x01")
        return std::nullopt;
    message.remove_prefix(token.size() + 1);

    BridgeCall call;
    JSCContext* context = JsonContext();
    GObjectPtr<JSCValue> payload(jsc_value_new_from_json(context, std::string(message).c_str()));
    // A payload that does not parse leaves an exception behind: the next parse
    // must not see it.
    jsc_context_clear_exception(context);
    if (!payload || !jsc_value_is_array(payload.Get()))
        return call;
    std::vector<std::string> texts = ArrayTexts(payload.Get());
    if (texts.size() < 2)
        return call;
    call.Object = std::move(texts[0]);
    call.Method = std::move(texts[1]);
    call.Arguments.assign(std::make_move_iterator(texts.begin() + 2), std::make_move_iterator(texts.end()));
    return call;
}

std::optional<BridgeCall> ReadBridgeMessage(JSCValue* message, std::string_view token)
{
    if (token.empty() || !message || !jsc_value_is_object(message))
        return std::nullopt;
    if (PropertyText(message, "token") != token)
        return std::nullopt;
    BridgeCall call{PropertyText(message, "object"), PropertyText(message, "method"), {}};
    GObjectPtr<JSCValue> args(jsc_value_object_get_property(message, "args"));
    call.Arguments = ArrayTexts(args.Get());
    return call;
}

std::string ArgumentText(JSCValue* value)
{
    if (!value || jsc_value_is_undefined(value) || jsc_value_is_null(value))
        return {};
    // As bytes, so a NUL in the text does not end it. The engine writes valid
    // UTF-8 (a lone surrogate would make the whole text empty: the page's
    // script makes its texts well formed first).
    std::unique_ptr<GBytes, GBytesUnref> bytes(jsc_value_to_string_as_bytes(value));
    gsize size = 0;
    const auto* data = static_cast<const char*>(bytes ? g_bytes_get_data(bytes.get(), &size) : nullptr);
    return data ? std::string(data, size) : std::string();
}

std::string EncodeBridgeReply(const std::optional<std::string>& result)
{
    return result ? JsonQuote(*result) : std::string("null");
}

std::string JsonQuote(std::string_view text)
{
    const std::string valid = ValidUtf8(text);
    std::string quoted = "\"";
    for (size_t i = 0; i < valid.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(valid[i]);
        switch (c) {
        case '"': quoted += "\\\""; break;
        case '\\': quoted += "\\\\"; break;
        case '\n': quoted += "\\n"; break;
        case '\r': quoted += "\\r"; break;
        case '\t': quoted += "\\t"; break;
        default:
            if (c < 0x20) {
                char escaped[8];
                g_snprintf(escaped, sizeof escaped, "\\u%04x", c);
                quoted += escaped;
            } else if (c == 0xE2 && i + 2 < valid.size() && static_cast<unsigned char>(valid[i + 1]) == 0x80
                       && (static_cast<unsigned char>(valid[i + 2]) == 0xA8
                           || static_cast<unsigned char>(valid[i + 2]) == 0xA9)) {
                // U+2028 and U+2029 end a line in older script parsers.
                quoted += static_cast<unsigned char>(valid[i + 2]) == 0xA8 ? "\\u2028" : "\\u2029";
                i += 2;
            } else {
                quoted.push_back(static_cast<char>(c));
            }
        }
    }
    return quoted + "\"";
}

} // namespace gtkui
