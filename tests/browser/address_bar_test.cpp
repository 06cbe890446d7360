// The address bar's decision between an address and a search, and its focus rules.
#include <gtest/gtest.h>

#include "app/process_state.h"
#include "browser/address_bar.h"
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
        auto& page = h.Page();
        page.AdressBox->SetText(typed);
        auto* view = page.CurrentTabIndex >= 0 ? h.Tab(page.CurrentTabIndex) : nullptr;
        size_t before = view ? view->Navigations.size() : 0;
        ui::KeyEventArgs enter{13};
        page.AdressBox_KeyDown(*page.AdressBox, enter);
        view = page.CurrentTabIndex >= 0 ? h.Tab(page.CurrentTabIndex) : nullptr;
        if (!view || view->Navigations.size() == before)
            return "";
        return view->Navigations.back();
    }
    void UseEngine(const std::string& engine)
    {
        h.Execute(ConfigFile, "DELETE FROM wConfig_MainSearcherAdress; INSERT INTO wConfig_MainSearcherAdress VALUES ('" +
                                  engine + "');");
    }
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
}

TEST_F(AddressBar, SearchesWithTheChosenEngine)
{
    h.Start();
    const std::pair<const char*, const char*> engines[] = {
        {"Bing", "http://www.bing.com/search?q=cats"},
        {"Google", "https://www.google.com/search?q=cats"},
        {"DuckDuckGo", "https://duckduckgo.com/?q=cats"},
        {"duckduckgo", ""},
        {"", ""},
    };
    for (auto& [engine, expected] : engines) {
        UseEngine(engine);
        EXPECT_EQ(Enter("cats"), expected) << "engine: " << engine;
    }
}

TEST_F(AddressBar, EnterFinishesByFocusingThePageAndShowingTheLoadingState)
{
    auto& page = h.Start();
    page.Flags.Settings = true;
    page.Flags.OverlayWanted = true;
    Process().Bridge.ContextMenuOpen = true;
    UseEngine("nothing");
    Enter("unmatched engine still finishes");
    EXPECT_EQ(h.Tab(0)->FocusCalls, 1);
    EXPECT_TRUE(page.LoadingRing->IsActive());
    EXPECT_EQ(page.LoadingState, 1.0);
    EXPECT_FALSE(page.Flags.Settings);
    EXPECT_FALSE(page.Flags.OverlayWanted);
    EXPECT_FALSE(Process().Bridge.ContextMenuOpen);
}

TEST_F(AddressBar, WithNoTabEnterOpensAFirstTab)
{
    auto& page = h.Start();
    page.CloseTab(*Process().Tabs.TabStripCloseButtons[0]);
    EXPECT_EQ(Enter("example.org"), "http://example.org/");
    EXPECT_EQ(page.CurrentTabIndex, 0);
}

TEST_F(AddressBar, InvalidAddressIsReportedAndNothingLoads)
{
    auto& page = h.Start();
    h.Dialogs.Shown.clear();
    EXPECT_EQ(Enter("http://[::1"), "");
    ASSERT_EQ(h.Dialogs.Shown.size(), 1u);
    EXPECT_EQ(page.CurrentTabIndex, 0);
}

TEST_F(AddressBar, LeavingTheBoxRestoresThePageAddressExceptOnAppPages)
{
    auto& page = h.Start();
    h.Tab(0)->CompleteNavigation("http://shown.example/", "Shown");
    page.AdressBox->SetText("half typed");
    page.AdressBox_LostFocus(*page.AdressBox);
    EXPECT_EQ(page.AdressBox->Text(), "http://shown.example/");

    h.Tab(0)->CompleteNavigation("ms-appx-web:///Assets/wPageError_EN.htm", "Error");
    page.AdressBox->SetText("typed over the error page");
    page.AdressBox_LostFocus(*page.AdressBox);
    EXPECT_EQ(page.AdressBox->Text(), "typed over the error page");
    EXPECT_EQ(page.AdressBox->SelectionLength(), 0);
}

TEST(AddressText, ClassificationFollowsTheRules)
{
    EXPECT_EQ(ClassifyAddressText("words http://x"), AddressKind::Address);
    EXPECT_EQ(ClassifyAddressText("nodot"), AddressKind::Search);
    EXPECT_EQ(ClassifyAddressText("a.b c"), AddressKind::Search);
    EXPECT_EQ(ClassifyAddressText("a.b"), AddressKind::Address);
    EXPECT_EQ(AddressTarget("https://a.b"), "https://a.b");
    EXPECT_EQ(AddressTarget("a.b"), "http://a.b");
}

} // namespace
