// Start-up with doubles: which files, defaults and tabs a start leaves behind.
#include <filesystem>

#include <gtest/gtest.h>

#include "app/process_state.h"
#include "storage/schema.h"
#include "tests/doubles/default_settings.h"
#include "tests/doubles/page_harness.h"

namespace {

using doubles::PageHarness;

std::string LastNavigation(doubles::FakeWebView* view)
{
    return view && !view->Navigations.empty() ? view->Navigations.back() : "";
}

int TabCount()
{
    int count = 0;
    for (auto* view : Process().Tabs.TabWebViews)
        count += view != nullptr;
    return count;
}

TEST(Startup, FirstStartCreatesFilesDefaultsAndOpensTheHomePage)
{
    PageHarness h;
    auto& page = h.Start();

    for (const char* file : {FavoritesFile, HistoryFile, ConfigFile})
        EXPECT_TRUE(std::filesystem::exists(h.Folder.Path() / file)) << file;
    for (auto& s : doubles::DefaultSettings()) {
        EXPECT_EQ(h.QueryText(ConfigFile, "SELECT " + s.Column + " FROM " + s.Table), s.Default) << s.Table;
        EXPECT_EQ(h.QueryInteger(ConfigFile, "SELECT COUNT(*) FROM " + s.Table), 1) << s.Table;
    }
    EXPECT_EQ(h.QueryInteger(ConfigFile, "SELECT COUNT(*) FROM wConfig_PagesOpened"), 0);

    ASSERT_EQ(TabCount(), 1);
    EXPECT_EQ(LastNavigation(h.Tab(0)), "http://www.bing.com/");
    EXPECT_EQ(page.CurrentTabIndex, 0);
    EXPECT_EQ(page.wHomeScreenPanel->GetVisibility(), ui::Visibility::Visible);
    EXPECT_EQ(page.TitleBarStatusText, "true");
    EXPECT_EQ(page.VersionText->Text(), "Version: 1.2.3.4");
    EXPECT_EQ(h.View.TitleBarElement, page.TitleBarArea);
    ASSERT_TRUE(h.View.Colors);
    EXPECT_EQ(h.View.Colors->ButtonHoverBackground, ui::Color::FromArgb(127, 48, 48, 48));
    EXPECT_EQ(h.System.StatusBarHides, 0);
    // Both timers exist; only the polling timer runs until a download starts.
    ASSERT_EQ(h.Timers.Created.size(), 2u);
    EXPECT_TRUE(h.Timers.Created[0]->Enabled);
    EXPECT_FALSE(h.Timers.Created[1]->Enabled);
    EXPECT_TRUE(h.Dialogs.Shown.empty());
}

class Restore : public ::testing::Test {
protected:
    void SaveThreeTabs(const char* restoreStatus)
    {
        h.Start();
        h.Stop();
        h.Execute(ConfigFile, std::string("DELETE FROM wConfig_PagesOpenedStatus; INSERT INTO "
                                          "wConfig_PagesOpenedStatus VALUES ('") + restoreStatus + "');");
        // Inserted out of order: the tabs must follow wID, not the insertion order.
        h.Execute(ConfigFile, "INSERT INTO wConfig_PagesOpened VALUES (2, 'http://c.example/');"
                              "INSERT INTO wConfig_PagesOpened VALUES (0, 'http://a.example/');"
                              "INSERT INTO wConfig_PagesOpened VALUES (1, 'http://b.example/');");
    }
    PageHarness h;
};

TEST_F(Restore, OnReopensTheSavedTabsInIdOrderAndKeepsTheRows)
{
    SaveThreeTabs("true");
    h.Start();
    ASSERT_EQ(TabCount(), 3);
    EXPECT_EQ(LastNavigation(h.Tab(0)), "http://a.example/");
    EXPECT_EQ(LastNavigation(h.Tab(1)), "http://b.example/");
    EXPECT_EQ(LastNavigation(h.Tab(2)), "http://c.example/");
    EXPECT_EQ(h.QueryInteger(ConfigFile, "SELECT COUNT(*) FROM wConfig_PagesOpened"), 3);
    EXPECT_EQ(h.Page().CurrentTabIndex, 2);
}

TEST_F(Restore, LaunchAddressWinsAndDropsTheSavedRows)
{
    SaveThreeTabs("true");
    h.Start("http://launch.example/page");
    ASSERT_EQ(TabCount(), 1);
    EXPECT_EQ(LastNavigation(h.Tab(0)), "http://launch.example/page");
    EXPECT_EQ(h.QueryInteger(ConfigFile, "SELECT COUNT(*) FROM wConfig_PagesOpened"), 0);
}

TEST_F(Restore, OffDropsTheSavedRowsAndOpensTheHomePage)
{
    SaveThreeTabs("false");
    h.Start();
    ASSERT_EQ(TabCount(), 1);
    EXPECT_EQ(LastNavigation(h.Tab(0)), "http://www.bing.com/");
    EXPECT_EQ(h.QueryInteger(ConfigFile, "SELECT COUNT(*) FROM wConfig_PagesOpened"), 0);
}

TEST_F(Restore, OnWithNoSavedRowsOpensTheHomePage)
{
    h.Start();
    h.Stop();
    h.Execute(ConfigFile, "DELETE FROM wConfig_PagesOpenedStatus; INSERT INTO wConfig_PagesOpenedStatus VALUES ('true');");
    h.Start();
    ASSERT_EQ(TabCount(), 1);
    EXPECT_EQ(LastNavigation(h.Tab(0)), "http://www.bing.com/");
}

TEST(Startup, LaunchAddressThatDoesNotParseOpensTheHomePageInstead)
{
    PageHarness h;
    h.Start("not an address at all");
    ASSERT_EQ(TabCount(), 1);
    EXPECT_EQ(LastNavigation(h.Tab(0)), "http://www.bing.com/");
}

TEST(Startup, HomeScreenFollowsItsSetting)
{
    PageHarness h;
    h.Start();
    h.Stop();
    h.Execute(ConfigFile, "DELETE FROM wConfig_HomeScreenStatus; INSERT INTO wConfig_HomeScreenStatus VALUES ('false');");
    auto& page = h.Start();
    EXPECT_EQ(page.wHomeScreenPanel->GetVisibility(), ui::Visibility::Collapsed);
}

TEST(Startup, ClosingTheHomeScreenWithDoNotShowTurnsTheSettingOff)
{
    PageHarness h;
    auto& page = h.Start();
    page.wHomeScreenCheckBox_DoNotShow->SetIsChecked(true);
    page.CloseHomeScreen_Click(*page.wHomeScreenPanel);
    EXPECT_EQ(page.wHomeScreenPanel->GetVisibility(), ui::Visibility::Collapsed);
    EXPECT_EQ(h.QueryText(ConfigFile, "SELECT wSTATUS FROM wConfig_HomeScreenStatus"), "false");
}

TEST(Startup, AFileThatCannotBeOpenedIsReportedOnceAndStartUpGoesOn)
{
    PageHarness h;
    // A folder where the favorites file should be: SQLite cannot open it.
    std::filesystem::create_directory(h.Folder.Path() / FavoritesFile);
    h.Start();
    ASSERT_EQ(h.Dialogs.Shown.size(), 1u);
    EXPECT_EQ(h.Dialogs.Shown[0].Content, "Não foi possivel abrir a database.");
    EXPECT_EQ(h.Dialogs.Shown[0].Title, "Erro");
    EXPECT_EQ(TabCount(), 1);
    EXPECT_EQ(h.QueryText(ConfigFile, "SELECT wCOLOR FROM wConfig_ThemeColor"), "Escuro");
}

TEST(Startup, OnAPhoneTheStatusBarIsHidden)
{
    PageHarness h;
    h.System.Phone = true;
    h.Start();
    EXPECT_EQ(h.System.StatusBarHides, 1);
}

TEST(ExitConfirmation, OnlyYesEndsTheApplication)
{
    PageHarness h;
    auto& page = h.Start();
    page.CloseAppButton_Click(*page.CloseAppButton);
    ASSERT_EQ(h.Dialogs.Shown.size(), 1u);
    EXPECT_EQ(h.Dialogs.Shown[0].Title, "Tolvane Browser");
    EXPECT_EQ(h.Dialogs.Shown[0].Commands, (std::vector<std::string>{"Yes", "No"}));
    h.Dialogs.Answer("No");
    EXPECT_EQ(h.View.ExitCalls, 0);
    page.CloseAppButton_Click(*page.CloseAppButton);
    h.Dialogs.Answer("Yes");
    EXPECT_EQ(h.View.ExitCalls, 1);
}

} // namespace
