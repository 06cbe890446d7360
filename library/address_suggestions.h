#pragma once
// Suggestions while typing: under the address box, up to 15 favorites and 16
// visited pages whose name or address holds the typed text, oldest first. A
// tap loads the entry's address in the current tab (a first tab when none).
#include <cstdint>
#include <string>

#include "platform/platform.h"

struct PageControls;
class ChromeAnimator;
class ProductMessages;
class TabSet;

class AddressSuggestions {
public:
    AddressSuggestions(const PageControls& controls, platform::PlatformServices& services, TabSet& tabs,
                       ChromeAnimator& chrome, ProductMessages& messages);

    // Any change of the box's text; only typing after a click into it lists entries.
    void AdressBox_TextChanged(ui::Element& sender);
    void ChooseSuggestion(ui::Element& sender);

private:
    struct Section;
    // Adds the section's matching entries under its header; false when none matched.
    bool AddSection(const Section& section, const std::string& typed, bool afterFavorites);
    void AddEntry(const Section& section, int32_t id, const std::string& link);
    // The entries leave; the one tapped lives until the next tick.
    void RetireEntries();
    void NavigateOrOpen(const platform::Uri& uri);

    const PageControls& m_controls;
    platform::PlatformServices& m_services;
    TabSet& m_tabs;
    ChromeAnimator& m_chrome;
    ProductMessages& m_messages;
};
