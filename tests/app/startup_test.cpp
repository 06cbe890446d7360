// Start-up with doubles: which files, defaults and tabs a start leaves behind.
#include <filesystem>

#include <gtest/gtest.h>

#include "storage/schema.h"
#include "tests/doubles/page_harness.h"

namespace {

using doubles::PageHarness;

std::string LastNavigation(doubles::FakeWebView* view)
{
    return view && !view->Navigations.empty() ? view->Navigations.back() : "";
}

// The files, their defaults and the chrome a first start shows are the
// schema test's and the real binary's first start's; here, what only doubles see.
TEST(Startup, FirstStartOpensTheHomePageWithOnlyThePollingTimerRunning)
{
    PageHarness h;
    h.Start();
    ASSERT_EQ(h.TabCount(), 1);
    EXPECT_EQ(LastNavigation(h.Tab(0)), "http://www.bing.com/");
    EXPECT_EQ(h.Tabs().CurrentTabIndex(), 0);
    EXPECT_EQ(h.View.TitleBarElement, h.Controls().TitleBarArea);
    EXPECT_EQ(h.System.StatusBarHides, 0);
    // Both timers exist; only the polling timer runs until a download starts.
    ASSERT_EQ(h.Timers.Created.size(), 2u);
    EXPECT_TRUE(h.Timers.Created[0]->Enabled);
    EXPECT_FALSE(h.Timers.Created[1]->Enabled);
    EXPECT_TRUE(h.Dialogs.Shown.empty());
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
        std::vector<std::string> rowsAfter; // wLINK by wID 0, 1, …
    } cases[] = {
        {"in id order", "true", "(2,'http://c.example/'),(0,'http://a.example/'),(1,'http://b.example/')", "",
         {"http://a.example/", "http://b.example/", "http://c.example/"},
         {"http://a.example/", "http://b.example/", "http://c.example/"}},
        {"gaps in the ids", "true", "(0,'http://a.example/'),(2,'http://c.example/')", "",
         {"http://a.example/", "http://c.example/"}, {"http://a.example/", "http://c.example/"}},
        {"a row that does not parse", "true", "(0,'not an address'),(5,'http://b.example/')", "",
         {"http://b.example/"}, {"http://b.example/"}},
        {"no rows", "true", "", "", {"http://www.bing.com/"}, {}},
        {"restore off", "false", "(0,'http://a.example/')", "", {"http://www.bing.com/"}, {}},
        {"a launch address", "true", "(0,'http://a.example/')", "http://launch.example/page",
         {"http://launch.example/page"}, {}},
        {"a launch address that does not parse", "true", "", "not an address at all", {"http://www.bing.com/"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PageHarness h;
        h.Start();
        h.Stop();
        h.Execute(ConfigFile, std::string("DELETE FROM wConfig_PagesOpenedStatus; INSERT INTO "
                                          "wConfig_PagesOpenedStatus VALUES ('") + c.restore + "');");
        if (*c.rows)
            h.Execute(ConfigFile, std::string("INSERT INTO wConfig_PagesOpened VALUES ") + c.rows + ";");
        h.Start(c.launch);
        ASSERT_EQ(h.TabCount(), static_cast<int>(c.opened.size()));
        for (size_t k = 0; k < c.opened.size(); ++k)
            EXPECT_EQ(LastNavigation(h.Tab(static_cast<int>(k))), c.opened[k]);
        EXPECT_EQ(h.QueryInteger(ConfigFile, "SELECT COUNT(*) FROM wConfig_PagesOpened"),
                  static_cast<int>(c.rowsAfter.size()));
        for (size_t k = 0; k < c.rowsAfter.size(); ++k)
            EXPECT_EQ(h.QueryText(ConfigFile, "SELECT wLINK FROM wConfig_PagesOpened WHERE wID=" + std::to_string(k)),
                      c.rowsAfter[k]);
    }
}

TEST(Startup, AFileThatCannotBeOpenedIsReportedOnceAndStartUpGoesOn)
{
    PageHarness h;
    // A folder where the favorites file should be: SQLite cannot open it.
    std::filesystem::create_directory(h.Folder.Path() / FavoritesFile);
    h.System.Phone = true;
    h.Start();
    ASSERT_EQ(h.Dialogs.Shown.size(), 1u);
    const auto& content = h.Dialogs.Shown[0].Content;
    EXPECT_EQ(content.rfind("Não foi possivel abrir a database.\n", 0), 0u);
    EXPECT_NE(content.find((h.Folder.Path() / FavoritesFile).string()), std::string::npos) << content;
    EXPECT_EQ(h.Dialogs.Shown[0].Title, "Erro");
    EXPECT_EQ(h.TabCount(), 1);
    EXPECT_EQ(h.QueryText(ConfigFile, "SELECT wCOLOR FROM wConfig_ThemeColor"), "Escuro");
    // Later uses fail quietly: the file was named once, not at every page.
    h.Tab(0)->CompleteNavigation("http://a.example/", "A");
    h.Dialogs.Dismiss();
    h.Tab(0)->CompleteNavigation("http://b.example/", "B");
    EXPECT_EQ(h.Dialogs.Shown.size(), 1u);
    // On a phone the status bar is hidden.
    EXPECT_EQ(h.System.StatusBarHides, 1);
}

TEST(ExitConfirmation, OnlyYesEndsTheApplicationAndTheQuestionNeverStacks)
{
    PageHarness h;
    h.Start();
    h.Click("CloseAppButton");
    h.Click("CloseAppButton");
    ASSERT_EQ(h.Dialogs.Shown.size(), 1u);
    EXPECT_EQ(h.Dialogs.Shown[0].Title, "Tolvane Browser");
    EXPECT_EQ(h.Dialogs.Shown[0].Commands, (std::vector<std::string>{"Yes", "No"}));
    h.Dialogs.Answer("No");
    EXPECT_EQ(h.View.ExitCalls, 0);
    h.Click("CloseAppButton");
    h.Dialogs.Answer("Yes");
    EXPECT_EQ(h.View.ExitCalls, 1);
}

} // namespace
