#pragma once
// Text crossing between GLib's C strings and std::string. Inline, so the URI
// parser (a library of its own, used without the adapters) shares it too.
#include <glib.h>

#include <string>
#include <string_view>

namespace gtkui {

// A string GLib may give as NULL: NULL is "".
inline std::string TextOrEmpty(const char* text)
{
    return text ? std::string(text) : std::string();
}

// The same for a string the caller owns, which is freed.
inline std::string TakeText(char* owned)
{
    std::string text = TextOrEmpty(owned);
    g_free(owned);
    return text;
}

// Valid UTF-8, as GLib and GTK require: each invalid byte becomes U+FFFD and
// nothing else changes. A NUL is valid and stays (GLib would take it for the
// end of the text, so the pieces between NULs are checked on their own).
inline std::string ValidUtf8(std::string_view text)
{
    if (g_utf8_validate_len(text.data(), text.size(), nullptr))
        return std::string(text);
    std::string valid;
    valid.reserve(text.size());
    for (size_t start = 0;;) {
        const size_t nul = text.find('\0', start);
        const std::string_view piece = text.substr(start, nul == std::string_view::npos ? nul : nul - start);
        if (g_utf8_validate_len(piece.data(), piece.size(), nullptr))
            valid.append(piece);
        else
            valid += TakeText(g_utf8_make_valid(piece.data(), static_cast<gssize>(piece.size())));
        if (nul == std::string_view::npos)
            return valid;
        valid.push_back('\0');
        start = nul + 1;
    }
}

} // namespace gtkui
