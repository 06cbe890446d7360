// Navigation events: history once per link and day, open pages, captions, the
// chrome that follows only the current tab.
#include <gtest/gtest.h>

#include "app/process_state.h"
#include "storage/database.h"
#include "storage/schema.h"
#include "tests/doubles/page_harness.h"

namespace {

using doubles::PageHarness;

class Navigation : public ::testing::Test {
protected:
    void SetUp() override { h.Start(); }
    int HistoryRows() { return h.QueryInteger(HistoryFile, "SELECT COUNT(*) FROM wHistoric_PagesOpened"); }
    PageHarness h;
};

TEST_F(Navigation, HistoryIsRecordedOncePerLinkAndDay)
{
    auto* tab = h.Tab(0);
    h.Clock.Current = {5, 3, 7, 9};
    tab->CompleteNavigation("http://a.example/", "A");
    tab->CompleteNavigation("http://a.example/", "A again");
    tab->CompleteFrameNavigation("http://ads.example/frame");
    EXPECT_EQ(HistoryRows(), 1);
    EXPECT_EQ(h.QueryText(HistoryFile, "SELECT wDATE FROM wHistoric_PagesOpened WHERE wID=1"), "5/3");
    EXPECT_EQ(h.QueryText(HistoryFile, "SELECT wTIME FROM wHistoric_PagesOpened WHERE wID=1"), "7h9");
    EXPECT_EQ(h.QueryText(HistoryFile, "SELECT wNAME FROM wHistoric_PagesOpened WHERE wID=1"), "A");

    h.Clock.Current = {6, 3, 0, 0};
    tab->CompleteNavigation("http://a.example/", "A next day");
    EXPECT_EQ(HistoryRows(), 2);
    EXPECT_EQ(h.QueryText(HistoryFile, "SELECT wTIME FROM wHistoric_PagesOpened WHERE wID=2"), "0h0");
}

TEST_F(Navigation, PrivateTabsAndTheSettingOffRecordNoHistoryButKeepOpenPages)
{
    h.Page().NewPrivateTab_Click(*h.Page().AdressBox);
    h.Tab(1)->CompleteNavigation("http://private.example/", "Private");
    EXPECT_EQ(HistoryRows(), 0);
    EXPECT_EQ(h.QueryText(ConfigFile, "SELECT wLINK FROM wConfig_PagesOpened WHERE wID=1"), "http://private.example/");

    h.Execute(ConfigFile, "DELETE FROM wConfig_SaveFavoriteStatus; INSERT INTO wConfig_SaveFavoriteStatus VALUES ('false');");
    h.Tab(0)->CompleteNavigation("http://normal.example/", "Normal");
    EXPECT_EQ(HistoryRows(), 0);
    EXPECT_EQ(h.QueryText(ConfigFile, "SELECT wLINK FROM wConfig_PagesOpened WHERE wID=0"), "http://normal.example/");
    EXPECT_EQ(Process().Tabs.TabStripCaptions[0]->Content(), "Normal");
}

TEST_F(Navigation, TitlesWithQuotesAndAnyScriptAreStoredAndShown)
{
    const std::string title = "Tom's \"best\" page — Ελληνικά 中文 🙂";
    h.Tab(0)->CompleteNavigation("http://quotes.example/?q='x'", title);
    EXPECT_EQ(h.QueryInteger(HistoryFile, "SELECT COUNT(*) FROM wHistoric_PagesOpened"), 1);
    // Read back through the page's own layer, which decodes what it stored.
    OpenDatabase(HistoryDb, HistoryFile);
    EXPECT_EQ(QueryText(HistoryDb, "SELECT wNAME FROM wHistoric_PagesOpened WHERE wID=1"),
              "Tom's 'best' page — Ελληνικά 中文 🙂");
    EXPECT_EQ(QueryText(HistoryDb, "SELECT wLINK FROM wHistoric_PagesOpened WHERE wID=1"),
              "http://quotes.example/?q='x'");
    CloseDatabase(HistoryDb);
    EXPECT_EQ(h.Page().PageTitleText->Text(), title);
    EXPECT_EQ(Process().Tabs.TabListCaptions[0]->Content(), title);
}

TEST_F(Navigation, AnUntitledPageIsStoredAndShownAsSuch)
{
    h.Tab(0)->CompleteNavigation("http://untitled.example/", "");
    OpenDatabase(HistoryDb, HistoryFile);
    EXPECT_EQ(QueryText(HistoryDb, "SELECT wNAME FROM wHistoric_PagesOpened WHERE wID=1"), "Sem título");
    CloseDatabase(HistoryDb);
    EXPECT_EQ(h.Page().PageTitleText->Text(), "[Sem título]");
}

TEST_F(Navigation, ABackgroundTabChangesOnlyItsOwnCaptions)
{
    auto& page = h.Page();
    page.OpenTab(*platform::Uri::Parse("http://front.example/"));
    h.Tab(1)->CompleteNavigation("http://front.example/", "Front");
    page.LoadingRing->SetIsActive(true);
    page.LoadingState = 1.0;

    h.Tab(0)->CompleteNavigation("http://back.example/", "Back");

    EXPECT_EQ(Process().Tabs.TabStripCaptions[0]->Content(), "Back");
    EXPECT_EQ(page.AdressBox->Text(), "http://front.example/");
    EXPECT_EQ(page.PageTitleText->Text(), "Front");
    EXPECT_TRUE(page.LoadingRing->IsActive());
    EXPECT_EQ(page.LoadingState, 1.0);
    EXPECT_EQ(h.QueryText(ConfigFile, "SELECT wLINK FROM wConfig_PagesOpened WHERE wID=0"), "http://back.example/");
}

TEST_F(Navigation, WhatTheUserTypesIsNotOverwritten)
{
    auto& page = h.Page();
    page.AdressBox->SetFocusStateFromUser(ui::FocusState::Keyboard);
    page.AdressBox->SetTextFromUser("still typing");
    h.Tab(0)->CompleteNavigation("http://loaded.example/", "Loaded");
    EXPECT_EQ(page.AdressBox->Text(), "still typing");
    EXPECT_EQ(page.PageTitleText->Text(), "Loaded");
}

TEST_F(Navigation, SaveImageControlsFollowTheExtensionCaseSensitively)
{
    auto& page = h.Page();
    const std::pair<const char*, ui::Visibility> cases[] = {
        {"http://img.example/cat.jpg", ui::Visibility::Visible},
        {"http://img.example/cat.jpeg?size=2", ui::Visibility::Visible},
        {"http://img.example/cat.tif", ui::Visibility::Visible},
        {"http://img.example/cat.JPG", ui::Visibility::Collapsed},
        {"http://img.example/cat.webp", ui::Visibility::Collapsed},
        {"http://img.example/dir.png/", ui::Visibility::Collapsed},
    };
    for (auto& [address, expected] : cases) {
        h.Tab(0)->CompleteNavigation(address, "");
        EXPECT_EQ(page.SaveImageButton->GetVisibility(), expected) << address;
        EXPECT_EQ(page.SaveImageText->GetVisibility(), expected) << address;
    }
}

TEST_F(Navigation, ZoomIsReappliedOnlyWhenNotOneAndTheStarFollowsFavorites)
{
    auto* tab = h.Tab(0);
    tab->CompleteNavigation("http://plain.example/", "Plain");
    for (auto& script : tab->Scripts)
        EXPECT_EQ(script.Arguments.at(0).find("zoom"), std::string::npos);
    EXPECT_EQ(h.Page().FavoriteStarButton->Content(), "\xEE\x88\x88");

    h.Execute(FavoritesFile, "INSERT INTO wFavorite_Registered VALUES (NULL, 'Fav', 'http://fav.example/');");
    Process().Tabs.ZoomFactors[0] = 0.5;
    Process().Tabs.ZoomPercentages[0] = 50;
    tab->CompleteNavigation("http://fav.example/", "Fav");
    ASSERT_FALSE(tab->Scripts.empty());
    EXPECT_EQ(tab->Scripts.back().Arguments.at(0), "document.getElementsByTagName('body')[0].style = 'zoom: 0.5;';");
    EXPECT_EQ(h.Page().ZoomText->Text(), "50%");
    EXPECT_EQ(h.Page().FavoriteStarButton->Content(), "\xEE\x87\x8F");
    EXPECT_EQ(h.Page().FavoriteStarButton->Foreground(), ui::Color::FromRgb(247, 203, 0));
}

TEST_F(Navigation, AFailedLoadShowsTheErrorPageAndTheFailedAddress)
{
    auto& page = h.Page();
    h.Tab(0)->FailNavigation("http://refused.example/", 2);
    ASSERT_FALSE(h.Tab(0)->Navigations.empty());
    EXPECT_EQ(h.Tab(0)->Navigations.back(), "ms-appx-web:///Assets/wPageError_EN.htm");
    EXPECT_EQ(page.AdressBox->Text(), "http://refused.example/");
    EXPECT_FALSE(page.LoadingRing->IsActive());
    EXPECT_EQ(HistoryRows(), 0);

    // The error page itself completes: not history, and the box keeps the failed address.
    h.Tab(0)->CompleteNavigation("ms-appx-web:///Assets/wPageError_EN.htm", "Page not found");
    EXPECT_EQ(HistoryRows(), 0);
    EXPECT_EQ(page.AdressBox->Text(), "http://refused.example/");

    h.Strings.Table["wLanguage"] = "PT-BR";
    h.Tab(0)->FailNavigation("http://refused.example/", 2);
    EXPECT_EQ(h.Tab(0)->Navigations.back(), "ms-appx-web:///Assets/wPageError_PT.htm");
}

TEST_F(Navigation, PrivateTabsGetTheirMarkOnce)
{
    h.Page().NewPrivateTab_Click(*h.Page().AdressBox);
    auto* header = Process().Tabs.TabStripHeaders[1];
    h.Tab(1)->CompleteNavigation("http://p.example/", "P");
    h.Tab(1)->CompleteNavigation("http://p.example/2", "P2");
    EXPECT_EQ(header->Name(), "wNewPageStackPanel_Private");
    EXPECT_EQ(header->Count(), 3u);                          // caption, close, mark
    EXPECT_EQ(Process().Tabs.TabListHeaders[1]->Count(), 3u);
}

TEST_F(Navigation, ALateTitleReachesTheCaptionsAndTitle)
{
    auto* tab = h.Tab(0);
    tab->CompleteNavigation("http://late.example/", "");
    tab->ChangeTitle("Arrived late");
    EXPECT_EQ(Process().Tabs.TabStripCaptions[0]->Content(), "Arrived late");
    EXPECT_EQ(h.Page().PageTitleText->Text(), "Arrived late");
}

} // namespace
