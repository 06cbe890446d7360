// Where the bars go, the wide and narrow title strip, a page's full screen
// under each placement, and the home button.
#include <gtest/gtest.h>

#include "storage/schema.h"
#include "tests/doubles/page_harness.h"

namespace {

using doubles::PageHarness;
using ui::VerticalAlignment;

void Store(PageHarness& h, const std::string& table, const std::string& value)
{
    h.Execute(ConfigFile, "DELETE FROM " + table + "; INSERT INTO " + table + " VALUES ('" + value + "');");
}

void StartWith(PageHarness& h, const std::string& position, const std::string& titleBar, bool phone = false)
{
    h.System.Phone = phone;
    h.Start();
    h.Stop();
    Store(h, "wConfig_AdressBarPosition", position);
    Store(h, "wConfig_TitleBarStatus", titleBar);
    h.Start();
}

ui::Element& Named(PageHarness& h, const char* name)
{
    return h.Page().Markup().Get<ui::Element>(name);
}

void FullScreen(doubles::FakeWebView& view, bool on)
{
    view.FullScreenElement = on;
    view.ContainsFullScreenElementChanged(view);
}

struct Placement {
    const char* Case;
    bool Phone;
    const char* Position;
    const char* TitleBar;
    int ContentRow, ContentSpan, BarRow, SuggestionRow, SuggestionSpan;
    VerticalAlignment MenuAlignment, SuggestionAlignment;
    bool TitleShown;
};

TEST(Layout, BarPlacementByCaseAndAPageFullScreenReturnsToIt)
{
    using enum VerticalAlignment;
    const Placement cases[] = {
        {"markup", false, "Top", "true", 2, 3, 1, 2, 1, Top, Top, true},
        {"desktop without title", false, "Top", "false", 2, 3, 1, 2, 1, Top, Top, true},
        {"phone top with title", true, "Top", "true", 2, 3, 1, 2, 1, Top, Top, true},
        {"T", true, "Top", "false", 1, 4, 0, 1, 4, Top, Top, false},
        {"B1", true, "Bottom", "false", 0, 4, 4, 1, 3, Bottom, Bottom, false},
        {"B2", true, "Bottom", "true", 0, 3, 4, 1, 3, Bottom, Bottom, true},
        {"B3", false, "Bottom", "true", 1, 3, 4, 1, 3, Bottom, Bottom, true},
        {"lower case", false, "bottom", "true", 2, 3, 1, 2, 1, Top, Top, true},
        {"empty", false, "", "TRUE", 2, 3, 1, 2, 1, Top, Top, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        PageHarness h;
        StartWith(h, c.Position, c.TitleBar, c.Phone);
        auto& host = *h.Controls().WebViewHost;
        EXPECT_EQ(host.GridRow(), c.ContentRow);
        EXPECT_EQ(host.GridRowSpan(), c.ContentSpan);
        EXPECT_EQ(Named(h, "wSettingsPanel").GridRow(), c.ContentRow);
        EXPECT_EQ(Named(h, "BarGrid").GridRow(), c.BarRow);
        EXPECT_EQ(h.Controls().LoadingRing->GridRow(), c.BarRow == 1 ? 0 : c.BarRow);
        EXPECT_EQ(h.Controls().wMainMenu->VerticalAlignment(), c.MenuAlignment);
        EXPECT_EQ(h.Controls().SuggestionList->GridRow(), c.SuggestionRow);
        EXPECT_EQ(h.Controls().SuggestionList->GridRowSpan(), c.SuggestionSpan);
        EXPECT_EQ(h.Controls().SuggestionList->VerticalAlignment(), c.SuggestionAlignment);
        EXPECT_EQ(Named(h, "TitleStripGrid").GetVisibility() == ui::Visibility::Visible, c.TitleShown);
        if (std::string(c.Case) == "B2") {
            EXPECT_EQ(Named(h, "VersionText").GridRow(), 3);
        }
        if (std::string(c.Case) == "T") {
            EXPECT_EQ(h.Controls().RootGrid->RowDefinitions()[0], ui::GridLength::Pixels(48));
        }
        if (c.MenuAlignment == Bottom) {
            EXPECT_EQ(h.Controls().wMainMenu->CornerRadius(), ui::CornerRadius(5, 0, 0, 0));
            EXPECT_EQ(h.Controls().wAddFavoritePanel->BorderThickness(), ui::Thickness(0, 1, 1, 0));
            EXPECT_EQ(h.Controls().SuggestionList->BorderThickness(), ui::Thickness(1, 1, 1, 0));
        }

        // A changed setting takes effect at the next start only: leaving
        // full screen puts the page back where this start placed it.
        Store(h, "wConfig_AdressBarPosition", "Top");
        FullScreen(*h.Tab(0), true);
        EXPECT_EQ(host.GridRow(), 0);
        EXPECT_EQ(host.GridRowSpan(), 5);
        FullScreen(*h.Tab(0), false);
        EXPECT_EQ(host.GridRow(), c.ContentRow);
        EXPECT_EQ(host.GridRowSpan(), c.ContentSpan);
    }
}

TEST(Layout, TheTitleStripSwitchesOncePerCrossingOf720)
{
    PageHarness h;
    StartWith(h, "Top", "true");
    auto wide = [&] { return Named(h, "TabStripScroller").GetVisibility() == ui::Visibility::Visible; };
    ASSERT_TRUE(wide()); // 1024 at start
    EXPECT_EQ(h.Controls().SideMenuButton->GetVisibility(), ui::Visibility::Collapsed);
    EXPECT_EQ(h.Controls().AdressBox->Margin(), ui::Thickness(92, -48, 92, 0));
    EXPECT_EQ(Named(h, "ZoomButtonsPanel").Margin(), ui::Thickness(0, -48, 92, 0));
    EXPECT_EQ(Named(h, "TitleStripGrid").Height(), 48);
    EXPECT_EQ(Named(h, "TitleStripGrid").Margin(), ui::Thickness(0, 32, 0, 0));
    EXPECT_EQ(Named(h, "BackButton").FontSize(), 20);
    EXPECT_EQ(Named(h, "BarGrid").Margin(), ui::Thickness(82, 0, 0, 0));
    EXPECT_EQ(h.Controls().LoadingRing->Margin(), ui::Thickness(134, 0, 0, 0));
    EXPECT_EQ(Named(h, "TabStripScroller").Margin(), ui::Thickness(10, 0, 190, 0));
    EXPECT_EQ(h.Controls().PageTitleText->GetVisibility(), ui::Visibility::Collapsed);

    const std::pair<double, bool> steps[] = {{1000, true}, {900, true}, {721, true}, {720, false}, {700, false},
                                             {721, true}, {720, false}};
    for (auto [width, expectWide] : steps) {
        h.View.Resize(width, 600);
        EXPECT_EQ(wide(), expectWide) << width;
    }
    EXPECT_EQ(h.Controls().AdressBox->Margin(), ui::Thickness(92, -48, 133, 0));
    EXPECT_EQ(Named(h, "TitleStripGrid").Height(), 32);
    EXPECT_EQ(Named(h, "ForwardButton").BorderThickness(), ui::Thickness(0, 0, 1, 0));
    EXPECT_EQ(h.Controls().PageTitleText->Margin(), ui::Thickness(90, 5, 140, 5));
    EXPECT_EQ(h.Controls().VersionText->GetVisibility(), ui::Visibility::Visible);

    // Any title bar setting but "true" keeps the markup's narrow arrangement.
    for (const char* setting : {"false", "TRUE", ""}) {
        PageHarness other;
        StartWith(other, "Top", setting);
        for (double width : {1000.0, 700.0, 1200.0})
            other.View.Resize(width, 600);
        EXPECT_EQ(Named(other, "TabStripScroller").GetVisibility(), ui::Visibility::Collapsed) << setting;
    }
}

TEST(Layout, APhoneWithTheBarBelowMovesTheTitleStripWithTheArrangement)
{
    PageHarness h;
    StartWith(h, "Bottom", "true", true);
    EXPECT_EQ(Named(h, "TitleStripGrid").GridRow(), 4);
    EXPECT_EQ(Named(h, "TitleStripGrid").Margin(), ui::Thickness(0, 0, 0, 0));
    EXPECT_EQ(Named(h, "TabStripScroller").Margin(), ui::Thickness(10, 0, 0, 0));
    h.View.Resize(400, 700);
    EXPECT_EQ(Named(h, "TitleStripGrid").GridRow(), 0);
    EXPECT_EQ(h.Controls().PageTitleText->Margin(), ui::Thickness(90, 5, 10, 5));
}

TEST(Layout, HomeButtonNavigatesTheCurrentTabOrOpensOneAndRefusesANonAddress)
{
    PageHarness h;
    h.Start();
    // Stored as the file keeps it: one byte per character up to U+00FF.
    h.Execute(ConfigFile, "UPDATE wConfig_HomePage SET wLINK = 'http://example.com/it''s/\xE7\xE3o';");
    h.Click("HomeButton");
    const auto home = platform::Uri::Parse("http://example.com/it's/\xC3\xA7\xC3\xA3o")->AbsoluteUri();
    EXPECT_EQ(h.Tab(0)->Navigations.back(), home);
    EXPECT_EQ(h.TabCount(), 1);

    h.Page().CloseTab(*h.Tab(0));
    h.Click("HomeButton");
    ASSERT_EQ(h.TabCount(), 1);
    EXPECT_EQ(h.Tab(0)->Navigations.back(), home);

    h.Dialogs.Shown.clear();
    h.Execute(ConfigFile, "UPDATE wConfig_HomePage SET wLINK = '';");
    h.Click("HomeButton");
    EXPECT_EQ(h.Tab(0)->Navigations.size(), 1u);
    ASSERT_EQ(h.Dialogs.Shown.size(), 1u);
    EXPECT_EQ(h.Dialogs.Shown[0].Content, h.Strings.GetString("wMessageBox_InvalidLink"));
}

} // namespace
