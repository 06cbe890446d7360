#pragma once
// The language the user writes in, as a BCP 47 tag ("pt-BR").
#include <string>
#include <string_view>

namespace platform {

class Language {
public:
    virtual ~Language() = default;
    virtual std::string CurrentInputMethodLanguageTag() const = 0;
};

// A POSIX locale name as a language tag: "pt_BR.UTF-8" → "pt-BR",
// "de_DE@euro" → "de-DE"; "C", "POSIX" and nothing → "en-US".
std::string LanguageTagFromLocale(std::string_view locale);

} // namespace platform
