// Navigation events: history, open pages, captions, the chrome that follows
// only the current tab.
#include <gtest/gtest.h>

#include <algorithm>

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
    h.Clock.Current = {6, 3, 0, 0};
    tab->CompleteNavigation("http://a.example/", "A next day");
    EXPECT_EQ(h.QueryText(HistoryFile, "SELECT wID, wNAME, wDATE, wTIME FROM wHistoric_PagesOpened"),
              "1|A|5/3|7h9\n2|A next day|6/3|0h0");
}

TEST_F(Navigation, PrivateTabsAndTheSettingOffRecordNoHistoryButKeepOpenPages)
{
    h.Click("NewPrivateTabButton");
    h.Tab(1)->CompleteNavigation("http://private.example/", "Private");
    h.Tab(1)->CompleteNavigation("http://private.example/2", "Private 2");
    EXPECT_EQ(HistoryRows(), 0);
    // The private mark joins both headers once: caption, close, mark.
    EXPECT_EQ(h.Slot(1).StripHeader->Name(), "wNewPageStackPanel_Private");
    EXPECT_EQ(h.Slot(1).StripHeader->Count(), 3u);
    EXPECT_EQ(h.Slot(1).ListHeader->Count(), 3u);
    EXPECT_EQ(h.QueryText(ConfigFile, "SELECT wLINK FROM wConfig_PagesOpened WHERE wID=1"), "http://private.example/2");

    h.StoreSetting("wConfig_SaveFavoriteStatus", "false");
    h.Tab(0)->CompleteNavigation("http://normal.example/", "Normal");
    EXPECT_EQ(HistoryRows(), 0);
    EXPECT_EQ(h.QueryText(ConfigFile, "SELECT wLINK FROM wConfig_PagesOpened WHERE wID=0"), "http://normal.example/");
    EXPECT_EQ(h.Slot(0).StripCaption->Content(), "Normal");
}

TEST_F(Navigation, TitlesWithQuotesAnyScriptNoneOrLateAreStoredAndShown)
{
    struct Case {
        std::string link, title, stored, shown;
    } cases[] = {
        {"http://quotes.example/?q='x'", "Tom's \"best\" page — Ελληνικά 中文 🙂",
         "Tom's 'best' page — Ελληνικά 中文 🙂", "Tom's \"best\" page — Ελληνικά 中文 🙂"},
        {"http://untitled.example/", "", "Sem título", "[Sem título]"},
    };
    for (const auto& c : cases) {
        h.Tab(0)->CompleteNavigation(c.link, c.title);
        // Read back through the page's own layer, which decodes what it stored.
        OpenDatabase(HistoryDb, HistoryFile);
        EXPECT_EQ(QueryText(HistoryDb, "SELECT wNAME || '|' || wLINK FROM wHistoric_PagesOpened ORDER BY wID DESC"),
                  c.stored + "|" + c.link);
        CloseDatabase(HistoryDb);
        EXPECT_EQ(std::pair(h.Controls().PageTitleText->Text(), h.Slot(0).ListCaption->Content()),
                  std::pair(c.shown, c.shown));
    }
    h.Tab(0)->ChangeTitle("Arrived late");
    EXPECT_EQ(h.Slot(0).StripCaption->Content(), "Arrived late");
    EXPECT_EQ(h.Controls().PageTitleText->Text(), "Arrived late");
}

// Loading is each tab's own: whatever happens to the others, the ring and
// the title show the current tab's state.
TEST_F(Navigation, TheRingTitleAndBoxFollowTheCurrentTabsOwnLoading)
{
    // The title and version fade out as the ring and its caption fade in, and back.
    auto ringShows = [&](bool loading) {
        const auto& c = h.Controls();
        EXPECT_EQ(c.LoadingRing->IsActive(), loading);
        h.Timers.TickAll(30);
        for (ui::Element* title : {(ui::Element*)c.PageTitleText, (ui::Element*)c.VersionText})
            EXPECT_NEAR(title->Opacity(), loading ? 0.0 : 1.0, 1e-9);
        for (ui::Element* ring : {(ui::Element*)c.LoadingRing, (ui::Element*)c.LoadingText})
            EXPECT_NEAR(ring->Opacity(), loading ? 1.0 : 0.0, 1e-9);
    };
    h.Tab(0)->CompleteNavigation("http://a.example/", "A");
    ringShows(false);
    h.Page().OpenTab(*platform::Uri::Parse("http://b.example/"));
    h.Tab(1)->StartNavigation("http://b.example/");
    ringShows(true);

    // A background tab's load changes only its own captions and row.
    h.Tab(0)->CompleteNavigation("http://back.example/", "Back");
    ringShows(true);
    EXPECT_EQ(h.Slot(0).StripCaption->Content(), "Back");
    EXPECT_NE(h.Controls().AdressBox->Text(), "http://back.example/");
    EXPECT_NE(h.Controls().PageTitleText->Text(), "Back");
    EXPECT_EQ(h.QueryText(ConfigFile, "SELECT wLINK FROM wConfig_PagesOpened WHERE wID=0"), "http://back.example/");

    // Away from the loading tab, which then finishes in the background.
    h.Page().SelectTab(*h.Slot(0).StripCaption);
    ringShows(false);
    h.Tab(1)->CompleteNavigation("http://b.example/", "B");
    h.Page().SelectTab(*h.Slot(1).StripCaption);
    ringShows(false);

    // A loading tab closed: the tab shown instead is not loading.
    h.Tab(1)->StartNavigation("http://b.example/2");
    ringShows(true);
    h.Page().CloseTab(*h.Slot(1).StripCloseButton);
    ringShows(false);

    // A frame finishing inside a loading page does not end its load; a failure does.
    h.Tab(0)->StartNavigation("http://a.example/framed");
    h.Tab(0)->CompleteFrameNavigation("http://a.example/frame");
    ringShows(true);
    h.Tab(0)->FailNavigation("http://a.example/framed", 2);
    ringShows(false);
    // Content the view cannot show ends the load too.
    h.Tab(0)->StartNavigation("http://a.example/file.zip");
    h.Tab(0)->IdentifyUnviewableContent("http://a.example/file.zip", "application/zip");
    ringShows(false);
}

TEST_F(Navigation, WhatTheUserTypesIsNotOverwritten)
{
    h.Controls().AdressBox->SetFocusStateFromUser(ui::FocusState::Keyboard);
    h.Controls().AdressBox->SetTextFromUser("still typing");
    h.Tab(0)->CompleteNavigation("http://loaded.example/", "Loaded");
    EXPECT_EQ(h.Controls().AdressBox->Text(), "still typing");
    EXPECT_EQ(h.Controls().PageTitleText->Text(), "Loaded");
}

TEST_F(Navigation, SaveImageControlsFollowTheExtensionCaseSensitively)
{
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
        EXPECT_EQ(std::pair(h.Controls().SaveImageButton->GetVisibility(), h.Controls().SaveImageText->GetVisibility()),
                  std::pair(expected, expected)) << address;
    }
}

TEST_F(Navigation, ZoomIsReappliedOnlyWhenNotOneAndTheStarFollowsFavorites)
{
    auto* tab = h.Tab(0);
    tab->CompleteNavigation("http://plain.example/", "Plain");
    for (auto& script : tab->Scripts)
        EXPECT_EQ(script.Arguments.at(0).find("zoom"), std::string::npos);
    EXPECT_EQ(h.Controls().FavoriteStarButton->Content(), "\xEE\x88\x88");

    h.Execute(FavoritesFile, "INSERT INTO wFavorite_Registered VALUES (NULL, 'Fav', 'http://fav.example/');");
    h.Process.Tabs[0].ZoomFactor = 0.5;
    h.Process.Tabs[0].ZoomPercentage = 50;
    tab->CompleteNavigation("http://fav.example/", "Fav");
    ASSERT_FALSE(tab->Scripts.empty());
    EXPECT_EQ(tab->Scripts.back().Arguments.at(0), "document.getElementsByTagName('body')[0].style.zoom = '0.5';");
    EXPECT_EQ(h.Controls().ZoomText->Text(), "50%");
    EXPECT_EQ(h.Controls().FavoriteStarButton->Content(), "\xEE\x87\x8F");
    EXPECT_EQ(h.Controls().FavoriteStarButton->Foreground(), ui::Color::FromRgb(247, 203, 0));
}

TEST_F(Navigation, AFailedLoadShowsTheErrorPageAndTheFailedAddress)
{
    h.Tab(0)->FailNavigation("http://refused.example/", 2);
    ASSERT_FALSE(h.Tab(0)->Navigations.empty());
    EXPECT_EQ(h.Tab(0)->Navigations.back(), "ms-appx-web:///Assets/wPageError_EN.htm");
    EXPECT_EQ(h.Controls().AdressBox->Text(), "http://refused.example/");
    EXPECT_FALSE(h.Controls().LoadingRing->IsActive());
    EXPECT_EQ(HistoryRows(), 0);

    // The error page itself completes: not history, and the box keeps the failed address.
    h.Tab(0)->CompleteNavigation("ms-appx-web:///Assets/wPageError_EN.htm", "Page not found");
    EXPECT_EQ(HistoryRows(), 0);
    EXPECT_EQ(h.Controls().AdressBox->Text(), "http://refused.example/");

    h.Strings.Table["wLanguage"] = "PT-BR";
    h.Tab(0)->FailNavigation("http://refused.example/", 2);
    ASSERT_FALSE(h.Tab(0)->Navigations.empty());
    EXPECT_EQ(h.Tab(0)->Navigations.back(), "ms-appx-web:///Assets/wPageError_PT.htm");

    // Nor does a blank page the engine shows for a load it refused.
    h.Tab(0)->CompleteNavigation("about:blank", "");
    EXPECT_EQ(HistoryRows(), 0);
}

// The page scripts add listeners: they go into each document once, at the
// top document's completion, however many frames complete around it.
TEST_F(Navigation, PageScriptsAreInjectedOncePerDocument)
{
    auto* tab = h.Tab(0);
    auto injected = [&] {
        return std::count_if(tab->Scripts.begin(), tab->Scripts.end(), [](const auto& s) {
            return s.Arguments.at(0).find("getElementsByTagName(\"a\")") != std::string::npos;
        });
    };
    tab->StartNavigation("http://framed.example/");
    tab->LoadContent("http://framed.example/");
    for (int frame = 0; frame < 200; ++frame)
        tab->CompleteFrameNavigation("http://framed.example/frame" + std::to_string(frame));
    EXPECT_EQ(injected(), 0);
    tab->FinishNavigation();
    EXPECT_EQ(injected(), 1);
    tab->CompleteFrameNavigation("http://framed.example/late-frame");
    EXPECT_EQ(injected(), 1);
    // Every frame's completion still refreshed the history and the open pages.
    EXPECT_EQ(HistoryRows(), 1);
    tab->CompleteNavigation("http://framed.example/next", "Next");
    EXPECT_EQ(injected(), 2);
}

// One user input opens at most one tab, however often the page asks.
TEST_F(Navigation, OneGestureOpensOneTab)
{
    auto request = [&](int tab, const std::string& uri, uint64_t gesture) {
        platform::NewWindowRequestedArgs args{uri, "", gesture};
        h.Tab(tab)->NewWindowRequested(*h.Tab(tab), args);
        EXPECT_TRUE(args.Handled);
    };
    for (int k = 0; k < 30; ++k)
        request(0, "http://popup.example/" + std::to_string(k), 7);
    EXPECT_EQ(h.TabCount(), 2);
    request(0, "http://popup.example/next-click", 8);
    EXPECT_EQ(h.TabCount(), 3);
    // The opened tab asks with its own inputs.
    request(1, "http://popup.example/from-the-popup", 8);
    EXPECT_EQ(h.TabCount(), 4);
    EXPECT_TRUE(h.Dialogs.Shown.empty());
}

} // namespace
