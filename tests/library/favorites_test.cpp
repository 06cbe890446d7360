// Favorites: saving from the star, the list, opening and deleting with the
// renumbering, and what a damaged or read-only file does.
#include <fstream>

#include "storage/text_codec.h"
#include "tests/doubles/raw_database.h"
#include "tests/library/library_test_support.h"

namespace {

using librarytest::LibraryTest;

class Favorites : public LibraryTest {
protected:
    void SetUp() override
    {
        LibraryTest::SetUp();
        h.Tab(0)->CompleteNavigation(PageLink, "Page title");
    }
    void Save(const std::string& name)
    {
        h.Click("FavoriteStarButton");
        h.Controls().AddFavoriteNameBox->SetText(name);
        h.Click("SaveFavoriteButton");
    }
    void List() { h.Favorites().BuildFavoritesList(h.Page().Root()); }
    ui::StackPanel& Panel() { return *h.Controls().FavoritesListPanel; }
    void AskDelete(size_t row) { RowButton(Panel(), row, 2).RaiseClick(); }
    std::string Stored() { return h.QueryText(FavoritesFile, "SELECT wID, wNAME FROM wFavorite_Registered ORDER BY wID"); }
    std::string Star() { return h.Controls().FavoriteStarButton->Content(); }

    static constexpr const char* PageLink = "http://page.example/";
    static constexpr const char* FilledStar = "\xEE\x87\x8F";
    static constexpr const char* EmptyStar = "\xEE\x88\x88";
};

TEST_F(Favorites, SavingStoresTheNameAsTypedOrTheAddressAndRefusesARepeatedName)
{
    h.Click("FavoriteStarButton");
    EXPECT_TRUE(h.Chrome().Flags().AddFavorite);
    EXPECT_EQ(h.Controls().AddFavoriteNameBox->Text(), "Page title");
    h.Click("SaveFavoriteButton");
    EXPECT_EQ(LastDialog(), "\"Page title\" wMessageBox_SucessAddFavorite");
    EXPECT_EQ(Star(), FilledStar);
    EXPECT_FALSE(h.Chrome().Flags().AddFavorite);

    const std::string odd = "Tom's \"best\" 😀 Ελληνικά 日本 עברית";
    Save(odd);
    EXPECT_EQ(LastDialog(), "\"" + odd + "\" wMessageBox_SucessAddFavorite");
    Save("");
    EXPECT_EQ(LastDialog(), std::string("\"") + PageLink + "\" wMessageBox_SucessAddFavorite");
    // The stored bytes are the layer's one-byte format; the list shows the name whole.
    EXPECT_EQ(Stored(), "1|Page title\n2|" + NarrowText(odd) + "\n3|" + PageLink);

    Save("Page title");
    EXPECT_EQ(LastDialog(), "\"Page title\" wMessageBox_AddFavoriteRepeat");
    EXPECT_TRUE(h.Chrome().Flags().AddFavorite); // the panel stays for another name
    EXPECT_EQ(h.QueryInteger(FavoritesFile, "SELECT COUNT(*) FROM wFavorite_Registered"), 3);

    const std::string longTitle(100000, 'x');
    Save(longTitle);
    EXPECT_EQ(h.QueryInteger(FavoritesFile, "SELECT length(wNAME) FROM wFavorite_Registered WHERE wID=4"), 100000);

    List();
    ASSERT_EQ(Panel().Count(), 4u);
    EXPECT_EQ(RowButton(Panel(), 1, 1).Content(), odd);
    EXPECT_EQ(Row(Panel(), 1).Tag(), 2);
    EXPECT_TRUE(AllConnectionsClosed());

    // Without a tab the star only says so.
    h.Tabs().CloseTab(*h.Slot(0).StripCaption);
    h.Dialogs.Shown.clear();
    h.Click("FavoriteStarButton");
    EXPECT_EQ(LastDialog(), "wMessageBox_NullGuidesAddFavorite");
}

TEST_F(Favorites, DeletingAsksThenRemovesThatFavoriteAndMovesTheLaterOnesDown)
{
    FillFavorites(5);
    List();
    AskDelete(1);
    EXPECT_EQ(h.Dialogs.Shown.back().Commands, (std::vector<std::string>{"Yes", "No"}));
    h.Dialogs.Answer("No");
    EXPECT_EQ(h.QueryInteger(FavoritesFile, "SELECT COUNT(*) FROM wFavorite_Registered"), 5);

    AskDelete(1);
    h.Dialogs.Answer("Yes");
    EXPECT_EQ(Stored(), "1|Fav 1\n2|Fav 3\n3|Fav 4\n4|Fav 5");
    EXPECT_EQ(LastDialog(), "\"Fav 2\" wMessageBox_FavoriteDeleteSucess");
    EXPECT_TRUE(h.Chrome().Flags().SideMenu);
    EXPECT_FALSE(h.Chrome().Flags().Favorites);
    EXPECT_TRUE(AllConnectionsClosed());
}

TEST_F(Favorites, PendingQuestionsDeleteTheFavoriteEachWasAskedAboutWhateverTheOrder)
{
    FillFavorites(5);
    List();
    AskDelete(1); // Fav 2
    AskDelete(3); // Fav 4
    AskDelete(1); // Fav 2 again, from the same stale list
    h.Dialogs.Shown[1].OnCommand("Yes");
    h.Dialogs.Shown[0].OnCommand("Yes");
    h.Dialogs.Shown[2].OnCommand("Yes"); // already gone: nothing more
    EXPECT_EQ(Stored(), "1|Fav 1\n2|Fav 3\n3|Fav 5");
}

TEST_F(Favorites, EveryFavoriteIsListedWhateverTheCountOrTheGapsInTheIds)
{
    FillFavorites(300);
    h.Execute(FavoritesFile, "UPDATE wFavorite_Registered SET wID=900 WHERE wID=5;");
    List();
    ASSERT_EQ(Panel().Count(), 300u);
    EXPECT_EQ(Row(Panel(), 298).Tag(), 300);
    EXPECT_EQ(RowButton(Panel(), 299, 1).Content(), "Fav 5");
    AskDelete(298);
    h.Dialogs.Answer("Yes");
    EXPECT_EQ(h.QueryText(FavoritesFile, "SELECT wNAME FROM wFavorite_Registered WHERE wID=300"), "");
    EXPECT_EQ(h.QueryInteger(FavoritesFile, "SELECT COUNT(*) FROM wFavorite_Registered"), 299);
}

TEST_F(Favorites, AFailedWriteIsToldAndLeavesTheTableAsItWas)
{
    FillFavorites(5);
    // The renumbering fails half-way: the deletion and the moves before it go back.
    h.Execute(FavoritesFile, "CREATE TRIGGER refuse BEFORE UPDATE ON wFavorite_Registered WHEN NEW.wID=3 "
                             "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    const auto before = Stored();
    List();
    AskDelete(0);
    h.Dialogs.Answer("Yes");
    EXPECT_EQ(LastDialog(), "wMessageBox_DatabaseWriteFailed");
    EXPECT_EQ(Stored(), before);

    // A file SQLite must treat as read-only (its write version is from the future).
    {
        std::fstream file(h.Folder.Path() / FavoritesFile, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(18);
        file.put(3);
    }
    Save("Another");
    EXPECT_EQ(LastDialog(), "wMessageBox_DatabaseWriteFailed");
    EXPECT_EQ(Star(), EmptyStar);
    EXPECT_EQ(Stored(), before);
    EXPECT_TRUE(AllConnectionsClosed());
}

TEST_F(Favorites, OpeningLoadsANewTabAndDeletingTheCurrentPagesFavoriteEmptiesTheStar)
{
    Save("Page title");
    h.Execute(FavoritesFile, "INSERT INTO wFavorite_Registered VALUES (NULL, 'Broken', 'no address at all');");
    List();
    RowButton(Panel(), 1, 1).RaiseClick();
    EXPECT_EQ(LastDialog(), "wMessageBox_InvalidLink");
    EXPECT_EQ(h.TabCount(), 1);
    EXPECT_TRUE(h.Chrome().Flags().Favorites); // the panel stays

    RowButton(Panel(), 0, 1).RaiseClick();
    ASSERT_EQ(h.TabCount(), 2);
    EXPECT_EQ(h.Tab(1)->Navigations, (std::vector<std::string>{PageLink}));
    EXPECT_FALSE(h.Chrome().Flags().Favorites);

    h.Tabs().SelectTab(*h.Slot(0).StripCaption);
    EXPECT_EQ(Star(), FilledStar);
    List();
    AskDelete(0);
    h.Dialogs.Answer("Yes");
    EXPECT_EQ(Star(), EmptyStar);
    EXPECT_TRUE(AllConnectionsClosed());
}

TEST_F(Favorites, ADamagedFileListsNothingAndDoesNotCrash)
{
    {
        std::ofstream file(h.Folder.Path() / FavoritesFile, std::ios::binary | std::ios::trunc);
        file << std::string(4096, 'x');
    }
    List();
    ASSERT_EQ(Panel().Count(), 1u);
    EXPECT_EQ(dynamic_cast<ui::TextBlock&>(Row(Panel(), 0)).Text(), "wText_NullFavorite/Text");
    Save("Name");
    EXPECT_EQ(LastDialog(), "wMessageBox_DatabaseWriteFailed");
}

} // namespace
