#include "downloads/download_names.h"

namespace {

constexpr size_t MaxNameBytes = 255;

// The text inside '…' as the script engine reads it back.
std::string SingleQuotedLiteral(const std::string& text)
{
    std::string literal;
    literal.reserve(text.size() + 2);
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\\' || c == '\'') {
            literal += '\\';
            literal += c;
        } else if (c == '\n') {
            literal += "\\n";
        } else if (c == '\r') {
            literal += "\\r";
        } else if (text.compare(i, 3, "\xE2\x80\xA8") == 0 || text.compare(i, 3, "\xE2\x80\xA9") == 0) {
            // LINE and PARAGRAPH SEPARATOR end a line inside a script literal.
            literal += text[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
            i += 2;
        } else {
            literal += c;
        }
    }
    return literal;
}

} // namespace

std::string GetFileNameScript(const std::string& address)
{
    return std::string(" function getFileName() { ") + " var url = '" + SingleQuotedLiteral(address) + "'; " +
           " url = url.substring(0, (url.indexOf('#') == -1) ? url.length : url.indexOf('#')); " +
           " url = url.substring(0, (url.indexOf('?') == -1) ? url.length : url.indexOf('?')); " +
           " url = url.substring(url.lastIndexOf('/') + 1, url.length); " + " return url; }";
}

std::string FileNameFromAddress(const std::string& address)
{
    std::string url = address.substr(0, address.find('#'));
    url = url.substr(0, url.find('?'));
    size_t slash = url.rfind('/');
    return slash == std::string::npos ? url : url.substr(slash + 1);
}

std::string ProposedName(const std::string& name)
{
    if (name.size() <= MaxNameBytes)
        return name;
    size_t end = MaxNameBytes;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80)
        --end;
    return name.substr(0, end);
}

bool IsValidDownloadName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.size() <= MaxNameBytes &&
           name.find('/') == std::string::npos && name.find('\0') == std::string::npos;
}
