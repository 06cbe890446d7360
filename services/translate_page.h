#pragma once
// The main menu's translate entry: the current page through the web
// translation service chosen in the settings, into the desktop's language.
#include <optional>
#include <string>

#include "platform/platform.h"

class ChromeAnimator;
class ProductMessages;
class TabSet;

// The service's address for the stored translator name, or nothing for a
// name it does not know. The page address goes in as one escaped value.
std::optional<std::string> TranslationUrl(const std::string& translator, const std::string& languageTag,
                                          const std::string& address);

class TranslatePage {
public:
    TranslatePage(platform::PlatformServices& services, TabSet& tabs, ChromeAnimator& chrome,
                  ProductMessages& messages)
        : m_services(services), m_tabs(tabs), m_chrome(chrome), m_messages(messages)
    {
    }

    void TranslateButton_Click(ui::Element& sender);

private:
    platform::PlatformServices& m_services;
    TabSet& m_tabs;
    ChromeAnimator& m_chrome;
    ProductMessages& m_messages;
};
