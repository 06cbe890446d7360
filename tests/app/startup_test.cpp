// Start-up with doubles: which files, defaults and tabs a start leaves behind.
#include <gtest/gtest.h>

#include "storage/schema.h"
#include "tests/doubles/page_harness.h"

namespace {

using doubles::PageHarness;

std::string LastNavigation(doubles::FakeWebView* view)
{
    return view && !view->Navigations.empty() ? view->Navigations.back() : "";
}

// The files, their defaults and the chrome a first start shows are the schema
// test's and the real first start's (a file that cannot be opened: the storage
// test's and the broken-files run); here, what only doubles see.
TEST(Startup, FirstStartOpensTheHomePageWithOnlyThePollingTimerRunning)
{
    PageHarness h;
    h.Start();
    ASSERT_EQ(h.TabCount(), 1);
    EXPECT_EQ(std::pair(LastNavigation(h.Tab(0)), h.Tabs().CurrentTabIndex()),
              std::pair(std::string("http://www.bing.com/"), 0));
    EXPECT_EQ(h.View.TitleBarElement, h.Controls().TitleBarArea);
    EXPECT_EQ(h.System.StatusBarHides, 0);
    EXPECT_TRUE(h.Dialogs.Shown.empty());
    // Both timers exist; only the polling timer runs until a download starts.
    ASSERT_EQ(h.Timers.Created.size(), 2u);
    EXPECT_EQ(std::pair(h.Timers.Created[0]->Enabled, h.Timers.Created[1]->Enabled), std::pair(true, false));
}

// What the next start opens, from the saved rows, the restore setting and
// the launch address; and the rows it leaves.
TEST(Startup, RestoreFollowsTheSavedRowsInIdOrderWhateverTheIds)
{
    struct Case {
        const char* name;
        const char* restore;
        const char* rows; // inserted as given
        const char* launch;
        std::vector<std::string> opened;
        bool kept; // the saved rows are the opened tabs, by wID 0, 1, …
    } cases[] = {
        {"in id order", "true", "(2,'http://c.example/'),(0,'http://a.example/'),(1,'http://b.example/')", "",
         {"http://a.example/", "http://b.example/", "http://c.example/"}, true},
        {"gaps in the ids", "true", "(0,'http://a.example/'),(2,'http://c.example/')", "",
         {"http://a.example/", "http://c.example/"}, true},
        {"a row that does not parse", "true", "(0,'not an address'),(5,'http://b.example/')", "",
         {"http://b.example/"}, true},
        {"no rows", "true", "", "", {"http://www.bing.com/"}, false},
        {"restore off", "false", "(0,'http://a.example/')", "", {"http://www.bing.com/"}, false},
        {"a launch address", "true", "(0,'http://a.example/')", "http://launch.example/page",
         {"http://launch.example/page"}, false},
        {"a launch address that does not parse", "true", "", "not an address at all", {"http://www.bing.com/"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PageHarness h;
        h.Start();
        h.Stop();
        h.StoreSetting("wConfig_PagesOpenedStatus", c.restore);
        if (*c.rows)
            h.Execute(ConfigFile, std::string("INSERT INTO wConfig_PagesOpened VALUES ") + c.rows + ";");
        h.Start(c.launch);
        std::vector<std::string> opened;
        std::string expectedRows;
        for (int k = 0; k < h.TabCount(); ++k)
            opened.push_back(LastNavigation(h.Tab(k)));
        EXPECT_EQ(opened, c.opened);
        for (size_t k = 0; c.kept && k < c.opened.size(); ++k)
            expectedRows += (k ? "\n" : "") + std::to_string(k) + "|" + c.opened[k];
        EXPECT_EQ(h.QueryText(ConfigFile, "SELECT wID, wLINK FROM wConfig_PagesOpened ORDER BY wID"), expectedRows);
    }
}

TEST(ExitConfirmation, OnlyYesEndsTheApplicationAndTheQuestionNeverStacks)
{
    PageHarness h;
    h.Start();
    h.Click("CloseAppButton");
    h.Click("CloseAppButton");
    ASSERT_EQ(h.Dialogs.Shown.size(), 1u);
    EXPECT_EQ(h.Dialogs.Shown[0].Commands, (std::vector<std::string>{"Yes", "No"}));
    EXPECT_EQ(h.Dialogs.Shown[0].Title, "Tolvane Browser");
    h.Dialogs.Answer("No");
    EXPECT_EQ(h.View.ExitCalls, 0);
    h.Click("CloseAppButton");
    h.Dialogs.Answer("Yes");
    EXPECT_EQ(h.View.ExitCalls, 1);
}

} // namespace
