// History: the show-list button, the newest visits first, opening one,
// letting go of the rows, and clearing after a question.
#include "library/history_panel.h"
#include "tests/library/library_test_support.h"

namespace {

using History = librarytest::LibraryTest;

std::string Text(ui::Element& e) { return dynamic_cast<ui::TextBlock&>(e).Text(); }

TEST_F(History, TheNewestVisitsUnderTheNoticeOpenAndGoAndClearingAsksFirst)
{
    auto& panel = *h.Controls().HistoryListPanel;
    h.History().OpenHistoryPanel(h.Page().Root());
    EXPECT_EQ(Text(panel.ChildAt(0)), "wText_NullHistoric/Text");
    Fill(HistoryFile, "wHistoric_PagesOpened", 3001, "'Visit ' || x, 'http://v/' || x, '5/3', '7h' || x");
    h.History().OpenHistoryPanel(h.Page().Root());
    auto& show = dynamic_cast<ui::Button&>(panel.ChildAt(0));
    EXPECT_EQ(show.Tag(), HistoryPanel::ShowListTag);
    show.RaiseClick();
    ASSERT_EQ(panel.Count(), 3001u);
    EXPECT_EQ(Text(panel.ChildAt(0)), "wMaxShowHistoric/Text");
    EXPECT_EQ(panel.ChildAt(3000).Tag(), 2);
    EXPECT_EQ(Text(Child(panel.ChildAt(1), 0)), "7h3001\n5/3");
    EXPECT_EQ(RowButton(panel, 1, 2).Content(), "Visit 3001");
    // Once the panel is in, a visit opens in a new tab and the panel's rows go as it slides out.
    h.Timers.TickAll(60);
    RowButton(panel, 1, 2).RaiseClick();
    ASSERT_EQ(h.TabCount(), 2);
    EXPECT_EQ(h.Tab(1)->Navigations, (std::vector<std::string>{"http://v/3001"}));
    h.Timers.TickAll(1);
    EXPECT_EQ(panel.Count(), 0u);

    for (const char* answer : {"No", "Yes"}) {
        h.Click("ClearHistoryButton");
        h.Dialogs.Answer(answer);
    }
    EXPECT_EQ(h.QueryInteger(HistoryFile, "SELECT COUNT(*) FROM wHistoric_PagesOpened"), 0);
    EXPECT_EQ(h.Browsers.TemporaryDataClears, 1); // the "No" cleared nothing
    EXPECT_EQ(h.LastDialog(), "wMessageBox_SucessClearHistoric");
    EXPECT_TRUE(AllConnectionsClosed());
}

} // namespace
