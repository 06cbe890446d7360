// Suggestions while typing: which favorites and visits a typed text offers,
// in which order, under which headers, and what a tap on one loads.
#include "storage/text_codec.h"
#include "tests/library/library_test_support.h"

namespace {

using librarytest::LibraryTest;

class Suggestions : public LibraryTest {
protected:
    void SetUp() override
    {
        LibraryTest::SetUp();
        // The layer's own byte format, as the browser would have stored them.
        h.Execute(FavoritesFile, NarrowText(
            "INSERT INTO wFavorite_Registered (wNAME, wLINK) VALUES ('GitHub', 'https://github.com/'), "
            "('404 Not Found', 'http://x.example/missing'), ('Tom''s page', 'http://toms.example/'), "
            "('100% pure', 'http://pure.example/'), ('a_b', 'http://ab.example/'), "
            "('C:\\path', 'http://path.example/'), ('café', 'http://cafe.example/'), "
            "('cafè', 'http://cafe2.example/'), ('日本', 'http://jp.example/');"));
        h.Execute(FavoritesFile, "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 20) "
                                 "INSERT INTO wFavorite_Registered SELECT NULL, 'Fav ' || x, 'http://fav.example/' || x FROM n;");
        FillHistory(20);
    }
    void Type(const std::string& text, ui::FocusState focus = ui::FocusState::Pointer)
    {
        auto& box = *h.Controls().AdressBox;
        box.SetFocusStateFromUser(focus);
        box.SetTextFromUser(text);
    }
    ui::StackPanel& Items() { return *h.Controls().SuggestionItemsPanel; }
    // The entries as "F:link" or "H:link", the headers as "#text@top".
    std::vector<std::string> Shown()
    {
        std::vector<std::string> shown;
        for (size_t i = 0; i < Items().Count(); ++i) {
            auto& text = dynamic_cast<ui::TextBlock&>(Items().ChildAt(i));
            if (text.Name() == "wFavorite" || text.Name() == "wHistoric")
                shown.push_back(text.Name().substr(1, 1) + ":" + text.Text());
            else if (text.FontFamily().empty())
                shown.push_back("#" + text.Text() + "@" + std::to_string(int(text.Margin().Top)));
        }
        return shown;
    }
    static std::vector<std::string> Range(const std::string& prefix, int from, int to)
    {
        std::vector<std::string> links;
        for (int k = from; k <= to; ++k)
            links.push_back(prefix + std::to_string(k));
        return links;
    }
};

TEST_F(Suggestions, ATypedTextOffersWhatShowsItOldestFirstUnderItsHeaders)
{
    const std::string fav = "#wSec_Name_Favorite/Text@3";
    struct Case {
        std::string Typed;
        std::vector<std::string> Expected;
    };
    // Both sections: the history header keeps its distance from the favorites.
    std::vector<std::string> both{fav, "F:http://fav.example/1"};
    auto favTens = Range("F:http://fav.example/", 10, 19);
    both.insert(both.end(), favTens.begin(), favTens.end());
    both.push_back("#wSec_Name_Historic/Text@10");
    both.push_back("H:http://visit.example/1");
    auto visitTens = Range("H:http://visit.example/", 10, 19);
    both.insert(both.end(), visitTens.begin(), visitTens.end());
    std::vector<std::string> visits{"#wSec_Name_Historic/Text@3"};
    auto sixteen = Range("H:http://visit.example/", 1, 16);
    visits.insert(visits.end(), sixteen.begin(), sixteen.end());
    std::vector<std::string> favs{fav};
    auto fifteen = Range("F:http://fav.example/", 1, 15);
    favs.insert(favs.end(), fifteen.begin(), fifteen.end());
    const Case cases[] = {
        {"git", {fav, "F:https://github.com/"}}, // not "404 Not Found" for its leading digits
        {"GIT", {fav, "F:https://github.com/"}},
        {"'", {fav, "F:http://toms.example/"}},
        {"%", {fav, "F:http://pure.example/"}},
        {"_", {fav, "F:http://ab.example/"}},
        {"\\", {fav, "F:http://path.example/"}},
        {"é", {fav, "F:http://cafe.example/"}},
        {"x6", {}}, // not inside the stored escape of 日
        {"日", {fav, "F:http://jp.example/"}},
        {"example/1", both},
        {"VISIT", visits},
        {"visit.example/2", {"#wSec_Name_Historic/Text@3", "H:http://visit.example/2", "H:http://visit.example/20"}},
        {"fav.example/", favs},
    };
    for (const auto& c : cases) {
        Type(c.Typed);
        EXPECT_EQ(Shown(), c.Expected) << c.Typed;
        EXPECT_TRUE(AllConnectionsClosed()) << c.Typed;
    }
    EXPECT_EQ(h.Controls().SuggestionList->GetVisibility(), ui::Visibility::Visible);

    // An empty text lists the oldest of each; keyboard focus or code lists nothing.
    Type("");
    auto all = Shown();
    EXPECT_EQ(std::count_if(all.begin(), all.end(), [](auto& s) { return s[0] == 'F'; }), 15);
    EXPECT_EQ(all.back(), "H:http://visit.example/16");
    Type("git", ui::FocusState::Keyboard);
    EXPECT_TRUE(Shown().empty());
}

TEST_F(Suggestions, ATapLoadsTheEntryInTheCurrentTabOrAFirstTab)
{
    Type("visit.example/20");
    auto& entry = Items().ChildAt(Items().Count() - 1);
    entry.Tapped(entry);
    EXPECT_EQ(h.Tab(0)->Navigations.back(), "http://visit.example/20");
    EXPECT_EQ(h.TabCount(), 1);
    EXPECT_GT(h.Tab(0)->FocusCalls, 0);

    h.Tabs().CloseTab(*h.Slot(0).StripCaption);
    Type("github");
    auto& favorite = Items().ChildAt(Items().Count() - 1);
    favorite.Tapped(favorite);
    ASSERT_EQ(h.TabCount(), 1);
    EXPECT_EQ(h.Tab(0)->Navigations, (std::vector<std::string>{"https://github.com/"}));
    EXPECT_TRUE(AllConnectionsClosed());
}

} // namespace
