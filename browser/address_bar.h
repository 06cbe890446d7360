#pragma once
// The address box: Enter loads an address or searches; focus shows what is typed.
#include "platform/platform.h"

struct PageControls;
class ChromeAnimator;
class ProductMessages;
class TabSet;

class AddressBar {
public:
    AddressBar(const PageControls& controls, platform::PlatformServices& services, TabSet& tabs,
               ChromeAnimator& chrome, ProductMessages& messages);

    void AdressBox_KeyDown(ui::Element& sender, ui::KeyEventArgs& args);
    void AdressBox_GotFocus(ui::Element& sender);
    void AdressBox_LostFocus(ui::Element& sender);

private:
    // Loads the address in the current tab, or in a first tab when none is open.
    void NavigateOrOpen(const platform::Uri& uri);
    // The typed text as an address, or as a search with the stored engine.
    std::optional<platform::Uri> Target(const std::string& text);

    const PageControls& m_controls;
    platform::PlatformServices& m_services;
    TabSet& m_tabs;
    ChromeAnimator& m_chrome;
    ProductMessages& m_messages;
};
