#include "services/pin_page.h"

#include "app/product_messages.h"
#include "bridge/chrome_animator.h"
#include "browser/tab_set.h"

std::string TileId(const platform::CalendarNow& now)
{
    return "TolvaneTile." + std::to_string(now.Hour) + std::to_string(now.Minute) + "." + std::to_string(now.Day) +
           std::to_string(now.Month) + std::to_string(now.Year);
}

void PinPage::PinToStartButton_Click(ui::Element&)
{
    m_chrome.CloseAll();
    auto* current = m_tabs.CurrentWebView();
    // Success is told only once the launcher is on disk.
    bool pinned = current && m_services.Tiles.RequestCreate({TileId(m_services.Clock.Now()), current->DocumentTitle(),
                                                             current->Source()});
    m_messages.Show(m_services.Strings.GetString(pinned ? "wMessageBox_PinToStartSucess"
                                                        : "wMessageBox_PinToStartFailed"));
}
