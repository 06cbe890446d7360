// The companion services' costs. With 2,000 entries in the user's
// applications folder: starting the Reelpull check (what the polling tick
// pays) and the time until its answer arrives on the main loop. And the texts
// built from a 1,000,000-character address or title: the translation address,
// the mailto URI, the desktop entry (built and written).
#include <benchmark/benchmark.h>
#include <glib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/gtk/launcher_gtk.h"
#include "platform/gtk/secondary_tiles_gtk.h"
#include "services/reelpull.h"
#include "services/translate_page.h"
#include "services/uri_text.h"
#include "tests/doubles/page_harness.h"

namespace {

namespace fs = std::filesystem;
constexpr int Entries = 2000;
const std::string Huge(1000000, 'a');

// GIO reads the applications folders once, at its first look-up: the 2,000
// entries are in place before that, for the whole run.
void PrepareApplications()
{
    static doubles::TempFolder data;
    static bool prepared = false;
    if (prepared)
        return;
    prepared = true;
    fs::create_directories(data.Path() / "applications");
    for (int i = 0; i < Entries; ++i) {
        std::ofstream entry(data.Path() / "applications" / ("app" + std::to_string(i) + ".desktop"));
        entry << "[Desktop Entry]\nType=Application\nName=App " << i << "\nExec=/bin/true %u\nMimeType=x-scheme-handler/s"
              << i << ";\n";
    }
    g_setenv("XDG_DATA_HOME", data.Path().c_str(), TRUE);
}

void BM_CompanionCheckStart(benchmark::State& state)
{
    PrepareApplications();
    gtkui::DesktopLauncher launcher("");
    int answers = 0;
    for (auto _ : state) {
        launcher.QueryUriSupportAsync(ReelpullScheme, ReelpullFamilyName, [&](auto) { ++answers; });
        state.PauseTiming();
        int before = answers;
        while (answers == before)
            g_main_context_iteration(nullptr, TRUE);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CompanionCheckStart)->Unit(benchmark::kMicrosecond);

void BM_CompanionCheckAnswer(benchmark::State& state)
{
    PrepareApplications();
    gtkui::DesktopLauncher launcher("");
    for (auto _ : state) {
        bool answered = false;
        launcher.QueryUriSupportAsync(ReelpullScheme, ReelpullFamilyName, [&](auto) { answered = true; });
        while (!answered)
            g_main_context_iteration(nullptr, TRUE);
    }
}
BENCHMARK(BM_CompanionCheckAnswer)->Unit(benchmark::kMillisecond);

void BM_TranslationUrl(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(TranslationUrl("Microsoft_Translator", "pt-BR", "https://ex.com/?" + Huge));
}
BENCHMARK(BM_TranslationUrl)->Unit(benchmark::kMillisecond);

void BM_MailtoUri(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(MailtoUri("", Huge, Huge));
}
BENCHMARK(BM_MailtoUri)->Unit(benchmark::kMillisecond);

void BM_DesktopEntryTexts(benchmark::State& state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(gtkui::DesktopExecLine({"/usr/bin/tolvane-browser", "--arguments", Huge}));
        benchmark::DoNotOptimize(gtkui::DesktopEntryName(Huge, "x"));
    }
}
BENCHMARK(BM_DesktopEntryTexts)->Unit(benchmark::kMillisecond);

void BM_DesktopEntryWritten(benchmark::State& state)
{
    doubles::TempFolder folder;
    gtkui::DesktopEntryTiles tiles((folder.Path() / "applications").string(), "/usr/bin/tolvane-browser",
                                   [] { return std::string(); });
    int n = 0;
    std::string address = "https://ex.com/?" + std::string(32000, 'a');
    for (auto _ : state)
        benchmark::DoNotOptimize(tiles.RequestCreate({"TolvaneTile." + std::to_string(n++), Huge, address}));
}
BENCHMARK(BM_DesktopEntryWritten)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
