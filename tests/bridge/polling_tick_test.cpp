// The polling tick, one tick at a time: where each panel rests, the turns the
// panels and the side menu take, and an idle tick that changes nothing.
#include <string>

#include <gtest/gtest.h>

#include "tests/doubles/page_harness.h"

namespace {

using doubles::PageHarness;
using Flag = bool OpenFlags::*;

// Counts every change of an element's property in the page.
class ChangeCounter : public ui::ElementObserver {
public:
    void OnPropertyChanged(ui::Element&, ui::Property) override { ++Changes; }
    void OnChildAdded(ui::Panel&, ui::Element&, size_t) override { ++Changes; }
    void OnChildRemoving(ui::Panel&, ui::Element&, size_t) override { ++Changes; }
    int Changes = 0;
};

class Tick : public ::testing::Test {
protected:
    void SetUp() override { h.Start(); }
    void Ticks(int n = 1) { h.Timers.TickAll(n); }
    PageHarness h;
};

struct PanelCase {
    const char* name;
    Flag flag;
    ui::Element* PageControls::*element;
    int outStep;
};

const PanelCase SlidingPanels[] = {
    {"favorites", &OpenFlags::Favorites, &PageControls::wFavoritesPanel, 10},
    {"history", &OpenFlags::History, &PageControls::wHistoryPanel, 10},
    {"downloads", &OpenFlags::Downloads, &PageControls::wDownloadsPanel, 10},
    {"settings", &OpenFlags::Settings, &PageControls::wSettingsPanel, 5},
    {"seventh", &OpenFlags::SeventhPanel, &PageControls::wAboutPanel, 10},
    {"extension", &OpenFlags::Extension, &PageControls::wExtensionPanel, 10},
};

// The side menu and the panels take turns: a panel slides in once the menu is
// nearly out and rests in place; on a confirmed panel dialog it leaves, hidden,
// and then the side menu comes. The download dialog only fades.
TEST_F(Tick, PanelsSlideInAndOutTakingTurnsWithTheSideMenu)
{
    auto& menu = *h.Controls().wSideMenu;
    h.Click("SideMenuButton");
    Ticks(27);
    ASSERT_EQ(menu.Margin().Right, 0);
    h.Chrome().OpenPanel(&OpenFlags::History);
    Ticks(24);
    EXPECT_EQ(menu.Margin().Right, -240);
    EXPECT_EQ(h.Controls().wHistoryPanel->Margin().Right, -260);

    for (const auto& c : SlidingPanels) {
        SCOPED_TRACE(c.name);
        ui::Element& panel = *(h.Controls().*c.element);
        h.Chrome().OpenPanel(c.flag);
        EXPECT_TRUE(h.Chrome().Flags().OverlayWanted);
        Ticks(60);
        EXPECT_EQ(std::tuple(panel.Margin().Right, panel.Opacity() >= 1.0, panel.GetVisibility()),
                  std::tuple(0.0, true, ui::Visibility::Visible));
        h.Chrome().ReturnToSideMenu();
        Ticks(270 / c.outStep);
        EXPECT_EQ(std::tuple(panel.Margin().Right, panel.GetVisibility(), menu.Margin().Right),
                  std::tuple(-270.0, ui::Visibility::Collapsed, -270.0));
        Ticks(2);
        EXPECT_EQ(std::pair(menu.Margin().Right, menu.GetVisibility()), std::pair(-250.0, ui::Visibility::Visible));
        h.Chrome().CloseAll();
        Ticks(27);
    }
    auto& dialog = *h.Controls().wDownloadDialog;
    auto margin = dialog.Margin();
    h.Chrome().OpenPanel(&OpenFlags::DownloadDialog);
    Ticks(32);
    EXPECT_DOUBLE_EQ(dialog.Opacity(), 1.05);
    h.Chrome().CloseAll();
    Ticks(21);
    EXPECT_EQ(std::pair(dialog.GetVisibility(), dialog.Margin()), std::pair(ui::Visibility::Collapsed, margin));
}

TEST_F(Tick, MenusSnapOpenAndShutAndToggleAgainstEveryOtherFlag)
{
    h.Chrome().OpenPanel(&OpenFlags::Settings);
    h.Chrome().OpenContextPopup();
    h.Click("MainMenuButton");
    const auto& flags = h.Chrome().Flags();
    EXPECT_TRUE(flags.MainMenu && flags.OverlayWanted && !flags.Settings && !flags.ContextMenu);
    Ticks();
    EXPECT_EQ(h.Controls().wMainMenu->GetVisibility(), ui::Visibility::Visible);
    EXPECT_DOUBLE_EQ(h.Controls().wDimmingOverlay->Opacity(), 0.6);
    EXPECT_EQ(h.Controls().wDimmingOverlay->GetVisibility(), ui::Visibility::Visible);

    // Entries open their panel (the real runs open four); the seventh panel's
    // entry toggles it, the overlay with it, and closes the menu.
    auto& menu = static_cast<ui::Panel&>(*h.Controls().wMainMenu);
    ASSERT_EQ(menu.Count(), 13u); // the markup's nine, then find, print, source and the inspector
    auto& seventh = static_cast<ui::Button&>(menu.ChildAt(4));
    seventh.RaiseClick();
    EXPECT_TRUE(flags.SeventhPanel && flags.OverlayWanted && !flags.MainMenu);
    Ticks();
    EXPECT_EQ(h.Controls().wMainMenu->GetVisibility(), ui::Visibility::Collapsed);
    seventh.RaiseClick();
    EXPECT_FALSE(flags.SeventhPanel || flags.OverlayWanted);
    Ticks();
    EXPECT_EQ(h.Controls().wDimmingOverlay->GetVisibility(), ui::Visibility::Collapsed);
}

TEST_F(Tick, AnIdleTickChangesNothing)
{
    // Open and close everything once, then let it all come to rest.
    h.Chrome().OpenPanel(&OpenFlags::Settings);
    h.Chrome().CountBackPress();
    h.Chrome().OpenContextPopup();
    Ticks(30);
    h.Chrome().CloseAll();
    Ticks(400);

    ChangeCounter counter;
    h.Page().Root().SetObserver(&counter);
    Ticks(100);
    h.Page().Root().SetObserver(nullptr);
    EXPECT_EQ(counter.Changes, 0);
}

} // namespace
