// What the themes and the settings panel cost at start, measured where
// start-up timings are too noisy to show it: painting the page (the real GTK
// widgets following), asking the desktop's portal for its accent colour
// (answered by the stand-in portal or by nobody), and making the page's
// widgets with and without the settings panel's controls.
//
// Run it on a display: tests/integration/with-display build/theme_apply_gtk
#include <benchmark/benchmark.h>
#include <gio/gio.h>
#include <gtk/gtk.h>

#include <cstdlib>

#include "browser/layout_adaptation.h"
#include "platform/gtk/accent_color_gtk.h"
#include "platform/gtk/renderer.h"
#include "settings/theme_painter.h"
#include "storage/database.h"
#include "storage/schema.h"
#include "tests/doubles/page_harness.h"

namespace {

// Each iteration paints the other of two themes, so every brush changes.
void BM_ApplyTheme(benchmark::State& state)
{
    gtk_init();
    doubles::PageHarness h;
    h.Start();
    gtkui::Renderer renderer(h.Page().Root());
    GtkWidget* window = gtk_window_new();
    gtk_window_set_child(GTK_WINDOW(window), renderer.RootWidget());
    gtk_window_present(GTK_WINDOW(window));
    LayoutAdaptation layout(h.Controls(), h.Page().Markup(), h.View, h.System);
    ThemePainter painter(h.Controls(), h.Page().Markup(), h.System, h.View, layout);
    const char* themes[] = {"Azul", "Claro"};
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        h.Execute(ConfigFile, std::string("UPDATE wConfig_ThemeColor SET wCOLOR = '") + themes[++round % 2] + "';");
        state.ResumeTiming();
        painter.ApplyTheme();
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
        CloseDatabase(ConfigDb);
    }
    gtk_window_destroy(GTK_WINDOW(window));
}
BENCHMARK(BM_ApplyTheme)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The page's widgets made and laid out once, as at start: what the markup
// (the settings panel's controls among it) costs the first frame.
void BM_RenderPage(benchmark::State& state)
{
    gtk_init();
    doubles::PageHarness h;
    h.Start();
    // WITHOUT_SETTINGS_BODY=1: the same page without the settings panel's
    // controls, to tell what they add.
    if (std::getenv("WITHOUT_SETTINGS_BODY"))
        h.Page().Markup().Get<ui::ScrollViewer>("wSettingsScroller").ChildAt(0).AsPanel()->Clear();
    for (auto _ : state) {
        GtkWidget* window = gtk_window_new();
        gtk_window_set_default_size(GTK_WINDOW(window), 1280, 800);
        {
            gtkui::Renderer renderer(h.Page().Root());
            gtk_window_set_child(GTK_WINDOW(window), renderer.RootWidget());
            gtk_window_present(GTK_WINDOW(window));
            while (g_main_context_iteration(nullptr, FALSE)) {
            }
            state.PauseTiming();
            gtk_window_set_child(GTK_WINDOW(window), nullptr);
        }
        gtk_window_destroy(GTK_WINDOW(window));
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RenderPage)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_ReadAccentColor(benchmark::State& state, bool portal)
{
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    GSubprocess* fake = nullptr;
    if (portal) {
        const std::string script = std::string(TOLVANE_SOURCE_DIR) + "/tests/integration/fake_portal.py";
        fake = g_subprocess_new(G_SUBPROCESS_FLAGS_STDOUT_PIPE, nullptr, "/usr/bin/python3", script.c_str(),
                                "readone", nullptr);
        GDataInputStream* out = g_data_input_stream_new(g_subprocess_get_stdout_pipe(fake));
        g_free(g_data_input_stream_read_line(out, nullptr, nullptr, nullptr));
        g_object_unref(out);
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(gtkui::ReadAccentColor(bus));
    if (fake) {
        g_subprocess_force_exit(fake);
        g_subprocess_wait(fake, nullptr, nullptr);
        g_object_unref(fake);
    }
    g_object_unref(bus);
}
BENCHMARK_CAPTURE(BM_ReadAccentColor, portal, true)->Unit(benchmark::kMillisecond)->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_ReadAccentColor, nobody, false)->Unit(benchmark::kMillisecond)->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
