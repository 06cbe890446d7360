// The database work of one completed navigation against a large history:
// open the three files, the once-per-link-and-day lookup, the history insert,
// the favorite-star lookup, the tab row update, close. Argument 1 runs on the
// files as created (with the link/date index), 0 on a copy without it.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "browser/visit_statements.h"
#include "storage/database.h"
#include "storage/schema.h"
#include "tests/doubles/services.h"

namespace {

constexpr int HistoryRows = 100000;
constexpr int FavoriteRows = 1000;

struct Fixture {
    std::filesystem::path Root;
    std::filesystem::path Indexed;
    std::filesystem::path Unindexed;
    doubles::FakeDialogs Dialogs;

    Fixture()
    {
        char pattern[] = "/tmp/tolvane-navbench-XXXXXX";
        Root = mkdtemp(pattern);
        Indexed = Root / "indexed";
        Unindexed = Root / "unindexed";
        std::filesystem::create_directory(Indexed);
        Fill(Indexed);
        std::filesystem::copy(Indexed, Unindexed);
        ConfigureDatabases(Unindexed.string(), &Dialogs);
        OpenDatabase(HistoryDb, HistoryFile);
        ExecuteStatement(HistoryDb, "DROP INDEX wHistoric_PagesOpened_LinkDate;");
        CloseDatabase(HistoryDb);
    }

    ~Fixture() { std::filesystem::remove_all(Root); }

    void Fill(const std::filesystem::path& folder)
    {
        ConfigureDatabases(folder.string(), &Dialogs);
        CreateDatabases();
        SeedDefaults();
        ExecuteStatement(ConfigDb, PageOpenedInsert(0, "http://www.bing.com/"));
        CloseDatabase(ConfigDb);

        OpenDatabase(HistoryDb, HistoryFile);
        ExecuteStatement(HistoryDb,
            "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < " + std::to_string(HistoryRows) + ") "
            "INSERT INTO wHistoric_PagesOpened SELECT NULL, 'Visited page ' || x, "
            "'https://site' || (x % 5000) || '.example.org/articles/' || x, "
            "((x / 300) % 28 + 1) || '/' || ((x / 8400) % 12 + 1), ((x / 60) % 24) || 'h' || (x % 60) FROM n;");
        CloseDatabase(HistoryDb);

        OpenDatabase(FavoritesDb, FavoritesFile);
        ExecuteStatement(FavoritesDb,
            "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < " + std::to_string(FavoriteRows) + ") "
            "INSERT INTO wFavorite_Registered SELECT NULL, 'Favorite ' || x, 'https://fav' || x || '.example.org/' FROM n;");
        CloseDatabase(FavoritesDb);
    }
};

Fixture& Files()
{
    static Fixture fixture;
    return fixture;
}

// What the navigation-completed handler asks of the databases for one page,
// with the statements the browser itself builds.
void RecordCompletedNavigation(std::string title, const std::string& link, const std::string& date,
                               const std::string& time)
{
    OpenDatabase(FavoritesDb, FavoritesFile);
    OpenDatabase(HistoryDb, HistoryFile);
    OpenDatabase(ConfigDb, ConfigFile);

    if (QueryInteger(HistoryDb, HistoryVisitQuery(link, date)) == -1) {
        std::replace(title.begin(), title.end(), '"', '\''); // as the browser does before the insert
        ExecuteStatement(HistoryDb, HistoryVisitInsert(title, link, date, time));
    }
    benchmark::DoNotOptimize(QueryInteger(FavoritesDb, FavoriteLookupQuery(link)));
    if (QueryText(ConfigDb, PageOpenedQuery(0)).empty())
        ExecuteStatement(ConfigDb, PageOpenedInsert(0, link));
    else
        ExecuteStatement(ConfigDb, PageOpenedUpdate(0, link));

    CloseDatabase(FavoritesDb);
    CloseDatabase(HistoryDb);
    CloseDatabase(ConfigDb);
}

void BM_CompletedNavigation(benchmark::State& state)
{
    auto& files = Files();
    bool indexed = state.range(0) == 1;
    ConfigureDatabases((indexed ? files.Indexed : files.Unindexed).string(), &files.Dialogs);
    int visit = 0;
    for (auto _ : state) {
        // Alternate a new page with a revisit on the same day, as browsing does.
        int page = visit / 2;
        std::string link = "https://site" + std::to_string(page % 5000) + ".example.org/articles/new-" + std::to_string(page);
        RecordCompletedNavigation("A page's \"title\" – ação", link, "6/12", "16h22");
        ++visit;
    }
    state.SetLabel(indexed ? "with link/date index" : "without index");
    if (!files.Dialogs.Shown.empty())
        state.SkipWithError("a database could not be opened");
}

BENCHMARK(BM_CompletedNavigation)
    ->ArgName("indexed")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
