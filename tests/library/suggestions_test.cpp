// Suggestions while typing: which favorites and visits a typed text offers,
// in which order, under which headers, and what a tap on one loads.
#include "storage/text_codec.h"
#include "tests/library/library_test_support.h"

namespace {

using Suggestions = librarytest::LibraryTest;

std::string Range(const std::string& prefix, int from, int to)
{
    std::string links;
    for (int k = from; k <= to; ++k)
        links += prefix + std::to_string(k) + " ";
    return links;
}

TEST_F(Suggestions, ATypedTextOffersWhatShowsItOldestFirstAndATapLoadsIt)
{
    // In the layer's own byte format, as the browser stores them.
    h.Execute(FavoritesFile, NarrowText(
        "INSERT INTO wFavorite_Registered (wNAME, wLINK) VALUES ('GitHub', 'https://github.com/'), "
        "('404 Not Found', 'http://x.example/'), ('Tom''s', 'http://toms/'), ('100% pure', 'http://pure/'), "
        "('a_b', 'http://ab/'), ('C:\\path', 'http://path/'), ('café', 'http://cafe/'), "
        "('cafè', 'http://cafe2/'), ('日本', 'http://jp/');"));
    Fill(FavoritesFile, "wFavorite_Registered", 20, "'Fav ' || x, 'http://fav/' || x");
    Fill(HistoryFile, "wHistoric_PagesOpened", 20, "'Visit ' || x, 'http://visit/' || x, '5/3', '7h0'");
    auto& items = *h.Controls().SuggestionItemsPanel;
    auto type = [&](const std::string& text, ui::FocusState focus = ui::FocusState::Pointer) {
        h.Controls().AdressBox->SetFocusStateFromUser(focus);
        h.Controls().AdressBox->SetTextFromUser(text);
    };
    // Entries as "F:link" or "H:link" (favorite, history), headers as "#top margin".
    auto shown = [&] {
        std::string out;
        for (size_t i = 0; i < items.Count(); ++i) {
            auto& text = dynamic_cast<ui::TextBlock&>(items.ChildAt(i));
            if (!text.Name().empty())
                out += text.Name().substr(1, 1) + ":" + text.Text() + " ";
            else if (text.FontFamily().empty())
                out += "#" + std::to_string(int(text.Margin().Top)) + " ";
        }
        return out;
    };
    const std::pair<std::string, std::string> cases[] = {
        {"git", "#3 F:https://github.com/ "}, {"GIT", "#3 F:https://github.com/ "}, // not "404 Not Found"
        {"'", "#3 F:http://toms/ "}, {"%", "#3 F:http://pure/ "}, {"_", "#3 F:http://ab/ "},
        {"\\", "#3 F:http://path/ "}, {"é", "#3 F:http://cafe/ "}, {"日", "#3 F:http://jp/ "},
        {"x6", ""}, // not inside the stored escape of 日
        {"fav/", "#3 " + Range("F:http://fav/", 1, 15)}, {"visit/2", "#3 H:http://visit/2 H:http://visit/20 "},
        {"/1", "#3 F:http://fav/1 " + Range("F:http://fav/", 10, 19) + "#10 H:http://visit/1 " +
                   Range("H:http://visit/", 10, 19)},
    };
    for (const auto& [typed, expected] : cases) {
        type(typed);
        EXPECT_EQ(shown(), expected) << typed;
        EXPECT_TRUE(AllConnectionsClosed()) << typed;
    }
    EXPECT_EQ(h.Controls().SuggestionList->GetVisibility(), ui::Visibility::Visible);
    type(""); // the oldest 15 favorites (the 15th is fav/6) and 16 visits
    EXPECT_NE(shown().find("F:http://fav/6 #10 H:http://visit/1 "), std::string::npos);
    EXPECT_TRUE(shown().ends_with("H:http://visit/16 "));
    EXPECT_EQ(items.Count(), 1 + 2 * 15 + 1 + 2 * 16u);
    type("git", ui::FocusState::Keyboard);
    EXPECT_EQ(shown(), "");

    // A tap loads the entry in the current tab, or in a first tab when there is none.
    for (auto [typed, tabs] : {std::pair("visit/20", 1), {"github", 0}}) {
        if (tabs == 0)
            h.Tabs().CloseTab(*h.Slot(0).StripCaption);
        type(typed);
        auto& entry = items.ChildAt(items.Count() - 1);
        entry.Tapped(entry);
        EXPECT_EQ(h.TabCount(), 1);
        EXPECT_EQ(h.Tab(0)->Navigations.back(), tabs ? "http://visit/20" : "https://github.com/");
        EXPECT_GT(h.Tab(0)->FocusCalls, 0);
        EXPECT_TRUE(AllConnectionsClosed());
    }
}

} // namespace
