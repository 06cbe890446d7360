#include "services/uri_text.h"

namespace {

bool IsUnreserved(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

std::string WithCrLf(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            result += '\r';
        result += text[i];
    }
    return result;
}

} // namespace

std::string EscapeUriComponent(std::string_view text)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string escaped;
    escaped.reserve(text.size() * 3);
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        if (IsUnreserved(c)) {
            escaped += ch;
        } else {
            escaped += '%';
            escaped += Hex[c >> 4];
            escaped += Hex[c & 0xF];
        }
    }
    return escaped;
}

std::string MailtoUri(std::string_view to, std::string_view subject, std::string_view body)
{
    std::string uri = "mailto:" + std::string(to) + "?subject=" + EscapeUriComponent(subject);
    if (!body.empty())
        uri += "&body=" + EscapeUriComponent(WithCrLf(body));
    return uri;
}
