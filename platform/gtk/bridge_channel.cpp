#include "platform/gtk/bridge_channel.h"

#include <glib.h>

#include <array>
#include <cstdint>
#include <random>

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
  function texts(values) {
    var list = [];
    for (var i = 0; i < values.length; i++) {
      var value = values[i];
      list[i] = value === undefined || value === null ? '' : toText(value);
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

// GLib takes a NUL for the end of the text; page text may hold one
// ("\u0000"), so each piece between NULs is checked on its own.
std::string ValidUtf8(std::string_view text)
{
    std::string valid;
    for (size_t start = 0;;) {
        const size_t nul = text.find('\0', start);
        const std::string_view piece = text.substr(start, nul == std::string_view::npos ? nul : nul - start);
        if (g_utf8_validate(piece.data(), static_cast<gssize>(piece.size()), nullptr)) {
            valid.append(piece);
        } else {
            char* made = g_utf8_make_valid(piece.data(), static_cast<gssize>(piece.size()));
            valid += made;
            g_free(made);
        }
        if (nul == std::string_view::npos)
            return valid;
        valid.push_back('\0');
        start = nul + 1;
    }
}

void AppendUtf8(std::string& out, gunichar c)
{
    char buffer[6];
    out.append(buffer, static_cast<size_t>(g_unichar_to_utf8(c, buffer)));
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A cursor over JSON text, with what an array of strings needs.
class JsonReader {
public:
    explicit JsonReader(std::string_view json) : m_json(json) {}

    void SkipSpace()
    {
        while (m_at < m_json.size()
               && (m_json[m_at] == ' ' || m_json[m_at] == '\t' || m_json[m_at] == '\n' || m_json[m_at] == '\r'))
            ++m_at;
    }
    bool Take(char c)
    {
        SkipSpace();
        if (m_at < m_json.size() && m_json[m_at] == c) {
            ++m_at;
            return true;
        }
        return false;
    }
    bool AtEnd()
    {
        SkipSpace();
        return m_at == m_json.size();
    }

    std::optional<std::string> String()
    {
        if (!Take('"'))
            return std::nullopt;
        std::string text;
        while (m_at < m_json.size()) {
            const char c = m_json[m_at++];
            if (c == '"')
                return ValidUtf8(text);
            if (static_cast<unsigned char>(c) < 0x20)
                return std::nullopt;
            if (c != '\\') {
                text.push_back(c);
                continue;
            }
            if (m_at >= m_json.size())
                return std::nullopt;
            switch (m_json[m_at++]) {
            case '"': text.push_back('"'); break;
            case '\\': text.push_back('\\'); break;
            case '/': text.push_back('/'); break;
            case 'b': text.push_back('\b'); break;
            case 'f': text.push_back('\f'); break;
            case 'n': text.push_back('\n'); break;
            case 'r': text.push_back('\r'); break;
            case 't': text.push_back('\t'); break;
            case 'u': {
                auto unit = CodeUnit();
                if (!unit)
                    return std::nullopt;
                AppendUtf8(text, CodePoint(*unit));
                break;
            }
            default:
                return std::nullopt;
            }
        }
        return std::nullopt;
    }

private:
    // The four hex digits after "\u".
    std::optional<uint32_t> CodeUnit()
    {
        if (m_json.size() - m_at < 4)
            return std::nullopt;
        uint32_t unit = 0;
        for (int i = 0; i < 4; ++i) {
            const int digit = HexDigit(m_json[m_at + i]);
            if (digit < 0)
                return std::nullopt;
            unit = unit * 16 + static_cast<uint32_t>(digit);
        }
        m_at += 4;
        return unit;
    }

    // A UTF-16 unit, joined with the low surrogate that follows a high one.
    gunichar CodePoint(uint32_t unit)
    {
        if (unit >= 0xDC00 && unit <= 0xDFFF)
            return 0xFFFD;
        if (unit < 0xD800 || unit > 0xDBFF)
            return unit;
        if (m_json.substr(m_at, 2) == "\\u") {
            const size_t before = m_at;
            m_at += 2;
            auto low = CodeUnit();
            if (low && *low >= 0xDC00 && *low <= 0xDFFF)
                return 0x10000 + ((unit - 0xD800) << 10) + (*low - 0xDC00);
            m_at = before;
        }
        return 0xFFFD;
    }

    std::string_view m_json;
    size_t m_at = 0;
};

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
    auto texts = ParseJsonStrings(message);
    if (!texts || texts->size() < 2)
        return call;
    call.Object = std::move((*texts)[0]);
    call.Method = std::move((*texts)[1]);
    call.Arguments.assign(std::make_move_iterator(texts->begin() + 2), std::make_move_iterator(texts->end()));
    return call;
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

std::optional<std::vector<std::string>> ParseJsonStrings(std::string_view json)
{
    JsonReader reader(json);
    if (!reader.Take('['))
        return std::nullopt;
    std::vector<std::string> texts;
    if (!reader.Take(']')) {
        do {
            auto text = reader.String();
            if (!text)
                return std::nullopt;
            texts.push_back(std::move(*text));
        } while (reader.Take(','));
        if (!reader.Take(']'))
            return std::nullopt;
    }
    if (!reader.AtEnd())
        return std::nullopt;
    return texts;
}

} // namespace gtkui
