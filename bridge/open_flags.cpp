// The open flags of the page chrome. Handlers only set them; the polling
// timer animates the panels and menus they name.
#include "app/main_page.h"
#include "app/process_state.h"

void MainPage::CloseAll()
{
    Flags = {};
    Process().Bridge.ContextMenuOpen = false;
}

void MainPage::OpenPanel(bool OpenFlags::*panel)
{
    CloseAll();
    Flags.*panel = true;
    Flags.OverlayWanted = true;
}

void MainPage::ReturnToSideMenu()
{
    CloseAll();
    Flags.SideMenu = true;
    Flags.OverlayWanted = true;
}

void MainPage::TogglePanel(bool OpenFlags::*panel)
{
    bool open = !(Flags.*panel);
    CloseAll();
    Flags.*panel = open;
    Flags.OverlayWanted = open;
}

void MainPage::SideMenuButton_Click(ui::Element&)
{
    TogglePanel(&OpenFlags::SideMenu);
}

void MainPage::MainMenuButton_Click(ui::Element&)
{
    TogglePanel(&OpenFlags::MainMenu);
}

void MainPage::AboutButton_Click(ui::Element&)
{
    TogglePanel(&OpenFlags::SeventhPanel);
}

void MainPage::PanelEntry_Click(ui::Element& sender)
{
    bool OpenFlags::*panel = nullptr;
    switch (sender.Tag().value_or(0)) {
    case FavoritesEntry: panel = &OpenFlags::Favorites; break;
    case HistoryEntry: panel = &OpenFlags::History; break;
    case DownloadsEntry: panel = &OpenFlags::Downloads; break;
    case SettingsEntry: panel = &OpenFlags::Settings; break;
    case AboutEntry: panel = &OpenFlags::SeventhPanel; break;
    case ExtensionEntry: panel = &OpenFlags::Extension; break;
    default: CloseAll(); return;
    }
    OpenPanel(panel);
}
