#include "library/suggestion_match.h"

#include <algorithm>

namespace {

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence at text[i], or 0.
size_t SequenceLength(const std::string& text, size_t i)
{
    auto lead = static_cast<unsigned char>(text[i]);
    size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
    if (length == 0 || i + length > text.size())
        return 0;
    for (size_t k = 1; k < length; ++k)
        if (!IsContinuation(static_cast<unsigned char>(text[i + k])))
            return 0;
    return length;
}

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string SuggestionLikePattern(const std::string& typed)
{
    std::string pattern = "%";
    bool wildcardLast = true;
    for (size_t i = 0; i < typed.size();) {
        char c = typed[i];
        if (static_cast<unsigned char>(c) < 0x80) {
            if (c == '%' || c == '_' || c == '\\')
                pattern += '\\';
            pattern += c;
            wildcardLast = false;
            ++i;
            continue;
        }
        size_t length = SequenceLength(typed, i);
        // Two-byte sequences up to C3 are U+0080..U+00FF; a malformed byte is
        // stored as the Latin-1 character of its value.
        bool latin1 = length == 0 || (length == 2 && static_cast<unsigned char>(c) <= 0xC3);
        if (!latin1) {
            pattern.append(typed, i, length);
            wildcardLast = false;
        } else if (!wildcardLast) {
            pattern += '%';
            wildcardLast = true;
        }
        i += length == 0 ? 1 : length;
    }
    if (!wildcardLast)
        pattern += '%';
    return pattern;
}

bool ShowsTyped(const std::string& shown, const std::string& typed)
{
    // UTF-8 is self-synchronising: a byte match of a whole text is a match of
    // whole characters, and only ASCII bytes are folded.
    auto found = std::search(shown.begin(), shown.end(), typed.begin(), typed.end(),
                             [](char a, char b) { return AsciiLower(a) == AsciiLower(b); });
    return found != shown.end() || typed.empty();
}
