// Favorites: saving from the star, the list, opening, deleting with the
// renumbering, and what a damaged or read-only file does.
#include <fstream>

#include "storage/text_codec.h"
#include "tests/library/library_test_support.h"

namespace {

constexpr const char* PageLink = "http://page.example/";
constexpr const char* FilledStar = "\xEE\x87\x8F";
constexpr const char* EmptyStar = "\xEE\x88\x88";

class Favorites : public librarytest::LibraryTest {
protected:
    void SetUp() override
    {
        LibraryTest::SetUp();
        h.Tab(0)->CompleteNavigation(PageLink, "Page title");
    }
    void Fill(int n) { LibraryTest::Fill(FavoritesFile, "wFavorite_Registered", n, "'Fav ' || x, 'http://' || x || '.example/'"); }
    void Save(const std::string& name)
    {
        h.Click("FavoriteStarButton");
        h.Controls().AddFavoriteNameBox->SetText(name);
        h.Click("SaveFavoriteButton");
    }
    ui::StackPanel& List()
    {
        h.Favorites().BuildFavoritesList(h.Page().Root());
        return *h.Controls().FavoritesListPanel;
    }
    void AskDelete(size_t row) { RowButton(*h.Controls().FavoritesListPanel, row, 2).RaiseClick(); }
    std::string Stored() { return h.QueryText(FavoritesFile, "SELECT wID, wNAME FROM wFavorite_Registered ORDER BY wID"); }
    std::string Star() { return h.Controls().FavoriteStarButton->Content(); }
};

TEST_F(Favorites, SavedUnderTheNameAsTypedOrTheAddressOpenedInANewTabAndTheStarFollows)
{
    h.Click("FavoriteStarButton");
    EXPECT_EQ(h.Controls().AddFavoriteNameBox->Text(), "Page title");
    h.Click("SaveFavoriteButton");
    EXPECT_EQ(h.LastDialog(), "\"Page title\" wMessageBox_SucessAddFavorite");
    EXPECT_EQ(Star(), FilledStar);

    const std::string odd = "Tom's \"best\" 😀 Ελληνικά 日本 עברית";
    Save(odd);
    EXPECT_EQ(h.LastDialog(), "\"" + odd + "\" wMessageBox_SucessAddFavorite");
    Save("");
    Save(std::string(100000, 'x'));
    EXPECT_EQ(Stored(), "1|Page title\n2|" + NarrowText(odd) + "\n3|" + PageLink + "\n4|" + std::string(100000, 'x'));
    Save("Page title");
    EXPECT_EQ(h.LastDialog(), "\"Page title\" wMessageBox_AddFavoriteRepeat");
    EXPECT_EQ(RowButton(List(), 1, 1).Content(), odd);
    EXPECT_TRUE(AllConnectionsClosed());

    // A stored link that does not parse opens nothing and the panel stays.
    h.Execute(FavoritesFile, "UPDATE wFavorite_Registered SET wLINK = 'no address at all' WHERE wID = 2;");
    RowButton(List(), 1, 1).RaiseClick();
    EXPECT_EQ(h.LastDialog(), "wMessageBox_InvalidLink");
    EXPECT_TRUE(h.Chrome().Flags().Favorites);
    RowButton(List(), 0, 1).RaiseClick();
    ASSERT_EQ(h.TabCount(), 2);
    EXPECT_EQ(h.Tab(1)->Navigations, (std::vector<std::string>{PageLink}));
    EXPECT_EQ(Star(), FilledStar);
    // Deleting the current page's favorite empties the star.
    List();
    AskDelete(0);
    h.Dialogs.Answer("Yes");
    EXPECT_EQ(Star(), EmptyStar);

    for (int slot : {1, 0})
        h.Tabs().CloseTab(*h.Slot(slot).StripCaption);
    h.Click("FavoriteStarButton");
    EXPECT_EQ(h.LastDialog(), "wMessageBox_NullGuidesAddFavorite");
}

TEST_F(Favorites, EachQuestionDeletesItsFavoriteWhateverTheOrderTheCountOrTheGaps)
{
    Fill(300);
    h.Execute(FavoritesFile, "UPDATE wFavorite_Registered SET wID=900 WHERE wID=300;");
    ASSERT_EQ(List().Count(), 300u);
    AskDelete(1);
    h.Dialogs.Answer("No");
    AskDelete(1); // Fav 2
    AskDelete(3); // Fav 4
    AskDelete(1); // Fav 2 again, from the same list
    h.Dialogs.Shown[2].OnCommand("Yes");
    EXPECT_EQ(h.LastDialog(), "\"Fav 4\" wMessageBox_FavoriteDeleteSucess");
    h.Dialogs.Shown[1].OnCommand("Yes");
    h.Dialogs.Shown[3].OnCommand("Yes"); // already gone: nothing more
    EXPECT_EQ(h.QueryText(FavoritesFile, "SELECT wID, wNAME FROM wFavorite_Registered WHERE wID IN (2, 3, 297, 898)"),
              "2|Fav 3\n3|Fav 5\n297|Fav 299\n898|Fav 300");
    EXPECT_TRUE(AllConnectionsClosed());
}

TEST_F(Favorites, AFailedWriteIsToldAndLeavesTheFileAsItWas)
{
    Fill(5);
    // The renumbering fails half-way: the deletion and the moves before it go back.
    h.Execute(FavoritesFile, "CREATE TRIGGER refuse BEFORE UPDATE ON wFavorite_Registered WHEN NEW.wID=3 "
                             "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    const auto before = Stored();
    List();
    AskDelete(0);
    h.Dialogs.Answer("Yes");
    EXPECT_EQ(h.LastDialog(), "wMessageBox_DatabaseWriteFailed");
    h.Dialogs.Dismiss();

    // A file SQLite must treat as read-only (its write version is from the future):
    // the database layer names the file, the favorites say the save failed.
    std::fstream(h.Folder.Path() / FavoritesFile, std::ios::in | std::ios::out | std::ios::binary).seekp(18).put(3);
    Save("Another");
    EXPECT_EQ(h.LastDialog(), "wMessageBox_DatabaseWriteFailed");
    EXPECT_EQ(Star(), EmptyStar);
    EXPECT_EQ(Stored(), before);

    std::ofstream(h.Folder.Path() / FavoritesFile, std::ios::trunc) << std::string(4096, 'x');
    EXPECT_EQ(dynamic_cast<ui::TextBlock&>(List().ChildAt(0)).Text(), "wText_NullFavorite/Text");
    EXPECT_TRUE(AllConnectionsClosed());
}

} // namespace
