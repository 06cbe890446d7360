#include "settings/home_screen.h"

#include "app/page_controls.h"
#include "services/rating_prompt.h"
#include "storage/database.h"
#include "storage/schema.h"

void HomeScreen::ShowIfWanted()
{
    if (QueryText(ConfigDb, "SELECT wSTATUS FROM wConfig_HomeScreenStatus") == "true")
        m_controls.wHomeScreenPanel->SetVisibility(ui::Visibility::Visible);
}

void HomeScreen::CloseHomeScreen_Click(ui::Element&)
{
    OpenDatabase(ConfigDb, ConfigFile);
    m_controls.wHomeScreenPanel->SetVisibility(ui::Visibility::Collapsed);
    if (m_controls.wHomeScreenCheckBox_DoNotShow->IsChecked() == true)
        ExecuteStatement(ConfigDb,
                         "DELETE FROM wConfig_HomeScreenStatus; INSERT INTO wConfig_HomeScreenStatus VALUES ('false');");
    CloseDatabase(ConfigDb);
    m_rating.CheckRatingPrompt();
}
