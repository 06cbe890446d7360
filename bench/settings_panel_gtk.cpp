// Opening the settings panel: the nine reads from a real file, the controls
// filled and the real GTK widgets brought in step with them.
//
// Run it on a display: tests/integration/with-display build/settings_panel_gtk
// Each iteration first stores other values (untimed), so every opening
// changes every control and its widget.
#include <benchmark/benchmark.h>
#include <gtk/gtk.h>

#include "platform/gtk/renderer.h"
#include "storage/schema.h"
#include "tests/doubles/page_harness.h"

namespace {

void StoreRound(doubles::PageHarness& h, bool odd)
{
    const char* sql[] = {
        "DELETE FROM wConfig_HomePage; INSERT INTO wConfig_HomePage VALUES ('http://a.example/');"
        "DELETE FROM wConfig_ThemeColor; INSERT INTO wConfig_ThemeColor VALUES ('Azul');"
        "DELETE FROM wConfig_AdressBarPosition; INSERT INTO wConfig_AdressBarPosition VALUES ('Top');"
        "DELETE FROM wConfig_SaveFavoriteStatus; INSERT INTO wConfig_SaveFavoriteStatus VALUES ('true');",
        "DELETE FROM wConfig_HomePage; INSERT INTO wConfig_HomePage VALUES ('http://b.example/');"
        "DELETE FROM wConfig_ThemeColor; INSERT INTO wConfig_ThemeColor VALUES ('Claro');"
        "DELETE FROM wConfig_AdressBarPosition; INSERT INTO wConfig_AdressBarPosition VALUES ('Bottom');"
        "DELETE FROM wConfig_SaveFavoriteStatus; INSERT INTO wConfig_SaveFavoriteStatus VALUES ('false');",
    };
    h.Execute(ConfigFile, sql[odd]);
}

void BM_OpenSettingsPanel(benchmark::State& state)
{
    gtk_init();
    doubles::PageHarness h;
    h.Start();
    gtkui::Renderer renderer(h.Page().Root());
    GtkWidget* window = gtk_window_new();
    gtk_window_set_default_size(GTK_WINDOW(window), 1280, 800);
    gtk_window_set_child(GTK_WINDOW(window), renderer.RootWidget());
    gtk_window_present(GTK_WINDOW(window));
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
    bool odd = false;
    for (auto _ : state) {
        state.PauseTiming();
        StoreRound(h, odd = !odd);
        h.Page().CloseAll();
        state.ResumeTiming();
        h.Click("wSideMenu_Settings");
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
    }
    gtk_window_destroy(GTK_WINDOW(window));
}
BENCHMARK(BM_OpenSettingsPanel)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
