// The polling tick, one tick at a time with a manual timer: each animation's
// step and bounds, the order in which panels and the side menu take turns,
// the exit hint, the loading fade and the hand-overs.
#include <string>

#include <gtest/gtest.h>

#include "app/process_state.h"
#include "storage/database.h"
#include "tests/doubles/page_harness.h"

namespace {

using doubles::PageHarness;
using Flag = bool MainPage::OpenFlags::*;

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
    void SetUp() override { page = &h.Start(); }
    void Ticks(int n = 1) { h.Timers.TickAll(n); }
    ui::Button& Button(const std::string& name) { return h.Page().Markup().Get<ui::Button>(name); }

    PageHarness h;
    MainPage* page = nullptr;
};

struct PanelCase {
    const char* name;
    Flag flag;
    ui::Element* MainPage::*element;
    MainPage::PanelAnimation MainPage::PanelTable::*state;
    int outStep;
};

const PanelCase SlidingPanels[] = {
    {"favorites", &MainPage::OpenFlags::Favorites, &MainPage::wFavoritesPanel, &MainPage::PanelTable::Favorites, 10},
    {"history", &MainPage::OpenFlags::History, &MainPage::wHistoryPanel, &MainPage::PanelTable::History, 10},
    {"downloads", &MainPage::OpenFlags::Downloads, &MainPage::wDownloadsPanel, &MainPage::PanelTable::Downloads, 10},
    {"settings", &MainPage::OpenFlags::Settings, &MainPage::wSettingsPanel, &MainPage::PanelTable::Settings, 5},
    {"seventh", &MainPage::OpenFlags::SeventhPanel, &MainPage::wAboutPanel, &MainPage::PanelTable::SeventhPanel, 10},
    {"extension", &MainPage::OpenFlags::Extension, &MainPage::wExtensionPanel, &MainPage::PanelTable::Extension, 10},
};

TEST_F(Tick, EachSlidingPanelSlidesInAndOutWithItsSteps)
{
    for (const auto& c : SlidingPanels) {
        SCOPED_TRACE(c.name);
        ui::Element& panel = *(page->*c.element);
        auto& state = page->Panels.*c.state;
        page->OpenPanel(c.flag);
        EXPECT_TRUE(page->Flags.*c.flag);
        EXPECT_TRUE(page->Flags.OverlayWanted);

        // From rest (-0.05) the first step reaches 0: not shown yet.
        Ticks();
        EXPECT_EQ(panel.Margin().Right, -260);
        EXPECT_DOUBLE_EQ(panel.Opacity(), 0.0);
        EXPECT_EQ(panel.GetVisibility(), ui::Visibility::Collapsed);
        Ticks();
        EXPECT_EQ(panel.Margin().Right, -250);
        EXPECT_DOUBLE_EQ(panel.Opacity(), 0.05);
        EXPECT_EQ(panel.GetVisibility(), ui::Visibility::Visible);
        Ticks(21);
        EXPECT_DOUBLE_EQ(panel.Opacity(), 1.05);
        EXPECT_EQ(panel.Margin().Right, -40);
        Ticks(4);
        EXPECT_EQ(panel.Margin().Right, 0);
        Ticks(5); // at rest in place
        EXPECT_EQ(panel.Margin().Right, 0);
        EXPECT_DOUBLE_EQ(panel.Opacity(), 1.05);

        page->CloseAll();
        Ticks();
        EXPECT_EQ(panel.Margin().Right, -c.outStep);
        EXPECT_DOUBLE_EQ(panel.Opacity(), 1.0);
        Ticks(20);
        EXPECT_DOUBLE_EQ(panel.Opacity(), 0.0);
        EXPECT_EQ(panel.GetVisibility(), ui::Visibility::Collapsed);
        int ticksOut = 270 / c.outStep;
        Ticks(ticksOut - 21 + 3);
        EXPECT_EQ(panel.Margin().Right, -270);
        EXPECT_EQ(state.Offset, -270);
        EXPECT_DOUBLE_EQ(state.Opacity, -0.05);
    }
}

TEST_F(Tick, TheDownloadDialogOnlyFades)
{
    auto margin = page->wDownloadDialog->Margin();
    page->OpenPanel(&MainPage::OpenFlags::DownloadDialog);
    Ticks(2);
    EXPECT_DOUBLE_EQ(page->wDownloadDialog->Opacity(), 0.05);
    EXPECT_EQ(page->wDownloadDialog->GetVisibility(), ui::Visibility::Visible);
    Ticks(30);
    EXPECT_DOUBLE_EQ(page->wDownloadDialog->Opacity(), 1.05);
    EXPECT_EQ(page->wDownloadDialog->Margin(), margin);
    page->CloseAll();
    Ticks(21);
    EXPECT_EQ(page->wDownloadDialog->GetVisibility(), ui::Visibility::Collapsed);
    EXPECT_EQ(page->wDownloadDialog->Margin(), margin);
}

TEST_F(Tick, TheSideMenuWaitsUntilEveryPanelIsOut)
{
    for (const auto& c : SlidingPanels) {
        SCOPED_TRACE(c.name);
        page->OpenPanel(c.flag);
        Ticks(27);
        ASSERT_EQ((page->Panels.*c.state).Offset, 0);

        // A confirmed panel dialog: the panel leaves, then the side menu comes.
        page->ReturnToSideMenu();
        int ticksOut = 270 / c.outStep;
        Ticks(ticksOut);
        EXPECT_EQ((page->Panels.*c.state).Offset, -270);
        EXPECT_EQ(page->wSideMenu->Margin().Right, -270);
        EXPECT_EQ(page->wSideMenu->GetVisibility(), ui::Visibility::Collapsed);
        Ticks();
        EXPECT_EQ(page->wSideMenu->Margin().Right, -260);
        Ticks();
        EXPECT_EQ(page->wSideMenu->GetVisibility(), ui::Visibility::Visible);
        Ticks(25);
        EXPECT_EQ(page->wSideMenu->Margin().Right, 0);

        page->CloseAll();
        Ticks(27);
        ASSERT_EQ(page->wSideMenu->Margin().Right, -270);
    }
}

TEST_F(Tick, APanelWaitsUntilTheSideMenuIsNearlyOut)
{
    Button("SideMenuButton").RaiseClick();
    Ticks(27);
    ASSERT_EQ(page->wSideMenu->Margin().Right, 0);
    ASSERT_DOUBLE_EQ(page->wSideMenu->Opacity(), 1.05);

    page->OpenPanel(&MainPage::OpenFlags::History);
    EXPECT_FALSE(page->Flags.SideMenu);
    Ticks(23);
    EXPECT_EQ(page->wSideMenu->Margin().Right, -230);
    EXPECT_EQ(page->wHistoryPanel->Margin().Right, -270);
    EXPECT_EQ(page->wHistoryPanel->GetVisibility(), ui::Visibility::Collapsed);
    Ticks();
    EXPECT_EQ(page->wSideMenu->Margin().Right, -240);
    EXPECT_EQ(page->wHistoryPanel->Margin().Right, -260);
    Ticks();
    EXPECT_EQ(page->wHistoryPanel->Margin().Right, -250);
    EXPECT_EQ(page->wHistoryPanel->GetVisibility(), ui::Visibility::Visible);
}

TEST_F(Tick, TheOverlayFadesToItsDimAndAway)
{
    auto& overlay = *page->wDimmingOverlay;
    page->OpenPanel(&MainPage::OpenFlags::Favorites);
    Ticks(2);
    EXPECT_DOUBLE_EQ(overlay.Opacity(), 0.06);
    EXPECT_EQ(overlay.GetVisibility(), ui::Visibility::Visible);
    Ticks(9);
    EXPECT_DOUBLE_EQ(overlay.Opacity(), 0.6);
    Ticks(5);
    EXPECT_DOUBLE_EQ(overlay.Opacity(), 0.6);

    // A tap on it closes everything.
    overlay.Tapped(overlay);
    EXPECT_FALSE(page->Flags.Favorites);
    EXPECT_FALSE(page->Flags.OverlayWanted);
    Ticks(9);
    EXPECT_NEAR(overlay.Opacity(), 0.06, 1e-9);
    EXPECT_EQ(overlay.GetVisibility(), ui::Visibility::Visible);
    Ticks();
    EXPECT_DOUBLE_EQ(overlay.Opacity(), 0.0);
    EXPECT_EQ(overlay.GetVisibility(), ui::Visibility::Collapsed);
}

TEST_F(Tick, MenusSnapOpenAndShutAndToggleAgainstEveryOtherFlag)
{
    page->OpenPanel(&MainPage::OpenFlags::Settings);
    Process().Bridge.ContextMenuOpen = true;
    Button("MainMenuButton").RaiseClick();
    EXPECT_TRUE(page->Flags.MainMenu);
    EXPECT_TRUE(page->Flags.OverlayWanted);
    EXPECT_FALSE(page->Flags.Settings);
    EXPECT_FALSE(Process().Bridge.ContextMenuOpen);
    Ticks();
    EXPECT_EQ(page->wMainMenu->GetVisibility(), ui::Visibility::Visible);
    EXPECT_DOUBLE_EQ(page->wDimmingOverlay->Opacity(), 0.6);
    EXPECT_EQ(page->wDimmingOverlay->GetVisibility(), ui::Visibility::Visible);

    // Its entries open their panel (the Tag names it) and close the menu.
    auto& menu = static_cast<ui::Panel&>(*page->wMainMenu);
    ASSERT_EQ(menu.Count(), 5u);
    static_cast<ui::Button&>(menu.ChildAt(1)).RaiseClick();
    EXPECT_TRUE(page->Flags.History);
    EXPECT_TRUE(page->Flags.OverlayWanted);
    EXPECT_FALSE(page->Flags.MainMenu);
    Ticks();
    EXPECT_EQ(page->wMainMenu->GetVisibility(), ui::Visibility::Collapsed);

    // The seventh panel's entry toggles it, the overlay with it.
    auto& seventh = static_cast<ui::Button&>(menu.ChildAt(4));
    seventh.RaiseClick();
    EXPECT_TRUE(page->Flags.SeventhPanel);
    EXPECT_FALSE(page->Flags.History);
    EXPECT_TRUE(page->Flags.OverlayWanted);
    seventh.RaiseClick();
    EXPECT_FALSE(page->Flags.SeventhPanel);
    EXPECT_FALSE(page->Flags.OverlayWanted);

    // The add-favorite panel snaps with its flag the same way.
    page->Flags.AddFavorite = true;
    Ticks();
    EXPECT_EQ(page->wAddFavoritePanel->GetVisibility(), ui::Visibility::Visible);
    page->Flags.AddFavorite = false;
    Ticks();
    EXPECT_EQ(page->wAddFavoritePanel->GetVisibility(), ui::Visibility::Collapsed);
    EXPECT_EQ(page->wDimmingOverlay->GetVisibility(), ui::Visibility::Collapsed);
}

TEST_F(Tick, TheExitHintShowsFor300TicksThenFadesAndResets)
{
    auto& hint = *page->ExitHintBar;
    page->BackPressCount = 1;
    Ticks();
    EXPECT_EQ(hint.GetVisibility(), ui::Visibility::Visible);
    EXPECT_DOUBLE_EQ(hint.Opacity(), 0.05);
    Ticks(19);
    EXPECT_DOUBLE_EQ(hint.Opacity(), 1.0);
    Ticks(280);
    EXPECT_DOUBLE_EQ(hint.Opacity(), 1.0);
    EXPECT_EQ(page->ExitHintTicks, 300);
    Ticks(19);
    EXPECT_DOUBLE_EQ(hint.Opacity(), 0.05);
    EXPECT_EQ(page->BackPressCount, 1);
    EXPECT_EQ(hint.GetVisibility(), ui::Visibility::Visible);
    Ticks();
    EXPECT_EQ(hint.GetVisibility(), ui::Visibility::Collapsed);
    EXPECT_EQ(page->BackPressCount, 0);
    EXPECT_EQ(page->ExitHintTicks, 0);

    // The next first press shows it afresh.
    page->BackPressCount = 1;
    Ticks();
    EXPECT_DOUBLE_EQ(hint.Opacity(), 0.05);
    EXPECT_EQ(page->ExitHintTicks, 1);
}

TEST_F(Tick, AHintWhoseCountWentBackTo0FadesOutInsteadOfStaying)
{
    auto& hint = *page->ExitHintBar;
    page->BackPressCount = 1;
    Ticks(100);
    page->BackPressCount = 0; // a back step in the page
    Ticks(19);
    EXPECT_EQ(hint.GetVisibility(), ui::Visibility::Visible);
    Ticks();
    EXPECT_EQ(hint.GetVisibility(), ui::Visibility::Collapsed);
    EXPECT_EQ(page->ExitHintTicks, 0);
    page->BackPressCount = 1;
    Ticks(300);
    EXPECT_DOUBLE_EQ(hint.Opacity(), 1.0);
}

TEST_F(Tick, TheTitleAndTheLoadingRingCrossFadeWithTheLoadingState)
{
    auto shown = [&](double title, double ring) {
        EXPECT_NEAR(page->PageTitleText->Opacity(), title, 1e-9);
        EXPECT_NEAR(page->VersionText->Opacity(), title, 1e-9);
        EXPECT_NEAR(page->LoadingRing->Opacity(), ring, 1e-9);
        EXPECT_NEAR(page->LoadingText->Opacity(), ring, 1e-9);
    };
    Ticks(5);
    shown(1.0, 0.0); // idle: as the markup has them

    h.Tab(0)->StartNavigation("http://a.example/");
    ASSERT_EQ(page->LoadingState, 1.0);
    Ticks();
    shown(1.05, -0.05);
    Ticks(21);
    shown(0.0, 1.0);
    Ticks(10);
    shown(0.0, 1.0);

    h.Tab(0)->LoadContent("http://a.example/");
    h.Tab(0)->FinishNavigation();
    ASSERT_EQ(page->LoadingState, 0.0);
    Ticks();
    shown(-0.05, 1.05);
    Ticks(21);
    shown(1.0, 0.0);
    Ticks(10);
    shown(1.0, 0.0);
}

// Each case starts its own page: an activation arrives while a page exists.
TEST(Activation, OpensATabOnItsAddressOnce)
{
    struct Case {
        const char* address;
        int tabsAfter;
    } cases[] = {{"http://activated.example/page", 2}, {"not an address", 1}, {"", 1}};
    for (const auto& c : cases) {
        PageHarness h;
        auto& page = h.Start();
        Process().LaunchAddress = c.address;
        Process().PendingActivation = true;
        h.Timers.TickAll();
        EXPECT_FALSE(Process().PendingActivation) << c.address;
        int tabs = 0;
        for (auto* view : Process().Tabs.TabWebViews)
            tabs += view != nullptr;
        EXPECT_EQ(tabs, c.tabsAfter) << c.address;
        EXPECT_TRUE(h.Dialogs.Shown.empty()) << c.address;
        EXPECT_EQ(ConnectionSlots[ConfigDb], nullptr) << c.address;
        if (c.tabsAfter == 2) {
            EXPECT_EQ(h.Tab(1)->Navigations, std::vector<std::string>{c.address});
            EXPECT_EQ(page.CurrentTabIndex, 1);
        }
        h.Timers.TickAll(3);
        EXPECT_EQ(h.Browsers.Created.size(), static_cast<size_t>(c.tabsAfter)) << c.address;
    }
}

TEST_F(Tick, TheCompanionCheckRunsOncePerVideoPage)
{
    struct Case {
        const char* address;
        bool checked;
    } cases[] = {
        {"https://video.example/watch?v=abc", true},
        {"https://video.example/watch?V=abc", false},
        {"https://video.example/", false},
    };
    for (const auto& c : cases) {
        h.Tab(0)->CompleteNavigation(c.address, "Video");
        EXPECT_FALSE(page->BridgePromptShown);
        Ticks();
        EXPECT_EQ(page->BridgePromptShown, c.checked) << c.address;
    }
    // With no tab the check sees an empty address.
    page->CloseTab(*Process().Tabs.TabStripCloseButtons[0]);
    ASSERT_EQ(page->CurrentTabIndex, -1);
    page->BridgePromptShown = false;
    Ticks(2);
    EXPECT_FALSE(page->BridgePromptShown);
}

TEST_F(Tick, AnIdleTickChangesNothing)
{
    // Open and close everything once, then let it all come to rest.
    page->OpenPanel(&MainPage::OpenFlags::Settings);
    page->BackPressCount = 1;
    Process().Bridge.ContextMenuOpen = true;
    Ticks(30);
    page->CloseAll();
    Ticks(400);

    ChangeCounter counter;
    page->Root().SetObserver(&counter);
    Ticks(100);
    page->Root().SetObserver(nullptr);
    EXPECT_EQ(counter.Changes, 0);
}

} // namespace
