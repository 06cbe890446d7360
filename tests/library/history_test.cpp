// History: the show-list button, the newest visits first, opening one,
// clearing after a question, and letting go of the rows.
#include "library/history_panel.h"
#include "tests/library/library_test_support.h"

namespace {

using librarytest::LibraryTest;

class History : public LibraryTest {
protected:
    void Open() { h.History().OpenHistoryPanel(h.Page().Root()); }
    ui::StackPanel& Panel() { return *h.Controls().HistoryListPanel; }
    ui::Button& ShowListButton() { return dynamic_cast<ui::Button&>(Row(Panel(), 0)); }
    int Visits() { return h.QueryInteger(HistoryFile, "SELECT COUNT(*) FROM wHistoric_PagesOpened"); }
};

TEST_F(History, AnEmptyHistorySaysSoWithoutAShowListButton)
{
    Open();
    ASSERT_EQ(Panel().Count(), 1u);
    EXPECT_EQ(dynamic_cast<ui::TextBlock&>(Row(Panel(), 0)).Text(), "wText_NullHistoric/Text");
    EXPECT_TRUE(h.Chrome().Flags().History);
}

TEST_F(History, AboveTheLimitTheNoticeComesFirstThenTheNewestVisits)
{
    FillHistory(3001);
    Open();
    ASSERT_EQ(Panel().Count(), 1u);
    EXPECT_EQ(ShowListButton().Tag(), HistoryPanel::ShowListTag);
    EXPECT_EQ(ShowListButton().Content(), "wShowListHistoric/Content");

    ShowListButton().RaiseClick();
    ASSERT_EQ(Panel().Count(), 3001u);
    EXPECT_EQ(dynamic_cast<ui::TextBlock&>(Row(Panel(), 0)).Text(), "wMaxShowHistoric/Text");
    EXPECT_EQ(Row(Panel(), 1).Tag(), 3001);
    EXPECT_EQ(Row(Panel(), 3000).Tag(), 2);
    auto& newest = *Row(Panel(), 1).AsPanel();
    EXPECT_EQ(dynamic_cast<ui::TextBlock&>(newest.ChildAt(0)).Text(), "7h3001\n5/3");
    EXPECT_EQ(dynamic_cast<ui::TextBlock&>(newest.ChildAt(1)).Text(), "http://visit.example/3001");
    EXPECT_EQ(dynamic_cast<ui::Button&>(newest.ChildAt(2)).Content(), "Visit 3001");
    EXPECT_TRUE(AllConnectionsClosed());

    // The panel leaves: its rows go as it starts to slide out.
    h.Timers.TickAll(60);
    h.Chrome().CloseAll();
    h.Timers.TickAll(1);
    EXPECT_EQ(Panel().Count(), 0u);
}

TEST_F(History, AClickOpensTheVisitInANewTab)
{
    FillHistory(3);
    Open();
    ShowListButton().RaiseClick();
    RowButton(Panel(), 0, 2).RaiseClick();
    ASSERT_EQ(h.TabCount(), 2);
    EXPECT_EQ(h.Tab(1)->Navigations, (std::vector<std::string>{"http://visit.example/3"}));
    EXPECT_FALSE(h.Chrome().Flags().History);
    EXPECT_TRUE(AllConnectionsClosed());
}

TEST_F(History, ClearingAsksThenEmptiesTheHistoryAndTheWebCache)
{
    FillHistory(3);
    Open();
    h.Click("ClearHistoryButton");
    h.Dialogs.Answer("No");
    EXPECT_EQ(Visits(), 3);
    EXPECT_EQ(h.Browsers.TemporaryDataClears, 0);

    h.Click("ClearHistoryButton");
    h.Dialogs.Answer("Yes");
    EXPECT_EQ(Visits(), 0);
    EXPECT_EQ(h.Browsers.TemporaryDataClears, 1);
    EXPECT_EQ(LastDialog(), "wMessageBox_SucessClearHistoric");
    EXPECT_TRUE(h.Chrome().Flags().SideMenu);
    EXPECT_TRUE(AllConnectionsClosed());
}

} // namespace
