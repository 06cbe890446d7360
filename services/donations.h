#pragma once
// The About panel's donation buttons: the donation page, or a store purchase
// named by the button.
#include <memory>
#include <string>

#include "platform/platform.h"

class ChromeAnimator;
class ProductMessages;
class TabSet;
struct PageControls;

// The store product a donation button buys.
std::string DonationProduct(const std::string& buttonName);

class Donations {
public:
    Donations(const PageControls& controls, platform::PlatformServices& services, TabSet& tabs, ChromeAnimator& chrome,
              ProductMessages& messages)
        : m_controls(controls), m_services(services), m_tabs(tabs), m_chrome(chrome), m_messages(messages)
    {
    }

    void Donate_Click(ui::Element& sender);

private:
    void OpenDonationPage();
    void OnPurchased(platform::PurchaseStatus status);

    const PageControls& m_controls;
    platform::PlatformServices& m_services;
    TabSet& m_tabs;
    ChromeAnimator& m_chrome;
    ProductMessages& m_messages;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
