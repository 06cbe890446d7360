// The chrome's arrangement, per-tab zoom, a page's full screen, the back
// request and the browser's keys, driven through the page.
#include <gtest/gtest.h>

#include "browser/page_full_screen.h"
#include "browser/tab_text.h"
#include "storage/schema.h"
#include "tests/doubles/page_harness.h"

namespace {

using doubles::FakeWebView;
using doubles::PageHarness;
using platform::Shortcut;
using ui::VerticalAlignment;

void StartWith(PageHarness& h, const std::string& position, const std::string& titleBar, bool phone = false)
{
    h.System.Phone = phone;
    h.Start();
    h.Stop();
    h.StoreSetting("wConfig_AdressBarPosition", position);
    h.StoreSetting("wConfig_TitleBarStatus", titleBar);
    h.Start();
}

ui::Element& Named(PageHarness& h, const char* name) { return h.Page().Markup().Get<ui::Element>(name); }
bool Wide(PageHarness& h) { return Named(h, "TabStripScroller").GetVisibility() == ui::Visibility::Visible; }

void FullScreen(FakeWebView& view, bool on)
{
    view.FullScreenElement = on;
    view.ContainsFullScreenElementChanged(view);
}

size_t ExitScripts(const FakeWebView& view)
{
    size_t n = 0;
    for (const auto& s : view.Scripts)
        n += s.Arguments.at(0) == ExitFullScreenScript;
    return n;
}

TEST(Layout, BarPlacementByCaseAndAPageFullScreenReturnsToIt)
{
    struct Case {
        bool Phone;
        const char *Position, *TitleBar;
        int ContentRow, ContentSpan, BarRow, SuggestionSpan;
        VerticalAlignment Opening;
    };
    using enum VerticalAlignment;
    const Case cases[] = {
        {false, "Top", "false", 2, 3, 1, 1, Top},     {true, "Top", "false", 1, 4, 0, 4, Top},
        {true, "Bottom", "false", 0, 4, 4, 3, Bottom}, {true, "Bottom", "true", 0, 3, 4, 3, Bottom},
        {false, "Bottom", "true", 1, 3, 4, 3, Bottom}, {false, "bottom", "TRUE", 2, 3, 1, 1, Top},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Position) + "/" + c.TitleBar + (c.Phone ? " phone" : ""));
        PageHarness h;
        StartWith(h, c.Position, c.TitleBar, c.Phone);
        auto& host = *h.Controls().WebViewHost;
        EXPECT_EQ(host.GridRow(), c.ContentRow);
        EXPECT_EQ(host.GridRowSpan(), c.ContentSpan);
        EXPECT_EQ(Named(h, "wSettingsPanel").GridRowSpan(), c.ContentSpan);
        EXPECT_EQ(Named(h, "BarGrid").GridRow(), c.BarRow);
        EXPECT_EQ(h.Controls().SuggestionList->GridRowSpan(), c.SuggestionSpan);
        EXPECT_EQ(h.Controls().SuggestionList->VerticalAlignment(), c.Opening);
        EXPECT_EQ(h.Controls().wMainMenu->VerticalAlignment(), c.Opening);
        EXPECT_EQ(h.System.StatusBarHides, c.Phone ? 2 : 0); // at each of the two starts

        // A position changed in the settings waits for the next start: the
        // page leaves full screen to where this start placed it.
        h.StoreSetting("wConfig_AdressBarPosition", "Top");
        FullScreen(*h.Tab(0), true);
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
    EXPECT_TRUE(Wide(h)); // 1024 at start
    EXPECT_EQ(h.Controls().AdressBox->Margin(), ui::Thickness(92, -48, 92, 0));
    for (auto [width, wide] : {std::pair{900.0, true}, {721.0, true}, {720.0, false}, {700.0, false}, {1000.0, true}}) {
        h.View.Resize(width, 600);
        EXPECT_EQ(Wide(h), wide) << width;
        EXPECT_EQ(h.Controls().SideMenuButton->GetVisibility() == ui::Visibility::Visible, !wide);
    }
    for (const char* setting : {"false", "TRUE"}) {
        PageHarness other;
        StartWith(other, "Top", setting);
        other.View.Resize(700, 600);
        other.View.Resize(1000, 600);
        EXPECT_FALSE(Wide(other)) << setting;
    }
}

class Keys : public ::testing::Test {
protected:
    void SetUp() override { h.Start(); }
    void Open(const std::string& address) { h.Page().OpenTab(*platform::Uri::Parse(address)); }
    void Press(Shortcut key, int times = 1) { for (int k = 0; k < times; ++k) h.View.Press(key); }
    int Current() { return h.Tabs().CurrentTabIndex(); }
    PageHarness h;
};

TEST_F(Keys, ZoomStopsAtItsBoundsKeepsToItsTabAndNeedsATab)
{
    auto& tab = *h.Tab(0);
    Press(Shortcut::ZoomOut, 9);
    EXPECT_NEAR(h.Slot(0).ZoomFactor, 0.1, 1e-9);
    auto scripts = tab.Scripts.size();
    h.Click("ZoomOutButton");
    EXPECT_EQ(tab.Scripts.size(), scripts);
    Press(Shortcut::ZoomReset);
    Press(Shortcut::ZoomIn, 81);
    EXPECT_EQ(h.Controls().ZoomText->Text(), "900%");
    EXPECT_EQ(tab.Scripts.back().Arguments[0], ZoomScript(h.Slot(0).ZoomFactor));

    Open("http://two.example/");
    h.Click("ZoomOutButton");
    EXPECT_EQ(h.Slot(1).ZoomPercentage, 90);
    h.Page().SelectTab(tab);
    EXPECT_EQ(h.Controls().ZoomText->Text(), "900%");
    h.Page().CloseTab(*h.Tab(1));
    h.Page().CloseTab(tab);
    Press(Shortcut::ZoomIn);
    Press(Shortcut::ZoomReset);
}

TEST_F(Keys, PageFullScreenFollowsItsTabAndEndsBeforeTheCurrentTabChanges)
{
    Open("http://two.example/");
    auto& first = *h.Tab(0);
    auto& second = *h.Tab(1);
    FullScreen(first, true); // a hidden tab cannot take the window
    EXPECT_FALSE(h.View.FullScreen);
    FullScreen(second, true);
    FullScreen(second, true);
    FullScreen(first, false); // only the tab in full screen leaves it
    EXPECT_EQ(h.View.FullScreenRequests, 1);
    EXPECT_TRUE(h.View.FullScreen);

    h.Page().SelectTab(first);
    EXPECT_EQ(ExitScripts(second), 1u);
    EXPECT_FALSE(h.View.FullScreen);
    EXPECT_EQ(h.Controls().WebViewHost->GridRow(), 2);
    FullScreen(first, true);
    Press(Shortcut::CloseTab);
    EXPECT_FALSE(h.View.FullScreen);
    EXPECT_EQ(h.Controls().WebViewHost->GridRow(), 2);

    // F11's full screen outlasts a page's; Escape leaves one, then the other.
    Press(Shortcut::ToggleFullScreen);
    FullScreen(second, true);
    EXPECT_TRUE(h.View.Press(Shortcut::Escape));
    EXPECT_EQ(ExitScripts(second), 2u);
    FullScreen(second, false);
    EXPECT_TRUE(h.View.FullScreen);
    EXPECT_TRUE(h.View.Press(Shortcut::Escape));
    EXPECT_FALSE(h.View.FullScreen);
    // Then Escape stops a load, and once nothing is left to end it reaches the page.
    h.Tabs().SetLoading(h.Tabs().CurrentTabIndex(), true);
    EXPECT_TRUE(h.View.Press(Shortcut::Escape));
    EXPECT_FALSE(h.Tabs().CurrentTabLoading());
    EXPECT_FALSE(h.View.Press(Shortcut::Escape));
}

TEST_F(Keys, BackStepsInOrder)
{
    auto& first = *h.Tab(0);
    h.View.Back();
    EXPECT_EQ(h.Chrome().BackPressCount(), 1);
    first.BackAvailable = true;
    FullScreen(first, true);
    h.View.Back();
    EXPECT_EQ(ExitScripts(first), 1u);
    FullScreen(first, false);
    h.View.Back();
    EXPECT_EQ(first.GoBackCalls, 1);
    EXPECT_EQ(h.Chrome().BackPressCount(), 0);
    first.BackAvailable = false;

    Open("http://two.example/");
    Open("http://three.example/");
    Press(Shortcut::ZoomIn);
    h.Page().SelectTab(first);
    h.Page().SelectTab(*h.Tab(2));
    for (int expected : {0, 2}) {
        h.View.Back();
        EXPECT_EQ(Current(), expected);
    }
    EXPECT_EQ(h.Controls().ZoomText->Text(), "110%");

    // The tab used before was closed: never itself or an empty slot.
    h.Page().SelectTab(first);
    h.Page().CloseTab(*h.Tab(1));
    h.View.Back();
    EXPECT_EQ(Current(), 0);

    h.Page().CloseTab(*h.Tab(1));
    h.Page().CloseTab(first);
    h.View.Back();
    h.View.Back();
    EXPECT_EQ(h.View.ExitCalls, 1);
}

TEST_F(Keys, EachShortcutRunsWhatItsButtonRunsAndHomeNeedsAnAddress)
{
    // Stored as the file keeps it: one byte per character up to U+00FF.
    h.Execute(ConfigFile, "UPDATE wConfig_HomePage SET wLINK = 'http://home.example/it''s/\xE7';");
    const auto home = platform::Uri::Parse("http://home.example/it's/\xC3\xA7")->AbsoluteUri();
    auto& tab = *h.Tab(0);
    tab.ForwardAvailable = true;
    for (auto key : {Shortcut::Forward, Shortcut::Reload, Shortcut::Home, Shortcut::FocusAddress})
        Press(key);
    EXPECT_EQ(tab.GoForwardCalls + tab.RefreshCalls, 2);
    EXPECT_EQ(tab.Navigations.back(), home);
    EXPECT_EQ(h.Controls().AdressBox->RequestedFocus(), ui::FocusState::Pointer);

    Press(Shortcut::NewTab, 2);
    for (auto [key, tab] : {std::pair{Shortcut::NextTab, 0}, {Shortcut::NextTab, 1}, {Shortcut::PreviousTab, 0},
                            {Shortcut::PreviousTab, 2}}) {
        Press(key);
        EXPECT_EQ(Current(), tab);
    }
    Press(Shortcut::CloseTab, 3);
    EXPECT_EQ(h.TabCount(), 0);
    h.Click("HomeButton");
    ASSERT_EQ(h.TabCount(), 1);
    EXPECT_EQ(h.Tab(0)->Navigations.back(), home);

    h.Execute(ConfigFile, "UPDATE wConfig_HomePage SET wLINK = '';");
    h.Dialogs.Shown.clear();
    Press(Shortcut::Home);
    EXPECT_EQ(h.Tab(0)->Navigations.size(), 1u);
    EXPECT_EQ(h.Dialogs.Shown.at(0).Content, h.Strings.GetString("wMessageBox_InvalidLink"));
}

} // namespace
