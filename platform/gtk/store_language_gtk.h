#pragma once
// No application store on this desktop: purchases answer Unavailable and
// change nothing. The input language is the locale's.
#include <glib.h>

#include "platform/language.h"
#include "platform/store.h"

namespace gtkui {

class NoStore : public platform::Store {
public:
    void RequestProductPurchaseAsync(const std::string&, std::function<void(platform::PurchaseStatus)> done) override
    {
        if (done)
            done(platform::PurchaseStatus::Unavailable);
    }
};

class LocaleLanguage : public platform::Language {
public:
    std::string CurrentInputMethodLanguageTag() const override
    {
        // The most preferred of the user's LANGUAGE, LC_ALL, LC_MESSAGES, LANG.
        const char* const* names = g_get_language_names();
        return platform::LanguageTagFromLocale(names && names[0] ? names[0] : "");
    }
};

} // namespace gtkui
