#include "settings/home_screen.h"

#include "app/page_controls.h"
#include "bridge/chrome_animator.h"
#include "services/rating_prompt.h"
#include "storage/database.h"
#include "storage/schema.h"
#include "storage/transaction.h"

void HomeScreen::ShowIfWanted()
{
    if (QueryText(ConfigDb, "SELECT wSTATUS FROM wConfig_HomeScreenStatus") == "true")
        m_controls.wHomeScreenPanel->SetVisibility(ui::Visibility::Visible);
}

void HomeScreen::ShowHomeScreen_Click(ui::Element&)
{
    m_chrome.CloseAll();
    auto& doNotShow = *m_controls.wHomeScreenCheckBox_DoNotShow;
    doNotShow.SetIsChecked(false);
    doNotShow.SetVisibility(ui::Visibility::Collapsed);
    m_controls.wHomeScreenPanel->SetVisibility(ui::Visibility::Visible);
}

void HomeScreen::CloseHomeScreen_Click(ui::Element&)
{
    OpenDatabase(ConfigDb, ConfigFile);
    m_controls.wHomeScreenPanel->SetVisibility(ui::Visibility::Collapsed);
    // Together: a failed insert must not leave the setting without its row.
    if (m_controls.wHomeScreenCheckBox_DoNotShow->IsChecked() == true)
        ExecuteAllOrNothing(ConfigDb, {"DELETE FROM wConfig_HomeScreenStatus; INSERT INTO wConfig_HomeScreenStatus "
                                       "VALUES ('false');"});
    CloseDatabase(ConfigDb);
    m_rating.CheckRatingPrompt();
}
