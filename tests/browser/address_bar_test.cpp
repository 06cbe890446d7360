// The address bar's decision between an address and a search, and its focus rules.
#include <gtest/gtest.h>

#include "browser/address_resolution.h"
#include "storage/schema.h"
#include "tests/doubles/page_harness.h"

namespace {

using doubles::PageHarness;

struct AddressCase {
    const char* typed;
    const char* navigated; // "" when nothing may be navigated
};

class AddressBar : public ::testing::Test {
protected:
    std::string Enter(const std::string& typed)
    {
        auto* view = h.Tabs().CurrentTabIndex() >= 0 ? h.Tab(h.Tabs().CurrentTabIndex()) : nullptr;
        size_t before = view ? view->Navigations.size() : 0;
        h.Enter(typed);
        view = h.Tabs().CurrentTabIndex() >= 0 ? h.Tab(h.Tabs().CurrentTabIndex()) : nullptr;
        if (!view || view->Navigations.size() == before)
            return "";
        return view->Navigations.back();
    }
    void UseEngine(const std::string& engine) { h.StoreSetting("wConfig_MainSearcherAdress", engine); }
    PageHarness h;
};

TEST_F(AddressBar, DecidesBetweenAddressAndSearch)
{
    h.Start();
    const AddressCase cases[] = {
        {"example.com", "http://example.com/"},
        {"https://example.com/a", "https://example.com/a"},
        {"http://example.com/a", "http://example.com/a"},
        {"two words", "http://www.bing.com/search?q=two+words"},
        {"dotted name.com with blank", "http://www.bing.com/search?q=dotted+name.com+with+blank"},
        {"intranet", "http://www.bing.com/search?q=intranet"},
        {"https://intranet", "http://www.bing.com/search?q=https%3A%2F%2Fintranet"},
        {"see http://example.com/x", ""}, // holds "http://": an address, which does not parse
        {"", "http://www.bing.com/search?q="},
        {"C# & .NET", "http://www.bing.com/search?q=C%23+%26+.NET"},
        {"ação rápida", "http://www.bing.com/search?q=a%C3%A7%C3%A3o+r%C3%A1pida"},
    };
    for (auto& c : cases)
        EXPECT_EQ(Enter(c.typed), c.navigated) << "typed: " << c.typed;
    // The search goes to the chosen engine; a value naming none searches nowhere.
    const std::pair<const char*, const char*> engines[] = {
        {"Google", "https://www.google.com/search?q=cats"},
        {"DuckDuckGo", "https://duckduckgo.com/?q=cats"},
        {"duckduckgo", ""},
    };
    for (auto& [engine, expected] : engines) {
        UseEngine(engine);
        EXPECT_EQ(Enter("cats"), expected) << "engine: " << engine;
    }
}

TEST_F(AddressBar, EnterFocusesThePageClosesTheChromeAndTurnsTheRingOnlyForALoad)
{
    h.Start();
    h.Tab(0)->CompleteNavigation("http://www.bing.com/", "Bing");
    ASSERT_FALSE(h.Controls().LoadingRing->IsActive());
    h.Chrome().OpenPanel(&OpenFlags::Settings);
    h.Chrome().OpenContextPopup();
    UseEngine("nothing");
    Enter("unmatched engine still finishes");
    EXPECT_EQ(h.Tab(0)->FocusCalls, 1);
    const auto& flags = h.Chrome().Flags();
    EXPECT_FALSE(flags.Settings || flags.OverlayWanted || flags.ContextMenu);
    for (bool loads : {false, true}) {
        EXPECT_EQ(std::pair(h.Controls().LoadingRing->IsActive(), h.Tabs().CurrentTabLoading()), std::pair(loads, loads));
        UseEngine("Bing");
        Enter("cats");
    }
}

// Reported once however often it is entered; with no tab, Enter opens a first one.
TEST_F(AddressBar, InvalidAddressIsReportedOnceAndNothingLoadsAndWithNoTabEnterOpensOne)
{
    auto& page = h.Start();
    h.Tab(0)->CompleteNavigation("http://www.bing.com/", "Bing");
    EXPECT_EQ(Enter("http://[::1"), "");
    EXPECT_EQ(Enter("http://[::1"), "");
    ASSERT_EQ(h.Dialogs.Shown.size(), 1u);
    EXPECT_EQ(h.Dialogs.Shown[0].Content, h.Strings.GetString("wMessageBox_InvalidLink"));
    EXPECT_FALSE(h.Controls().LoadingRing->IsActive());
    EXPECT_EQ(h.TabCount(), 1);
    page.CloseTab(*h.Slot(0).StripCloseButton);
    EXPECT_EQ(Enter("example.org"), "http://example.org/");
    EXPECT_EQ(h.Tabs().CurrentTabIndex(), 0);
}

TEST_F(AddressBar, LeavingTheBoxRestoresThePageAddressExceptOnAppPages)
{
    h.Start();
    auto& box = *h.Controls().AdressBox;
    for (auto [page, kept] : {std::pair("http://shown.example/", "http://shown.example/"),
                              {"ms-appx-web:///Assets/wPageError_EN.htm", "typed over the error page"}}) {
        h.Tab(0)->CompleteNavigation(page, "Page");
        box.SetText("typed over the error page");
        box.LostFocus(box);
        EXPECT_EQ(box.Text(), kept);
    }
    EXPECT_EQ(box.SelectionLength(), 0);
}

} // namespace
