// History: the show-list button, the newest visits first, opening one,
// clearing after a question, and letting go of the rows.
#include "library/history_panel.h"
#include "tests/library/library_test_support.h"

namespace {

class History : public librarytest::LibraryTest {
protected:
    void Fill(int n) { LibraryTest::Fill(HistoryFile, "wHistoric_PagesOpened", n, "'Visit ' || x, 'http://v/' || x, '5/3', '7h' || x"); }
    // The panel opened and its show-list button clicked.
    ui::StackPanel& Shown()
    {
        h.History().OpenHistoryPanel(h.Page().Root());
        auto& panel = *h.Controls().HistoryListPanel;
        auto& show = dynamic_cast<ui::Button&>(panel.ChildAt(0));
        EXPECT_EQ(show.Tag(), HistoryPanel::ShowListTag);
        show.RaiseClick();
        return panel;
    }
    std::string Text(ui::Element& e) { return dynamic_cast<ui::TextBlock&>(e).Text(); }
};

TEST_F(History, AboveTheLimitTheNoticeComesFirstThenTheNewestVisits)
{
    h.History().OpenHistoryPanel(h.Page().Root());
    EXPECT_EQ(Text(h.Controls().HistoryListPanel->ChildAt(0)), "wText_NullHistoric/Text");
    Fill(3001);
    auto& panel = Shown();
    ASSERT_EQ(panel.Count(), 3001u);
    EXPECT_EQ(Text(panel.ChildAt(0)), "wMaxShowHistoric/Text");
    EXPECT_EQ(panel.ChildAt(3000).Tag(), 2);
    EXPECT_EQ(Text(Child(panel.ChildAt(1), 0)), "7h3001\n5/3");
    EXPECT_EQ(RowButton(panel, 1, 2).Content(), "Visit 3001");

    // The panel leaves: its rows go as it starts to slide out.
    h.Timers.TickAll(60);
    h.Chrome().CloseAll();
    h.Timers.TickAll(1);
    EXPECT_EQ(panel.Count(), 0u);
}

TEST_F(History, AClickOpensTheVisitAndClearingAsksThenEmptiesHistoryAndCache)
{
    Fill(3);
    RowButton(Shown(), 0, 2).RaiseClick();
    ASSERT_EQ(h.TabCount(), 2);
    EXPECT_EQ(h.Tab(1)->Navigations, (std::vector<std::string>{"http://v/3"}));

    for (const char* answer : {"No", "Yes"}) {
        h.Click("ClearHistoryButton");
        h.Dialogs.Answer(answer);
    }
    EXPECT_EQ(h.QueryInteger(HistoryFile, "SELECT COUNT(*) FROM wHistoric_PagesOpened"), 0);
    EXPECT_EQ(h.Browsers.TemporaryDataClears, 1); // the "No" cleared nothing
    EXPECT_EQ(LastDialog(), "wMessageBox_SucessClearHistoric");
    EXPECT_TRUE(AllConnectionsClosed());
}

} // namespace
