#include "platform/po_resources.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace platform {

namespace {

std::string_view TrimStart(std::string_view s)
{
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    return s.substr(i);
}

bool IsOctal(char c) { return c >= '0' && c <= '7'; }

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Decodes one escape after the backslash at text[i]; advances i past it.
// Returns false for an escape C does not know (the text is then kept as written).
bool DecodeEscape(std::string_view text, size_t& i, std::string& out)
{
    char c = text[i + 1];
    switch (c) {
    case 'n': out += '\n'; i += 2; return true;
    case 't': out += '\t'; i += 2; return true;
    case 'r': out += '\r'; i += 2; return true;
    case 'a': out += '\a'; i += 2; return true;
    case 'b': out += '\b'; i += 2; return true;
    case 'f': out += '\f'; i += 2; return true;
    case 'v': out += '\v'; i += 2; return true;
    case '"': case '\\': case '\'': case '?': out += c; i += 2; return true;
    default: break;
    }
    if (IsOctal(c)) {
        int value = 0;
        size_t j = i + 1;
        for (int n = 0; n < 3 && j < text.size() && IsOctal(text[j]); ++n, ++j)
            value = value * 8 + (text[j] - '0');
        out += static_cast<char>(value & 0xFF);
        i = j;
        return true;
    }
    if (c == 'x' && i + 2 < text.size() && HexValue(text[i + 2]) >= 0) {
        int value = 0;
        size_t j = i + 2;
        for (int n = 0; n < 2 && j < text.size() && HexValue(text[j]) >= 0; ++n, ++j)
            value = value * 16 + HexValue(text[j]);
        out += static_cast<char>(value);
        i = j;
        return true;
    }
    out += '\\';
    out += c;
    i += 2;
    return false;
}

// One quoted string: `"..."` with nothing but blanks after it.
struct Quoted {
    std::string Text;
    std::string Error; // empty when the string is well formed
};

Quoted ParseQuoted(std::string_view s)
{
    Quoted result;
    s = TrimStart(s);
    if (s.empty() || s.front() != '"') {
        result.Error = "expected a quoted string";
        return result;
    }
    size_t i = 1;
    while (i < s.size() && s[i] != '"') {
        if (s[i] == '\\' && i + 1 < s.size()) {
            if (!DecodeEscape(s, i, result.Text))
                result.Error = "unknown escape \\" + std::string(1, s[i - 1]) + " (kept as written)";
            continue;
        }
        result.Text += s[i++];
    }
    if (i >= s.size()) {
        result.Error = "unterminated string";
        return result;
    }
    auto rest = TrimStart(s.substr(i + 1));
    if (!rest.empty() && rest.front() != '#')
        result.Error = "text after the closing quote";
    return result;
}

enum class Field { None, Context, Id, IdPlural, Str, Ignored };

struct Entry {
    std::string Id;
    std::string Str;
    bool HasId = false;
    bool HasStr = false;
    bool Fuzzy = false;
    bool Broken = false;
    int Line = 0;
    bool Started() const { return HasId || HasStr; }
};

class PoParser {
public:
    PoTable Parse(std::string_view text)
    {
        if (text.substr(0, 3) == "\xEF\xBB\xBF")
            text.remove_prefix(3);
        int lineNumber = 0;
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string_view::npos)
                end = text.size();
            auto line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            ParseLine(TrimStart(line), ++lineNumber);
            start = end + 1;
        }
        Flush();
        return std::move(m_table);
    }

private:
    void Problem(int line, const std::string& message)
    {
        m_table.Problems.push_back("line " + std::to_string(line) + ": " + message);
    }

    static bool StartsWithKeyword(std::string_view line, std::string_view keyword)
    {
        if (line.substr(0, keyword.size()) != keyword)
            return false;
        return line.size() == keyword.size() || line[keyword.size()] == ' ' || line[keyword.size()] == '\t' ||
               line[keyword.size()] == '"';
    }

    void ParseLine(std::string_view line, int lineNumber)
    {
        if (line.empty()) {
            Flush();
            return;
        }
        if (line.front() == '#') {
            if (m_entry.Started())
                Flush();
            if (line.substr(0, 2) == "#," && line.find("fuzzy") != std::string_view::npos)
                m_entry.Fuzzy = true;
            return;
        }
        if (line.front() == '"') {
            Append(line, lineNumber);
            return;
        }
        if (StartsWithKeyword(line, "msgctxt")) {
            if (m_entry.Started())
                Flush();
            Begin(Field::Context, line.substr(7), lineNumber);
        } else if (StartsWithKeyword(line, "msgid")) {
            if (m_entry.Started())
                Flush();
            m_entry.HasId = true;
            m_entry.Line = lineNumber;
            Begin(Field::Id, line.substr(5), lineNumber);
        } else if (StartsWithKeyword(line, "msgid_plural")) {
            Begin(Field::IdPlural, line.substr(12), lineNumber);
        } else if (StartsWithKeyword(line, "msgstr")) {
            BeginStr(Field::Str, line.substr(6), lineNumber);
        } else if (line.substr(0, 7) == "msgstr[") {
            // Plural forms: the singular text stands for all of them.
            auto close = line.find(']');
            bool first = close != std::string_view::npos && line.substr(7, close - 7) == "0";
            BeginStr(first ? Field::Str : Field::Ignored,
                     close == std::string_view::npos ? std::string_view{} : line.substr(close + 1), lineNumber);
        } else {
            Problem(lineNumber, "unexpected text \"" + std::string(line.substr(0, 40)) + "\"");
            m_entry.Broken = m_entry.Started();
            m_field = Field::None;
        }
    }

    void BeginStr(Field field, std::string_view rest, int lineNumber)
    {
        if (!m_entry.HasId) {
            Problem(lineNumber, "msgstr without a msgid");
            m_entry.Broken = true;
        }
        if (field == Field::Str) {
            if (m_entry.HasStr)
                Problem(lineNumber, "a second msgstr for one msgid");
            m_entry.HasStr = true;
        }
        Begin(field, rest, lineNumber);
    }

    void Begin(Field field, std::string_view rest, int lineNumber)
    {
        m_field = field;
        if (field == Field::Str)
            m_entry.Str.clear();
        Append(rest, lineNumber);
    }

    void Append(std::string_view line, int lineNumber)
    {
        if (m_field == Field::None) {
            Problem(lineNumber, "a string outside any msgid or msgstr");
            return;
        }
        auto quoted = ParseQuoted(line);
        if (!quoted.Error.empty()) {
            Problem(lineNumber, quoted.Error);
            // A text cut short would show wrong; a missing one shows its key.
            if (quoted.Error.find("kept as written") == std::string::npos)
                m_entry.Broken = true;
        }
        if (m_field == Field::Id)
            m_entry.Id += quoted.Text;
        else if (m_field == Field::Str)
            m_entry.Str += quoted.Text;
    }

    void Flush()
    {
        Entry entry = std::exchange(m_entry, Entry{});
        m_field = Field::None;
        if (!entry.Started() || entry.Broken)
            return;
        if (!entry.HasStr) {
            Problem(entry.Line, "msgid \"" + entry.Id + "\" has no msgstr");
            return;
        }
        if (entry.Id.empty() || entry.Str.empty() || entry.Fuzzy)
            return;
        if (!m_table.Texts.emplace(entry.Id, std::move(entry.Str)).second)
            Problem(entry.Line, "msgid \"" + entry.Id + "\" appears again (the first one is kept)");
    }

    PoTable m_table;
    Entry m_entry;
    Field m_field = Field::None;
};

// "pt_BR.UTF-8" -> "pt"; the language part, lower case.
std::string LanguageOf(const std::string& name)
{
    std::string language;
    for (char c : name) {
        if (c == '_' || c == '-' || c == '.' || c == '@')
            break;
        language += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return language;
}

} // namespace

PoTable ParsePo(std::string_view text)
{
    return PoParser().Parse(text);
}

std::string ResourceTableFor(const std::vector<std::string>& languageNames)
{
    for (const auto& name : languageNames) {
        auto language = LanguageOf(name);
        if (language == "pt")
            return "pt-BR";
        if (language == "en")
            return "en-US";
    }
    return "en-US";
}

PoResources::PoResources(std::string_view poText)
{
    auto table = ParsePo(poText);
    m_texts = std::move(table.Texts);
    m_problems = std::move(table.Problems);
}

std::optional<std::string> PoResources::TryGetString(const std::string& key) const
{
    auto it = m_texts.find(key);
    if (it == m_texts.end())
        return std::nullopt;
    return it->second;
}

} // namespace platform
