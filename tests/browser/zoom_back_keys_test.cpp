// Per-tab zoom, a page's full screen, the back request and the browser's keys.
#include <gtest/gtest.h>

#include "browser/page_full_screen.h"
#include "browser/tab_text.h"
#include "storage/schema.h"
#include "tests/doubles/page_harness.h"

namespace {

using doubles::FakeWebView;
using doubles::PageHarness;
using platform::Shortcut;

void FullScreen(FakeWebView& view, bool on)
{
    view.FullScreenElement = on;
    view.ContainsFullScreenElementChanged(view);
}

size_t ScriptsRun(const FakeWebView& view, const std::string& script)
{
    size_t n = 0;
    for (const auto& s : view.Scripts)
        n += !s.Arguments.empty() && s.Arguments[0] == script;
    return n;
}

class Keys : public ::testing::Test {
protected:
    void SetUp() override { h.Start(); }
    void Open(const std::string& address) { h.Page().OpenTab(*platform::Uri::Parse(address)); }
    std::string Zoom() { return h.Controls().ZoomText->Text(); }
    void Repeat(int times, Shortcut key) { for (int k = 0; k < times; ++k) h.View.Press(key); }
    PageHarness h;
};

TEST_F(Keys, ZoomStopsAtItsBoundsKeepsToItsTabAndNeedsATab)
{
    auto& tab = *h.Tab(0);
    Repeat(9, Shortcut::ZoomOut);
    EXPECT_EQ(Zoom(), "10%");
    EXPECT_NEAR(h.Slot(0).ZoomFactor, 0.1, 1e-9); // the running sum of the steps
    EXPECT_EQ(tab.Scripts.back().Arguments[0], ZoomScript(h.Slot(0).ZoomFactor));
    auto scripts = tab.Scripts.size();
    h.Click("ZoomOutButton");
    EXPECT_EQ(tab.Scripts.size(), scripts);

    h.View.Press(Shortcut::ZoomReset);
    EXPECT_EQ(Zoom(), "100%");
    EXPECT_EQ(h.Slot(0).ZoomFactor, 1.0);
    Repeat(81, Shortcut::ZoomIn);
    EXPECT_EQ(Zoom(), "900%");
    EXPECT_EQ(h.Slot(0).ZoomPercentage, 900);
    EXPECT_EQ(tab.Scripts.back().Arguments[0], ZoomScript(h.Slot(0).ZoomFactor));

    Open("http://two.example/");
    h.Click("ZoomOutButton");
    EXPECT_EQ(h.Slot(1).ZoomPercentage, 90);
    h.Page().SelectTab(tab);
    EXPECT_EQ(Zoom(), "900%");

    h.Page().CloseTab(*h.Tab(1));
    h.Page().CloseTab(*h.Tab(0));
    for (auto key : {Shortcut::ZoomIn, Shortcut::ZoomOut, Shortcut::ZoomReset})
        h.View.Press(key);
    EXPECT_EQ(h.TabCount(), 0);
}

TEST_F(Keys, PageFullScreenFollowsTheViewAndEndsBeforeTheCurrentTabChanges)
{
    Open("http://two.example/");
    auto& first = *h.Tab(0);
    auto& second = *h.Tab(1);
    auto& host = *h.Controls().WebViewHost;
    h.Click("MainMenuButton");

    FullScreen(first, true); // a hidden tab cannot take the window
    EXPECT_FALSE(h.View.FullScreen);
    FullScreen(first, false);
    FullScreen(second, true);
    FullScreen(second, true);
    EXPECT_EQ(h.View.FullScreenRequests, 1);
    EXPECT_FALSE(h.Chrome().Flags().MainMenu);
    EXPECT_EQ(host.GridRow(), 0);
    FullScreen(first, false); // only the tab in full screen leaves it
    EXPECT_TRUE(h.View.FullScreen);

    // Switching tabs ends it at once, whatever the page does after.
    h.Page().SelectTab(first);
    EXPECT_EQ(ScriptsRun(second, ExitFullScreenScript), 1u);
    EXPECT_FALSE(h.View.FullScreen);
    EXPECT_EQ(host.GridRow(), 2);
    FullScreen(second, false);
    EXPECT_EQ(host.GridRowSpan(), 3);

    // So does closing the tab in full screen, ten times over.
    for (int k = 0; k < 10; ++k) {
        Open("http://again.example/");
        FullScreen(*h.Tab(h.Tabs().CurrentTabIndex()), true);
        h.View.Press(Shortcut::CloseTab);
        EXPECT_FALSE(h.View.FullScreen);
        EXPECT_EQ(host.GridRow(), 2);
    }

    h.Page().SelectTab(first);
    // F11's full screen outlasts a page's, and Escape leaves one, then the other.
    h.View.Press(Shortcut::ToggleFullScreen);
    FullScreen(first, true);
    EXPECT_TRUE(h.View.Press(Shortcut::Escape));
    EXPECT_EQ(ScriptsRun(first, ExitFullScreenScript), 1u);
    FullScreen(first, false);
    EXPECT_TRUE(h.View.FullScreen);
    EXPECT_TRUE(h.View.Press(Shortcut::Escape));
    EXPECT_FALSE(h.View.FullScreen);
    EXPECT_FALSE(h.View.Press(Shortcut::Escape));
}

TEST_F(Keys, BackStepsInOrder)
{
    auto& first = *h.Tab(0);
    // One tab without history: the hint, then the exit.
    EXPECT_TRUE(h.View.Back());
    EXPECT_EQ(h.Chrome().BackPressCount(), 1);
    EXPECT_EQ(h.View.ExitCalls, 0);

    first.BackAvailable = true;
    h.View.Back();
    EXPECT_EQ(first.GoBackCalls, 1);
    EXPECT_EQ(h.Chrome().BackPressCount(), 0);

    FullScreen(first, true);
    h.View.Back();
    EXPECT_EQ(ScriptsRun(first, ExitFullScreenScript), 1u);
    EXPECT_EQ(first.GoBackCalls, 1);
    FullScreen(first, false);
    first.BackAvailable = false;

    // Several tabs: the one used before, through the tab switch (the zoom label follows).
    Open("http://two.example/");
    Open("http://three.example/");
    h.View.Press(Shortcut::ZoomIn);
    h.Page().SelectTab(first);
    h.Page().SelectTab(*h.Tab(2));
    h.View.Back();
    EXPECT_EQ(h.Tabs().CurrentTabIndex(), 0);
    h.View.Back();
    EXPECT_EQ(h.Tabs().CurrentTabIndex(), 2);
    EXPECT_EQ(h.Controls().ZoomText->Text(), "110%");

    // The tab used before was closed: the one to the left, never an empty slot.
    h.Page().SelectTab(first);
    h.Page().CloseTab(*h.Tab(1));
    ASSERT_EQ(h.TabCount(), 2);
    h.View.Back();
    EXPECT_EQ(h.Tabs().CurrentTabIndex(), 0);
    h.View.Back();
    EXPECT_EQ(h.Tabs().CurrentTabIndex(), 1);

    // No tab at all: two presses leave.
    h.Page().CloseTab(*h.Tab(1));
    h.Page().CloseTab(*h.Tab(0));
    h.View.Back();
    h.View.Back();
    EXPECT_EQ(h.View.ExitCalls, 1);
}

TEST_F(Keys, EachShortcutRunsWhatItsButtonRuns)
{
    h.Execute(ConfigFile, "UPDATE wConfig_HomePage SET wLINK = 'http://home.example/';");
    h.Tab(0)->ForwardAvailable = true;
    h.View.Press(Shortcut::Forward);
    EXPECT_EQ(h.Tab(0)->GoForwardCalls, 1);
    h.View.Press(Shortcut::Reload);
    EXPECT_EQ(h.Tab(0)->RefreshCalls, 1);
    h.View.Press(Shortcut::Home);
    EXPECT_EQ(h.Tab(0)->Navigations.back(), "http://home.example/");
    h.View.Press(Shortcut::FocusAddress);
    EXPECT_EQ(h.Controls().AdressBox->RequestedFocus(), ui::FocusState::Pointer);

    h.View.Press(Shortcut::NewTab);
    h.View.Press(Shortcut::NewTab);
    ASSERT_EQ(h.TabCount(), 3);
    const std::pair<Shortcut, int> moves[] = {
        {Shortcut::NextTab, 0}, {Shortcut::NextTab, 1}, {Shortcut::PreviousTab, 0}, {Shortcut::PreviousTab, 2}};
    for (auto [key, tab] : moves) {
        h.View.Press(key);
        EXPECT_EQ(h.Tabs().CurrentTabIndex(), tab);
    }
    h.View.Press(Shortcut::CloseTab);
    EXPECT_EQ(h.TabCount(), 2);

    h.View.Press(Shortcut::ToggleFullScreen);
    EXPECT_TRUE(h.View.FullScreen);
    h.View.Press(Shortcut::ToggleFullScreen);
    EXPECT_FALSE(h.View.FullScreen);
}

} // namespace
