#include "browser/address_resolution.h"

#include "browser/tab_text.h"

AddressKind ClassifyAddressText(const std::string& text)
{
    if (Contains(text, "http://"))
        return AddressKind::Address;
    if (!Contains(text, "."))
        return AddressKind::Search;
    if (Contains(text, " "))
        return AddressKind::Search;
    return AddressKind::Address;
}

std::string AddressTarget(const std::string& text)
{
    if (Contains(text, "http://") || Contains(text, "https://"))
        return text;
    return "http://" + text;
}

std::optional<std::string> SearchPrefix(const std::string& engine)
{
    if (engine == "Bing")
        return "http://www.bing.com/search?q=";
    if (engine == "Google")
        return "https://www.google.com/search?q=";
    if (engine == "DuckDuckGo")
        return "https://duckduckgo.com/?q=";
    return std::nullopt;
}

std::string EncodeQueryText(const std::string& text)
{
    static const char* hex = "0123456789ABCDEF";
    std::string encoded;
    for (unsigned char c : text) {
        bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                          c == '_' || c == '.' || c == '~';
        if (unreserved) {
            encoded += static_cast<char>(c);
        } else if (c == ' ') {
            encoded += '+';
        } else {
            encoded += '%';
            encoded += hex[c >> 4];
            encoded += hex[c & 0xF];
        }
    }
    return encoded;
}
