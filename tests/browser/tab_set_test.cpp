// The tab set: slots, numbering, rows and private tabs, driven through the page.
#include <gtest/gtest.h>

#include "app/process_state.h"
#include "storage/schema.h"
#include "tests/doubles/page_harness.h"

namespace {

using doubles::PageHarness;

class Tabs : public ::testing::Test {
protected:
    MainPage& Start() { return h.Start(); }
    void Open(const std::string& address) { h.Page().OpenTab(*platform::Uri::Parse(address)); }
    // Loads each open tab's page so that every tab has its wConfig_PagesOpened row.
    void CompleteAll()
    {
        for (int k = 0; k < MaxTabs; ++k)
            if (auto* view = h.Tab(k))
                view->CompleteNavigation(view->Navigations.back(), "Page " + std::to_string(k));
    }
    int Count() { return h.TabCount(); }
    PageHarness h;
};

TEST_F(Tabs, TheTwentyFirstTabIsRefusedAndSlot19IsReusable)
{
    auto& page = Start();
    for (int k = 1; k < MaxTabs; ++k)
        Open("http://t" + std::to_string(k) + ".example/");
    ASSERT_EQ(Count(), 20);
    h.Dialogs.Shown.clear();

    // A burst of refused tabs tells the user once, not once per request.
    Open("http://one-too-many.example/");
    Open("http://two-too-many.example/");
    EXPECT_EQ(Count(), 20);
    ASSERT_EQ(h.Dialogs.Shown.size(), 1u);
    EXPECT_EQ(std::pair(h.Dialogs.Shown[0].Content, h.Dialogs.Shown[0].Title),
              std::pair(h.Strings.GetString("wMessageBox_MaxGuides"), std::string("Tolvane Browser")));
    EXPECT_EQ(h.Tabs().CurrentTabIndex(), 19);

    page.CloseTab(*h.Slot(5).StripCloseButton);
    Open("http://again.example/");
    ASSERT_NE(h.Tab(19), nullptr);
    EXPECT_EQ(std::pair(h.Tab(19)->Navigations.back(), h.Tabs().CurrentTabIndex()),
              std::pair(std::string("http://again.example/"), 19));
}

TEST_F(Tabs, ClosingTheMiddleTabMovesTheLaterOnesDown)
{
    auto& page = Start();
    for (int k = 1; k < 5; ++k)
        Open("http://t" + std::to_string(k) + ".example/");
    CompleteAll();
    auto* formerThird = h.Tab(3);
    auto* formerFourth = h.Tab(4);

    page.CloseTab(*h.Slot(2).ListCloseButton);
    EXPECT_EQ((std::vector<int>{Count(), h.Tabs().LastTabIndex(), h.Tabs().CurrentTabIndex()}),
              (std::vector<int>{4, 3, 2}));
    EXPECT_EQ(std::pair(h.Tab(2), h.Tab(3)), std::pair(formerThird, formerFourth));
    for (int k = 0; k < 4; ++k) {
        const auto& slot = h.Slot(k);
        ui::Element* elements[] = {slot.WebView, slot.StripHeader, slot.StripCaption, slot.StripCloseButton,
                                   slot.ListHeader, slot.ListCaption, slot.ListCloseButton};
        for (auto* element : elements) {
            ASSERT_NE(element, nullptr);
            EXPECT_EQ(element->Tag(), k);
        }
        // Child k of each panel is tab k.
        const auto& c = h.Controls();
        EXPECT_EQ((std::vector<ui::Element*>{&c.WebViewHost->ChildAt(k), &c.TabStripPanel->ChildAt(k),
                                             &c.TabListPanel->ChildAt(k)}),
                  (std::vector<ui::Element*>{slot.WebView, slot.StripHeader, slot.ListHeader}));
    }
    EXPECT_EQ(h.Slot(4).WebView, nullptr);
    EXPECT_EQ(h.QueryText(ConfigFile, "SELECT wID, wLINK FROM wConfig_PagesOpened WHERE wID >= 2"),
              "2|http://t3.example/\n3|http://t4.example/");
    EXPECT_EQ(formerThird->GetVisibility(), ui::Visibility::Visible);
    EXPECT_EQ(h.Tab(0)->GetVisibility(), ui::Visibility::Collapsed);
    // Names keep their creation number.
    EXPECT_EQ(formerFourth->Name(), "wNewPageWebView_4");
}

// Closing the highest tab makes the one before it current; closing the only
// one leaves an empty browser that can open tabs again.
TEST_F(Tabs, ClosingTheLastTabsDownToAnEmptyBrowser)
{
    auto& page = Start();
    Open("http://second.example/");
    page.CloseTab(*h.Slot(1).StripCloseButton);
    EXPECT_EQ(h.Tabs().CurrentTabIndex(), 0);
    EXPECT_EQ(h.Tab(0)->GetVisibility(), ui::Visibility::Visible);
    page.CloseTab(*h.Slot(0).StripCloseButton);
    EXPECT_EQ(std::pair(h.Tabs().CurrentTabIndex(), h.Tabs().LastTabIndex()), std::pair(-1, -1));
    ASSERT_FALSE(h.Dialogs.Shown.empty());
    EXPECT_EQ((std::vector<std::string>{h.Dialogs.Shown.back().Content, h.Controls().PageTitleText->Text(),
                                        h.Controls().AdressBox->Text()}),
              (std::vector<std::string>{h.Strings.GetString("wMessageBox_NullGuides"), "Tolvane Browser",
                                        h.Strings.GetString("wAdress_DefaultLink")}));

    h.Click("NewTabButton");
    ASSERT_NE(h.Tab(0), nullptr);
    EXPECT_EQ(std::pair(h.Tabs().CurrentTabIndex(), h.Tab(0)->Navigations.back()),
              std::pair(0, std::string("http://www.bing.com/")));
}

TEST_F(Tabs, PrivacyIsInheritedFromTheCurrentTabAndSetBeforeTheFirstLoad)
{
    using enum platform::BrowsingSession;
    auto& page = Start();
    h.Click("NewPrivateTabButton");
    auto* privateTab = h.Tab(1);
    ASSERT_NE(privateTab, nullptr);
    Open("http://from-private.example/");
    page.SelectTab(*h.Slot(0).StripCaption);
    Open("http://from-normal.example/");
    // A private tab's pop-up is private too, whichever tab is current.
    EXPECT_TRUE(privateTab->RequestNewWindow("http://popup.example/"));
    const std::pair<std::string, platform::BrowsingSession> expected[] = {
        {"wNewPageWebView_Private", Private}, {"wNewPageWebView_Private", Private},
        {"wNewPageWebView_3", Normal}, {"wNewPageWebView_Private", Private}};
    for (int k = 1; k <= 4; ++k)
        EXPECT_EQ(std::pair(h.Tab(k)->Name(), h.Tab(k)->Session), expected[k - 1]) << k;
    EXPECT_EQ(h.Tab(4)->Navigations.back(), "http://popup.example/");
}

TEST_F(Tabs, SelectingATabShowsItsPageAndAppliesItsZoom)
{
    auto& page = Start();
    Open("http://second.example/");
    h.Tab(0)->CompleteNavigation("http://first.example/", "First \"quoted\" Ωμέγα 🙂");
    h.Process.Tabs[0].ZoomFactor = 1.5;
    h.Process.Tabs[0].ZoomPercentage = 150;

    page.SelectTab(*h.Slot(0).ListCaption);
    EXPECT_EQ(std::pair(h.Tabs().CurrentTabIndex(), h.Tabs().PreviousTabIndex()), std::pair(0, 1));
    EXPECT_EQ(std::pair(h.Tab(0)->GetVisibility(), h.Tab(1)->GetVisibility()),
              std::pair(ui::Visibility::Visible, ui::Visibility::Collapsed));
    const std::string title = "First \"quoted\" Ωμέγα 🙂";
    EXPECT_EQ((std::vector<std::string>{h.Controls().AdressBox->Text(), h.Controls().PageTitleText->Text(),
                                        h.Slot(0).StripCaption->Content(), h.Controls().ZoomText->Text()}),
              (std::vector<std::string>{"http://first.example/", title, title, "150%"}));
    EXPECT_EQ(std::pair(h.Slot(0).StripCaption->Background(), h.Slot(1).StripCaption->Background()),
              std::pair(ui::Brush(ui::Color::FromRgb(48, 48, 48)), ui::Brush(ui::Color::Transparent())));
    EXPECT_EQ(h.Tab(0)->Scripts.back().Arguments.at(0),
              "document.getElementsByTagName('body')[0].style.zoom = '1.5';");
}

// An untitled page reads the same whichever way its tab became current.
TEST_F(Tabs, AnUntitledTabReadsTheSameAfterSelectAndClose)
{
    auto& page = Start();
    Open("http://second.example/");
    Open("http://third.example/");
    h.Tab(1)->CompleteNavigation("http://second.example/", "");
    auto texts = [&] {
        return std::vector<std::string>{h.Controls().PageTitleText->Text(), h.Slot(1).StripCaption->Content(),
                                        h.Slot(1).ListCaption->Content()};
    };
    page.SelectTab(*h.Slot(1).StripCaption);
    EXPECT_EQ(texts(), std::vector<std::string>(3, "[Sem título]"));
    page.SelectTab(*h.Slot(2).StripCaption);
    page.CloseTab(*h.Slot(2).StripCloseButton);
    ASSERT_EQ(h.Tabs().CurrentTabIndex(), 1);
    EXPECT_EQ(texts(), std::vector<std::string>(3, "[Sem título]"));
}

// A tab's page dialogs wait in the tab's own queue: closing the tab drops
// it, and a new tab (whatever memory its view reuses) never waits behind it.
TEST_F(Tabs, ClosingATabDropsItsDialogQueue)
{
    auto& page = Start();
    Open("http://second.example/");
    auto alert = [&](int tab, const std::string& text) {
        h.Tab(tab)->StartNavigation("http://alerts.example/");
        h.Tab(tab)->CallAllowedObject("wScriptNotify", "wAlert", {text});
    };
    alert(1, "first");
    for (int k = 0; k < 3; ++k)
        h.Tab(1)->CallAllowedObject("wScriptNotify", "wAlert", {"queued"});
    ASSERT_EQ(h.Dialogs.OpenCount(), 1u);
    page.CloseTab(*h.Slot(1).StripCloseButton);
    h.Timers.TickAll(2); // the closed tab's elements are released

    Open("http://third.example/");
    alert(1, "new tab");
    EXPECT_EQ(h.Dialogs.OpenCount(), 2u);
    EXPECT_EQ(h.Dialogs.Shown.back().Content, "new tab");
    // The closed tab's dialog closes; its queued alerts never show.
    h.Dialogs.Dismiss(0);
    EXPECT_EQ(h.Dialogs.Shown.size(), 2u);
}

} // namespace
