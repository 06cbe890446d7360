#include "app/launch_address.h"

#include <algorithm>

namespace {

bool IsControlOrSpace(unsigned char c) { return c <= 0x20; }
bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no
// surrogates, nothing past U+10FFFF.
bool IsValidUtf8(std::string_view text)
{
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size())
            return false;
        uint32_t code = length == 1 ? c : c & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        static constexpr uint32_t Smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < Smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

// As the address bar of any browser does: blanks and controls around the
// address go, and a line break or tab inside it (from a pasted, wrapped
// address) is dropped.
std::string Cleaned(std::string_view text)
{
    auto begin = std::find_if_not(text.begin(), text.end(), [](char c) { return IsControlOrSpace(c); });
    auto end = std::find_if_not(text.rbegin(), std::make_reverse_iterator(begin),
                                [](char c) { return IsControlOrSpace(c); }).base();
    std::string cleaned;
    std::copy_if(begin, end, std::back_inserter(cleaned), [](char c) { return c != '\t' && c != '\n' && c != '\r'; });
    return cleaned;
}

LaunchDecision Refuse(const char* key) { return {LaunchDecision::Refused, std::nullopt, key}; }

} // namespace

LaunchDecision DecideLaunchAddress(std::string_view text)
{
    if (text.size() > MaxLaunchAddressBytes)
        return Refuse("wMessageBox_LaunchAddressRefused");
    if (!IsValidUtf8(text))
        return Refuse("wMessageBox_LaunchAddressRefused");
    std::string cleaned = Cleaned(text);
    if (cleaned.empty())
        return {};
    if (std::any_of(cleaned.begin(), cleaned.end(), [](char c) { return IsControl(c); }))
        return Refuse("wMessageBox_LaunchAddressRefused");
    auto uri = platform::Uri::Parse(cleaned);
    // "http://" and a control character trimmed away leave no host to visit.
    if (!uri || ((uri->Scheme() == "http" || uri->Scheme() == "https") && uri->Host().empty()))
        return Refuse("wMessageBox_LaunchAddressRefused");
    // A script address would run in whatever page the tab shows: another
    // program never gets to do that.
    if (uri->Scheme() == "javascript")
        return Refuse("wMessageBox_LaunchScriptRefused");
    return {LaunchDecision::Open, std::move(uri), {}};
}
