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
    std::string RowLink(int id)
    {
        return h.QueryText(ConfigFile, "SELECT wLINK FROM wConfig_PagesOpened WHERE wID=" + std::to_string(id));
    }
    int Count()
    {
        int count = 0;
        for (auto* view : Process().Tabs.TabWebViews)
            count += view != nullptr;
        return count;
    }
    PageHarness h;
};

TEST_F(Tabs, TheTwentyFirstTabIsRefusedAndSlot19IsReusable)
{
    auto& page = Start();
    for (int k = 1; k < MaxTabs; ++k)
        Open("http://t" + std::to_string(k) + ".example/");
    ASSERT_EQ(Count(), 20);
    h.Dialogs.Shown.clear();

    Open("http://one-too-many.example/");
    EXPECT_EQ(Count(), 20);
    ASSERT_EQ(h.Dialogs.Shown.size(), 1u);
    EXPECT_EQ(h.Dialogs.Shown[0].Content, h.Strings.GetString("wMessageBox_MaxGuides"));
    EXPECT_EQ(h.Dialogs.Shown[0].Title, "Tolvane Browser");
    EXPECT_EQ(page.CurrentTabIndex, 19);

    page.CloseTab(*Process().Tabs.TabStripCloseButtons[5]);
    Open("http://again.example/");
    ASSERT_NE(h.Tab(19), nullptr);
    EXPECT_EQ(h.Tab(19)->Navigations.back(), "http://again.example/");
    EXPECT_EQ(page.CurrentTabIndex, 19);
}

TEST_F(Tabs, ClosingTheMiddleTabMovesTheLaterOnesDown)
{
    auto& page = Start();
    for (int k = 1; k < 5; ++k)
        Open("http://t" + std::to_string(k) + ".example/");
    CompleteAll();
    auto* formerThird = h.Tab(3);
    auto* formerFourth = h.Tab(4);

    page.CloseTab(*Process().Tabs.TabListCloseButtons[2]);

    EXPECT_EQ(Count(), 4);
    EXPECT_EQ(page.LastTabIndex, 3);
    EXPECT_EQ(h.Tab(2), formerThird);
    EXPECT_EQ(h.Tab(3), formerFourth);
    EXPECT_EQ(page.CurrentTabIndex, 2);
    auto& tabs = Process().Tabs;
    for (int k = 0; k < 4; ++k) {
        ui::Element* elements[] = {tabs.TabWebViews[k], tabs.TabStripHeaders[k], tabs.TabStripCaptions[k],
                                   tabs.TabStripCloseButtons[k], tabs.TabListHeaders[k], tabs.TabListCaptions[k],
                                   tabs.TabListCloseButtons[k]};
        for (auto* element : elements) {
            ASSERT_NE(element, nullptr);
            EXPECT_EQ(element->Tag(), k);
        }
        // Child k of each panel is tab k.
        EXPECT_EQ(&page.WebViewHost->ChildAt(k), tabs.TabWebViews[k]);
        EXPECT_EQ(&page.TabStripPanel->ChildAt(k), tabs.TabStripHeaders[k]);
        EXPECT_EQ(&page.TabListPanel->ChildAt(k), tabs.TabListHeaders[k]);
    }
    EXPECT_EQ(tabs.TabWebViews[4], nullptr);
    EXPECT_EQ(RowLink(2), "http://t3.example/");
    EXPECT_EQ(RowLink(3), "http://t4.example/");
    EXPECT_EQ(RowLink(4), "");
    EXPECT_EQ(formerThird->GetVisibility(), ui::Visibility::Visible);
    EXPECT_EQ(h.Tab(0)->GetVisibility(), ui::Visibility::Collapsed);
    // Names keep their creation number.
    EXPECT_EQ(formerFourth->Name(), "wNewPageWebView_4");
}

TEST_F(Tabs, ClosingTheLastTabSelectsThePreviousOne)
{
    auto& page = Start();
    Open("http://second.example/");
    Open("http://third.example/");
    page.CloseTab(*Process().Tabs.TabStripCloseButtons[2]);
    EXPECT_EQ(page.CurrentTabIndex, 1);
    EXPECT_EQ(h.Tab(1)->GetVisibility(), ui::Visibility::Visible);
}

TEST_F(Tabs, ClosingTheOnlyTabLeavesAnEmptyBrowserThatCanOpenTabsAgain)
{
    auto& page = Start();
    page.CloseTab(*Process().Tabs.TabStripCloseButtons[0]);
    EXPECT_EQ(page.CurrentTabIndex, -1);
    EXPECT_EQ(page.LastTabIndex, -1);
    ASSERT_FALSE(h.Dialogs.Shown.empty());
    EXPECT_EQ(h.Dialogs.Shown.back().Content, h.Strings.GetString("wMessageBox_NullGuides"));
    EXPECT_EQ(page.PageTitleText->Text(), "Tolvane Browser");
    EXPECT_EQ(page.AdressBox->Text(), h.Strings.GetString("wAdress_DefaultLink"));

    page.NewTab_Click(*page.AdressBox);
    ASSERT_NE(h.Tab(0), nullptr);
    EXPECT_EQ(page.CurrentTabIndex, 0);
    EXPECT_EQ(h.Tab(0)->Navigations.back(), "http://www.bing.com/");
}

TEST_F(Tabs, PrivacyIsInheritedFromTheCurrentTabAndSetBeforeTheFirstLoad)
{
    auto& page = Start();
    page.NewPrivateTab_Click(*page.AdressBox);
    auto* privateTab = h.Tab(1);
    ASSERT_NE(privateTab, nullptr);
    EXPECT_EQ(privateTab->Name(), "wNewPageWebView_Private");
    EXPECT_EQ(privateTab->Session, platform::BrowsingSession::Private);

    Open("http://from-private.example/");
    EXPECT_EQ(h.Tab(2)->Name(), "wNewPageWebView_Private");
    EXPECT_EQ(h.Tab(2)->Session, platform::BrowsingSession::Private);

    page.SelectTab(*Process().Tabs.TabStripCaptions[0]);
    Open("http://from-normal.example/");
    EXPECT_EQ(h.Tab(3)->Name(), "wNewPageWebView_3");
    EXPECT_EQ(h.Tab(3)->Session, platform::BrowsingSession::Normal);

    // A private tab's pop-up is private too, whichever tab is current.
    EXPECT_TRUE(privateTab->RequestNewWindow("http://popup.example/"));
    EXPECT_EQ(h.Tab(4)->Session, platform::BrowsingSession::Private);
    EXPECT_EQ(h.Tab(4)->Navigations.back(), "http://popup.example/");
}

TEST_F(Tabs, SelectingATabShowsItsPageAndAppliesItsZoom)
{
    auto& page = Start();
    Open("http://second.example/");
    h.Tab(0)->CompleteNavigation("http://first.example/", "First \"quoted\" Ωμέγα 🙂");
    Process().Tabs.ZoomFactors[0] = 1.5;
    Process().Tabs.ZoomPercentages[0] = 150;

    page.SelectTab(*Process().Tabs.TabListCaptions[0]);

    EXPECT_EQ(page.CurrentTabIndex, 0);
    EXPECT_EQ(page.PreviousTabIndex, 1);
    EXPECT_EQ(h.Tab(0)->GetVisibility(), ui::Visibility::Visible);
    EXPECT_EQ(h.Tab(1)->GetVisibility(), ui::Visibility::Collapsed);
    EXPECT_EQ(page.AdressBox->Text(), "http://first.example/");
    EXPECT_EQ(page.PageTitleText->Text(), "First \"quoted\" Ωμέγα 🙂");
    EXPECT_EQ(Process().Tabs.TabStripCaptions[0]->Content(), "First \"quoted\" Ωμέγα 🙂");
    EXPECT_EQ(Process().Tabs.TabStripCaptions[0]->Background(), ui::Color::FromRgb(48, 48, 48));
    EXPECT_EQ(Process().Tabs.TabStripCaptions[1]->Background(), ui::Color::Transparent());
    EXPECT_EQ(page.ZoomText->Text(), "150%");
    ASSERT_FALSE(h.Tab(0)->Scripts.empty());
    EXPECT_EQ(h.Tab(0)->Scripts.back().Function, "eval");
    EXPECT_EQ(h.Tab(0)->Scripts.back().Arguments.at(0),
              "document.getElementsByTagName('body')[0].style = 'zoom: 1.5;';");
}

} // namespace
