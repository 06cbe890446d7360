// The library's database work against a large profile: 100,000 visits and
// 1,000 favorites. One keystroke's suggestions (the lookups and building the
// rows), the favorites list, deleting the first favorite (the deletion and
// the renumbering of the 999 after it, in one transaction).
#include <benchmark/benchmark.h>

#include <string>

#include "library/address_suggestions.h"
#include "library/favorites_panel.h"
#include "storage/schema.h"
#include "tests/doubles/page_harness.h"

namespace {

constexpr int HistoryRows = 100000;
constexpr int FavoriteRows = 1000;

std::string Numbers(int n)
{
    return "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < " + std::to_string(n) + ") ";
}

struct LargeProfile {
    doubles::PageHarness h;

    LargeProfile()
    {
        h.Start();
        h.Execute(HistoryFile, Numbers(HistoryRows) +
            "INSERT INTO wHistoric_PagesOpened SELECT NULL, 'Visited page ' || x, "
            "'https://site' || (x % 5000) || '.example.org/articles/' || x, "
            "((x / 300) % 28 + 1) || '/' || ((x / 8400) % 12 + 1), ((x / 60) % 24) || 'h' || (x % 60) FROM n;");
        RefillFavorites();
    }

    void RefillFavorites()
    {
        h.Execute(FavoritesFile, "DELETE FROM wFavorite_Registered; " + Numbers(FavoriteRows) +
            "INSERT INTO wFavorite_Registered SELECT x, 'Favorite ' || x, 'https://fav' || x || '.example.org/' FROM n;");
    }

    void Type(const std::string& text)
    {
        auto& box = *h.Controls().AdressBox;
        box.SetFocusStateFromUser(ui::FocusState::Pointer);
        box.SetTextFromUser(text);
    }
};

LargeProfile& Profile()
{
    static LargeProfile profile;
    return profile;
}

// Two texts taken in turn, so every keystroke changes the box.
void BM_Keystroke(benchmark::State& state)
{
    auto& profile = Profile();
    const bool matches = state.range(0) == 1;
    const std::string texts[] = {matches ? "site1" : "zq-none-1", matches ? "site2" : "zq-none-2"};
    int k = 0;
    for (auto _ : state) {
        profile.Type(texts[k++ % 2]);
        state.PauseTiming();
        profile.h.Timers.TickAll(); // the replaced rows go at the tick
        state.ResumeTiming();
    }
    state.SetLabel(matches ? "matching many" : "matching none");
    state.counters["entries"] = static_cast<double>(profile.h.Controls().SuggestionItemsPanel->Count());
}
BENCHMARK(BM_Keystroke)->ArgName("matching")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)
    ->Repetitions(5)->ReportAggregatesOnly(true);

void BM_FavoritesList(benchmark::State& state)
{
    auto& profile = Profile();
    for (auto _ : state)
        profile.h.Favorites().BuildFavoritesList(profile.h.Page().Root());
    state.counters["rows"] = static_cast<double>(profile.h.Controls().FavoritesListPanel->Count());
}
BENCHMARK(BM_FavoritesList)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_DeleteFirstFavorite(benchmark::State& state)
{
    auto& profile = Profile();
    auto& h = profile.h;
    for (auto _ : state) {
        state.PauseTiming();
        profile.RefillFavorites();
        h.Favorites().BuildFavoritesList(h.Page().Root());
        auto& cross = dynamic_cast<ui::Button&>(h.Controls().FavoritesListPanel->ChildAt(0).AsPanel()->ChildAt(2));
        state.ResumeTiming();
        cross.RaiseClick();
        h.Dialogs.Answer("Yes");
    }
    if (h.QueryInteger(FavoritesFile, "SELECT MAX(wID) FROM wFavorite_Registered") != FavoriteRows - 1)
        state.SkipWithError("the ids are not dense after the deletion");
}
BENCHMARK(BM_DeleteFirstFavorite)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
