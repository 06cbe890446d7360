// The home screen's own button: close it, and stop showing it at start when asked.
#include "app/main_page.h"
#include "storage/database.h"
#include "storage/schema.h"

void MainPage::CloseHomeScreen_Click(ui::Element&)
{
    OpenDatabase(ConfigDb, ConfigFile);
    wHomeScreenPanel->SetVisibility(ui::Visibility::Collapsed);
    if (wHomeScreenCheckBox_DoNotShow->IsChecked() == true)
        ExecuteStatement(ConfigDb,
                         "DELETE FROM wConfig_HomeScreenStatus; INSERT INTO wConfig_HomeScreenStatus VALUES ('false');");
    CloseDatabase(ConfigDb);
    CheckRatingPrompt();
}
