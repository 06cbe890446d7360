#include "services/translate_page.h"

#include "app/product_messages.h"
#include "bridge/chrome_animator.h"
#include "browser/tab_set.h"
#include "services/uri_text.h"
#include "settings/stored_settings.h"
#include "storage/database.h"
#include "storage/schema.h"

std::optional<std::string> TranslationUrl(const std::string& translator, const std::string& languageTag,
                                          const std::string& address)
{
    std::string tag = EscapeUriComponent(languageTag);
    if (translator == "Google_Translator")
        return "https://translate.google.com/translate?hl=&tl=" + tag + "&u=" + EscapeUriComponent(address);
    if (translator == "Microsoft_Translator")
        return "https://www.microsofttranslator.com/bv.aspx?from=&to=" + tag + "&a=" + EscapeUriComponent(address);
    return std::nullopt;
}

void TranslatePage::TranslateButton_Click(ui::Element&)
{
    m_chrome.CloseAll();
    auto* current = m_tabs.CurrentWebView();
    if (!current) {
        m_messages.Show(m_services.Strings.GetString("wMessageBox_NullGuides"));
        return;
    }
    OpenDatabase(ConfigDb, ConfigFile);
    std::string translator = StoredValue("SELECT wTRANSLATOR FROM wConfig_MainTranslateAdress");
    CloseDatabase(ConfigDb);
    auto url = TranslationUrl(translator, m_services.Lang.CurrentInputMethodLanguageTag(), current->Source());
    if (!url)
        return;
    if (auto uri = platform::Uri::Parse(*url))
        current->Navigate(*uri);
}
