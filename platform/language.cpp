#include "platform/language.h"

#include <cctype>

namespace platform {

std::string LanguageTagFromLocale(std::string_view locale)
{
    locale = locale.substr(0, locale.find_first_of(".@"));
    if (locale.empty() || locale == "C" || locale == "POSIX")
        return "en-US";
    std::string tag;
    for (char c : locale) {
        if (c == '_')
            c = '-';
        // Anything else is not a locale name: the default rather than a broken tag.
        else if (!std::isalnum(static_cast<unsigned char>(c)))
            return "en-US";
        tag += c;
    }
    return tag;
}

} // namespace platform
