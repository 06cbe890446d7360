#include "services/donations.h"

#include "app/page_controls.h"
#include "app/product_messages.h"
#include "bridge/chrome_animator.h"
#include "browser/tab_set.h"

namespace {
constexpr const char* DonationPage = "ms-appx-web:///Assets/wPageDonation.htm";
} // namespace

std::string DonationProduct(const std::string& buttonName)
{
    static const std::pair<const char*, const char*> Products[] = {
        {"wButton_Donate05", "wDonate_05_Tolvane"},
        {"wButton_Donate10", "wDonate_10_Tolvane"},
        {"wButton_Donate25", "wDonate_25_Tolvane"},
        {"wButton_Donate50", "wDonate_50_Tolvane"},
    };
    for (const auto& [name, product] : Products)
        if (buttonName == name)
            return product;
    return "wDonate_100_Tolvane";
}

void Donations::Donate_Click(ui::Element& sender)
{
    if (sender.Name() == "wButton_DonatePayPal") {
        OpenDonationPage();
        return;
    }
    std::weak_ptr<bool> alive = m_alive;
    m_services.Purchases.RequestProductPurchaseAsync(DonationProduct(sender.Name()),
                                                     [this, alive](platform::PurchaseStatus status) {
                                                         if (alive.lock())
                                                             OnPurchased(status);
                                                     });
}

// In a tab of its own: the page the user was reading stays.
void Donations::OpenDonationPage()
{
    m_chrome.CloseAll();
    if (auto uri = platform::Uri::Parse(DonationPage))
        m_tabs.OpenTab(*uri);
    // The browser's own page has no address to show.
    m_controls.AdressBox->SetText(m_services.Strings.GetString("wAdress_DefaultLink"));
    m_controls.wHomeScreenPanel->SetVisibility(ui::Visibility::Collapsed);
}

// Thanks only for a donation that was made.
void Donations::OnPurchased(platform::PurchaseStatus status)
{
    switch (status) {
    case platform::PurchaseStatus::Succeeded:
    case platform::PurchaseStatus::AlreadyPurchased:
        m_messages.Show(m_services.Strings.GetString("wMessageBox_ThanksDonate"));
        break;
    case platform::PurchaseStatus::Unavailable:
        m_messages.Show(m_services.Strings.GetString("wMessageBox_PurchaseUnavailable"));
        break;
    case platform::PurchaseStatus::NotPurchased:
        break;
    }
}
