// The context pop-up: where it opens, what it closes, and its entries.
#include <string>

#include <gtest/gtest.h>

#include "app/process_state.h"
#include "storage/database.h"
#include "tests/doubles/page_harness.h"

namespace {

using doubles::PageHarness;

class ContextPopup : public ::testing::Test {
protected:
    void SetUp() override
    {
        page = &h.Start();
        h.Tab(0)->CompleteNavigation("http://links.example/", "Links");
    }
    void Ticks(int n = 1) { h.Timers.TickAll(n); }
    // A right-click as the injected hooks report it.
    void RightClick(int x, int y, const std::string& target)
    {
        auto* tab = h.Tab(0);
        tab->CallAllowedObject("wScriptNotify", "wMousePosX", {std::to_string(x)});
        tab->CallAllowedObject("wScriptNotify", "wMousePosY", {std::to_string(y)});
        tab->CallAllowedObject("wScriptNotify", "wContextMenu", {target});
    }
    ui::Button& Entry(const std::string& name) { return page->Markup().Get<ui::Button>(name); }
    int TabCount()
    {
        int count = 0;
        for (auto* view : Process().Tabs.TabWebViews)
            count += view != nullptr;
        return count;
    }

    PageHarness h;
    MainPage* page = nullptr;
};

TEST_F(ContextPopup, OpensAtThePointerKeptInsideTheWindow)
{
    const char* link = "http://a.example/";
    const char* image = "http://a.example/i.png&GET_IMG";
    struct Case {
        double width, height;
        int x, y;
        const char* target;
        double left, top;
    } cases[] = {
        {1024, 768, 100, 100, link, 100, 100},
        // Right edge: the pop-up is 180 wide; exactly at the edge still fits.
        {1024, 768, 844, 100, link, 844, 100},
        {1024, 768, 845, 100, link, 665, 100},
        // Bottom: within 80 pixels plus the pop-up's height it opens upwards.
        {1024, 768, 100, 596, link, 100, 596},
        {1024, 768, 100, 597, link, 100, 505},
        {1024, 768, 100, 561, image, 100, 561},
        {1024, 768, 100, 562, image, 100, 435},
        // Both at once, in a small window.
        {400, 300, 390, 290, image, 210, 163},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y) + " in " + std::to_string(int(c.width)));
        h.View.Bounds = {0, 0, c.width, c.height};
        RightClick(c.x, c.y, c.target);
        Ticks();
        EXPECT_EQ(page->wContextPopup->Margin(), ui::Thickness(c.left, c.top, 0, 0));
        EXPECT_EQ(page->wContextPopup->GetVisibility(), ui::Visibility::Visible);
        page->CloseAll();
        Ticks(30);
        ASSERT_EQ(page->wContextPopup->GetVisibility(), ui::Visibility::Collapsed);
    }
}

TEST_F(ContextPopup, ShowsOverAnOverlayThatCatchesTheClickOutside)
{
    RightClick(50, 60, "http://a.example/i.png&GET_IMG");
    Ticks();
    auto& popup = *page->wContextPopup;
    auto& overlay = *page->wDimmingOverlay;
    EXPECT_DOUBLE_EQ(popup.Opacity(), 0.0);
    EXPECT_DOUBLE_EQ(overlay.Opacity(), 0.002);
    EXPECT_EQ(overlay.GetVisibility(), ui::Visibility::Visible);
    EXPECT_EQ(overlay.GridRow(), 0);
    EXPECT_EQ(overlay.GridRowSpan(), 5);
    EXPECT_TRUE(overlay.TakesInput());
    Ticks(22);
    EXPECT_DOUBLE_EQ(popup.Opacity(), 1.05);
    EXPECT_DOUBLE_EQ(overlay.Opacity(), 0.002);

    // A tap outside: both go, and the overlay returns to its rows.
    overlay.Tapped(overlay);
    EXPECT_FALSE(Process().Bridge.ContextMenuOpen);
    Ticks(20);
    EXPECT_EQ(popup.GetVisibility(), ui::Visibility::Visible);
    Ticks();
    EXPECT_EQ(popup.GetVisibility(), ui::Visibility::Collapsed);
    EXPECT_EQ(overlay.GetVisibility(), ui::Visibility::Collapsed);
    EXPECT_EQ(overlay.GridRow(), 2);
    EXPECT_EQ(overlay.GridRowSpan(), 3);
}

TEST_F(ContextPopup, TheSaveImageEntryShowsForImagesOnly)
{
    auto& saveImage = Entry("wContextPopup_SaveImage");
    struct Case {
        const char* target;
        ui::Visibility saveImage;
    } cases[] = {
        {"http://a.example/i.png&GET_IMG", ui::Visibility::Visible},
        {"http://a.example/page", ui::Visibility::Collapsed},
        {"", ui::Visibility::Collapsed},
        {"http://a.example/j.jpg&GET_IMG", ui::Visibility::Visible},
    };
    for (const auto& c : cases) {
        RightClick(10, 10, c.target);
        Ticks();
        EXPECT_EQ(saveImage.GetVisibility(), c.saveImage) << c.target;
        EXPECT_EQ(page->wContextPopup->Height(), c.saveImage == ui::Visibility::Visible ? 127 : 92) << c.target;
        page->CloseAll();
        Ticks(30);
    }
}

TEST_F(ContextPopup, OpeningItClosesEveryPanelAndMenu)
{
    page->OpenPanel(&MainPage::OpenFlags::Favorites);
    Ticks(30);
    page->Flags.MainMenu = true;
    Ticks();
    ASSERT_EQ(page->wFavoritesPanel->Margin().Right, 0);

    RightClick(10, 10, "http://a.example/");
    Ticks();
    EXPECT_FALSE(page->Flags.Favorites);
    EXPECT_FALSE(page->Flags.MainMenu);
    EXPECT_FALSE(page->Flags.OverlayWanted);
    EXPECT_TRUE(Process().Bridge.ContextMenuOpen);
    Ticks(30);
    EXPECT_EQ(page->wFavoritesPanel->GetVisibility(), ui::Visibility::Collapsed);
    EXPECT_EQ(page->wMainMenu->GetVisibility(), ui::Visibility::Collapsed);
    EXPECT_EQ(page->wFavoritesPanel->Margin().Right, -270);
    // The main menu shut under the pop-up, yet the overlay still catches clicks.
    EXPECT_DOUBLE_EQ(page->wDimmingOverlay->Opacity(), 0.002);
    EXPECT_TRUE(page->wDimmingOverlay->TakesInput());
    // The pop-up wins: a flag set meanwhile (without closing the pop-up) is
    // cleared again on the next tick.
    page->Flags.Settings = true;
    page->Flags.OverlayWanted = true;
    Ticks();
    EXPECT_FALSE(page->Flags.Settings);
    EXPECT_TRUE(Process().Bridge.ContextMenuOpen);
    EXPECT_DOUBLE_EQ(page->wDimmingOverlay->Opacity(), 0.002);
}

TEST_F(ContextPopup, ANewRightClickWhileItFadesOutPlacesItAgain)
{
    RightClick(100, 100, "http://a.example/");
    Ticks(22);
    page->CloseAll();
    Ticks(5); // fading out, still visible; the overlay is already gone
    ASSERT_EQ(page->wDimmingOverlay->GetVisibility(), ui::Visibility::Collapsed);
    ASSERT_EQ(page->wContextPopup->GetVisibility(), ui::Visibility::Visible);

    RightClick(300, 200, "http://a.example/i.png&GET_IMG");
    Ticks();
    EXPECT_EQ(page->wContextPopup->Margin(), ui::Thickness(300, 200, 0, 0));
    EXPECT_EQ(page->wDimmingOverlay->GetVisibility(), ui::Visibility::Visible);
    EXPECT_EQ(page->wDimmingOverlay->GridRowSpan(), 5);
    EXPECT_EQ(Entry("wContextPopup_SaveImage").GetVisibility(), ui::Visibility::Visible);
}

TEST_F(ContextPopup, OpenInNewTabOpensTheTargetOrNothing)
{
    struct Case {
        const char* target;
        const char* opened; // nullptr: no tab
    } cases[] = {
        {"http://a.example/next?q='x'", "http://a.example/next?q='x'"},
        {"http://a.example/i.png?x=1&GET_IMG", "http://a.example/i.png?x=1"},
        {"", nullptr},          // a link without an address
        {"not a uri", nullptr}, // what the parser rejects
    };
    for (const auto& c : cases) {
        int before = TabCount();
        RightClick(10, 10, c.target);
        Ticks();
        page->Flags.OverlayWanted = true;
        Entry("wContextPopup_OpenInNewTab").RaiseClick();
        EXPECT_EQ(TabCount(), before + (c.opened ? 1 : 0)) << c.target;
        if (c.opened) {
            EXPECT_EQ(h.Browsers.Last().Navigations, std::vector<std::string>{c.opened});
        }
        EXPECT_FALSE(Process().Bridge.ContextMenuOpen) << c.target;
        EXPECT_FALSE(page->Flags.OverlayWanted) << c.target;
        EXPECT_EQ(ConnectionSlots[ConfigDb], nullptr) << c.target;
        EXPECT_TRUE(h.Dialogs.Shown.empty()) << c.target;
        Ticks(30);
        EXPECT_EQ(page->wContextPopup->GetVisibility(), ui::Visibility::Collapsed) << c.target;
    }
}

TEST_F(ContextPopup, CopyLinkPutsTheTargetOnTheClipboard)
{
    struct Case {
        const char* sent;
        const char* copied;
    } cases[] = {
        {"http://a.example/page#top", "http://a.example/page#top"},
        {"http://a.example/i.png?x=1&y=2&GET_IMG", "http://a.example/i.png?x=1&y=2"}, // without the marker
        {"http://ünïcödé.example/中文", "http://ünïcödé.example/中文"},
    };
    for (const auto& c : cases) {
        RightClick(10, 10, c.sent);
        Ticks();
        Entry("wContextPopup_CopyLink").RaiseClick();
        ASSERT_FALSE(h.Clipboard.Texts.empty());
        EXPECT_EQ(h.Clipboard.Texts.back(), c.copied);
        EXPECT_FALSE(Process().Bridge.ContextMenuOpen);
        EXPECT_FALSE(page->Flags.OverlayWanted);
    }
    EXPECT_EQ(h.Clipboard.Texts.size(), 3u);

    // Save image (until downloads exist) still closes the pop-up.
    RightClick(10, 10, "http://a.example/i.png&GET_IMG");
    Ticks();
    Entry("wContextPopup_SaveImage").RaiseClick();
    EXPECT_FALSE(Process().Bridge.ContextMenuOpen);
    EXPECT_FALSE(page->Flags.OverlayWanted);
}

} // namespace
