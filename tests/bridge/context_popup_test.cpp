// The context pop-up: where it opens, what it closes, and its entries.
#include <chrono>
#include <string>

#include <gtest/gtest.h>

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
        // The engine's own event comes just after the page's listener.
        tab->ContextMenuGesture(*tab);
    }
    ui::Button& Entry(const std::string& name) { return page->Markup().Get<ui::Button>(name); }

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
    } cases[] = { // the window, the pointer, the target, where the pop-up opens
        // Right edge: the pop-up is 180 wide; exactly at the edge still fits.
        {1024, 768, 844, 100, link, 844, 100},
        {1024, 768, 845, 100, link, 665, 100},
        // Bottom: within 80 pixels plus the pop-up's height (taller with an image) it opens upwards.
        {1024, 768, 100, 596, link, 100, 596},
        {1024, 768, 100, 562, image, 100, 435},
        // Both at once, in a small window.
        {400, 300, 390, 290, image, 210, 163},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y) + " in " + std::to_string(int(c.width)));
        h.View.Bounds = {0, 0, c.width, c.height};
        RightClick(c.x, c.y, c.target);
        Ticks();
        EXPECT_EQ(h.Controls().wContextPopup->Margin(), ui::Thickness(c.left, c.top, 0, 0));
        EXPECT_EQ(h.Controls().wContextPopup->GetVisibility(), ui::Visibility::Visible);
        // Save image shows for images only; the pop-up's height follows.
        bool isImage = c.target == image;
        EXPECT_EQ(Entry("wContextPopup_SaveImage").GetVisibility(),
                  isImage ? ui::Visibility::Visible : ui::Visibility::Collapsed);
        EXPECT_EQ(h.Controls().wContextPopup->Height(), isImage ? 127 : 92);
        h.Chrome().CloseAll();
        Ticks(30);
        ASSERT_EQ(h.Controls().wContextPopup->GetVisibility(), ui::Visibility::Collapsed);
    }
}

// It opens over every panel, on an overlay that catches the click outside,
// and a new right-click while it fades out places it again.
TEST_F(ContextPopup, ShowsOverAnOverlayThatCatchesTheClickOutside)
{
    auto& popup = *h.Controls().wContextPopup;
    auto& overlay = *h.Controls().wDimmingOverlay;
    auto overlayCatches = [&] { // over every row, and not so faint that clicks go through
        return overlay.GetVisibility() == ui::Visibility::Visible && overlay.GridRowSpan() == 5 && overlay.Opacity() > 0;
    };
    h.Chrome().OpenPanel(&OpenFlags::Favorites);
    Ticks(30);
    RightClick(50, 60, "http://a.example/i.png&GET_IMG");
    Ticks(30);
    EXPECT_FALSE(h.Chrome().Flags().Favorites || h.Chrome().Flags().OverlayWanted);
    EXPECT_NE(h.Controls().wFavoritesPanel->Margin().Right, 0);
    EXPECT_TRUE(overlayCatches()); // the panel slid out under it, yet the overlay still catches clicks

    overlay.Tapped(overlay);
    Ticks(5); // fading out, still visible; the overlay is already gone
    EXPECT_EQ(overlay.GetVisibility(), ui::Visibility::Collapsed);
    RightClick(300, 200, "http://a.example/");
    Ticks();
    EXPECT_EQ(popup.Margin(), ui::Thickness(300, 200, 0, 0));
    EXPECT_TRUE(overlayCatches());
    overlay.Tapped(overlay);
    Ticks(21);
    EXPECT_EQ(popup.GetVisibility(), ui::Visibility::Collapsed);
    EXPECT_EQ(overlay.GetVisibility(), ui::Visibility::Collapsed);
    EXPECT_EQ(std::pair(overlay.GridRow(), overlay.GridRowSpan()), std::pair(2, 3)); // back to its rows
}

// Only web addresses leave the pop-up: never a local file or a script a page named.
TEST_F(ContextPopup, ItsEntriesActOnWebTargetsOnly)
{
    const std::pair<const char*, const char*> cases[] = { // target, opened and copied (nullptr: neither)
        {"http://a.example/next?q='x'#top", "http://a.example/next?q='x'#top"},
        {"http://a.example/i.png?x=1&y=2&GET_IMG", "http://a.example/i.png?x=1&y=2"}, // without the marker
        {"https://ünïcödé.example/中文", "https://ünïcödé.example/中文"},
        {"", nullptr}, // a link without an address
        {"not a uri", nullptr},
        {"file:///etc/hostname", nullptr},
        {"javascript:alert(1)", nullptr},
    };
    for (const auto& [target, used] : cases) {
        SCOPED_TRACE(target);
        int tabsBefore = h.TabCount();
        size_t copiesBefore = h.Clipboard.Texts.size();
        for (const char* entry : {"wContextPopup_CopyLink", "wContextPopup_OpenInNewTab", "wContextPopup_SaveImage"}) {
            RightClick(10, 10, target);
            Ticks();
            Entry(entry).RaiseClick();
            // Every entry closes the pop-up and its overlay.
            EXPECT_FALSE(h.Chrome().Flags().ContextMenu || h.Chrome().Flags().OverlayWanted);
            Ticks(30);
            EXPECT_EQ(h.Controls().wContextPopup->GetVisibility(), ui::Visibility::Collapsed);
        }
        EXPECT_EQ(std::pair(h.TabCount(), h.Clipboard.Texts.size()), std::pair(tabsBefore + !!used, copiesBefore + !!used));
        if (used) {
            EXPECT_EQ(h.Clipboard.Texts.back(), used);
            EXPECT_EQ(h.Browsers.Last().Navigations.front(), platform::Uri::Parse(used)->AbsoluteUri());
        }
        EXPECT_EQ(ConnectionSlots[ConfigDb], nullptr);
        EXPECT_TRUE(h.Dialogs.Shown.empty());
        h.Page().SelectTab(*h.Slot(0).StripCaption);
    }
}

// A page alone cannot open the pop-up: its report counts only beside the
// engine's own context-menu event on that view, once, within about a second.
TEST_F(ContextPopup, APageCannotForgeTheRightClick)
{
    using namespace std::chrono_literals;
    auto now = std::chrono::steady_clock::now();
    h.Bridge().Now = [&] { return now; };
    auto* tab = h.Tab(0);
    auto report = [&](const std::string& target) { tab->CallAllowedObject("wScriptNotify", "wContextMenu", {target}); };
    auto opens = [&] {
        Ticks();
        bool open = h.Chrome().Flags().ContextMenu;
        h.Chrome().CloseAll();
        Ticks(30);
        return open;
    };
    // A flood of reports neither opens it nor holds a panel shut.
    h.Chrome().OpenPanel(&OpenFlags::Settings);
    for (int k = 0; k < 100; ++k)
        report("file:///etc/hostname");
    Ticks(30);
    EXPECT_TRUE(h.Chrome().Flags().Settings);
    EXPECT_EQ(h.Controls().wSettingsPanel->Margin().Right, 0);
    EXPECT_FALSE(opens());

    // The gesture first, the report within the second: one pop-up.
    tab->ContextMenuGesture(*tab);
    now += 900ms;
    report("http://a.example/");
    EXPECT_TRUE(opens());
    report("http://a.example/again"); // the gesture is used up
    EXPECT_FALSE(opens());

    // Too late either way round.
    now += 1100ms;
    tab->ContextMenuGesture(*tab);
    now += 1100ms;
    report("http://a.example/");
    EXPECT_FALSE(opens());
    now += 1100ms;
    tab->ContextMenuGesture(*tab);
    EXPECT_FALSE(opens());

    // A target of more than 32 KiB is no link anyone right-clicked.
    report("http://a.example/" + std::string(40 * 1024, 'x'));
    tab->ContextMenuGesture(*tab);
    EXPECT_FALSE(opens());
    // Another tab's gesture does not count for this one.
    now += 1100ms;
    h.Page().OpenTab(*platform::Uri::Parse("http://other.example/"));
    h.Tab(1)->CompleteNavigation("http://other.example/", "Other");
    report("http://a.example/");
    h.Tab(1)->ContextMenuGesture(*h.Tab(1));
    EXPECT_FALSE(opens());
}

} // namespace
