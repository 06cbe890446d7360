// The history list with real text metrics (Pango): the query, the 3,000
// newest of 100,000 visits as rows and the first layout of the page with a
// fresh measurer; then, with the list shown, one scroll's layout pass. The
// same two on screen: the page rendered in a window, timed until the frame
// that shows the change has been painted (widgets made, laid out, drawn).
//
// Run it on a display: tests/integration/with-display build/history_list_gtk
#include <benchmark/benchmark.h>

#include <gtk/gtk.h>

#include <memory>
#include <string>

#include "library/history_panel.h"
#include "platform/gtk/renderer.h"
#include "platform/gtk/text_measurer.h"
#include "platform/ui/layout.h"
#include "storage/schema.h"
#include "tests/doubles/page_harness.h"

namespace {

struct LongHistory {
    doubles::PageHarness h;

    LongHistory()
    {
        h.Start();
        h.Execute(HistoryFile,
            "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 100000) "
            "INSERT INTO wHistoric_PagesOpened SELECT NULL, 'Visited page number ' || x || ' – a longer title', "
            "'https://site' || (x % 5000) || '.example.org/articles/' || x, "
            "((x / 300) % 28 + 1) || '/' || ((x / 8400) % 12 + 1), ((x / 60) % 24) || 'h' || (x % 60) FROM n;");
        h.History().OpenHistoryPanel(h.Page().Root());
        h.Timers.TickAll(60); // the panel slides in
    }

    void ShowList()
    {
        auto& panel = *h.Controls().HistoryListPanel;
        h.History().OpenHistoryPanel(h.Page().Root());
        dynamic_cast<ui::Button&>(panel.ChildAt(0)).RaiseClick();
    }

    ui::ScrollViewer& Scroller() { return h.Page().Markup().Get<ui::ScrollViewer>("HistoryListScroller"); }
};

LongHistory& History()
{
    static LongHistory history;
    return history;
}

constexpr ui::Size Window{1024, 768};

void BM_HistoryListFirstLayout(benchmark::State& state)
{
    auto& history = History();
    for (auto _ : state) {
        gtkui::PangoTextMeasurer measurer; // nothing measured before
        history.ShowList();
        ui::UpdateLayout(history.h.Page().Root(), Window, measurer);
        state.PauseTiming();
        history.h.Timers.TickAll(); // the show-list button goes
        state.ResumeTiming();
    }
    state.counters["rows"] = static_cast<double>(history.h.Controls().HistoryListPanel->Count());
    state.counters["extent"] = history.Scroller().ExtentSize.Height;
}
BENCHMARK(BM_HistoryListFirstLayout)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_HistoryListScroll(benchmark::State& state)
{
    auto& history = History();
    gtkui::PangoTextMeasurer measurer;
    history.ShowList();
    ui::UpdateLayout(history.h.Page().Root(), Window, measurer);
    double offset = 0;
    for (auto _ : state) {
        offset = offset > 100000 ? 0 : offset + 48; // one wheel notch
        history.Scroller().ScrollTo(0, offset);
        ui::UpdateLayout(history.h.Page().Root(), Window, measurer);
    }
}
BENCHMARK(BM_HistoryListScroll)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The page in a 1024 by 768 window.
struct OnScreen {
    std::unique_ptr<gtkui::Renderer> Renderer;
    GtkWindow* Window = nullptr;

    explicit OnScreen(ui::Element& root)
    {
        gtk_init();
        Renderer = std::make_unique<gtkui::Renderer>(root);
        Window = GTK_WINDOW(gtk_window_new());
        gtk_window_set_default_size(Window, 1024, 768);
        gtk_window_set_child(Window, Renderer->RootWidget());
        gtk_window_present(Window);
        while (!gtk_widget_get_mapped(Renderer->RootWidget()))
            g_main_context_iteration(nullptr, TRUE);
        NextFrame();
    }

    // Runs the main loop until one more frame has been painted.
    void NextFrame()
    {
        GdkFrameClock* clock = gtk_widget_get_frame_clock(Renderer->RootWidget());
        bool painted = false;
        gulong id = g_signal_connect_swapped(clock, "after-paint", G_CALLBACK(+[](bool* p) { *p = true; }), &painted);
        gtk_widget_queue_draw(Renderer->RootWidget());
        while (!painted)
            g_main_context_iteration(nullptr, TRUE);
        g_signal_handler_disconnect(clock, id);
    }
};

OnScreen& Screen()
{
    static OnScreen screen(History().h.Page().Root());
    return screen;
}

void BM_HistoryListOnScreen(benchmark::State& state)
{
    auto& history = History();
    auto& screen = Screen();
    for (auto _ : state) {
        history.ShowList();
        screen.NextFrame();
        state.PauseTiming();
        history.h.Timers.TickAll();
        history.h.History().ReleaseHistoryRows();
        screen.NextFrame();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_HistoryListOnScreen)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The panel leaves: its rows and their widgets go.
void BM_HistoryReleaseOnScreen(benchmark::State& state)
{
    auto& history = History();
    auto& screen = Screen();
    for (auto _ : state) {
        state.PauseTiming();
        history.ShowList();
        screen.NextFrame();
        history.h.Timers.TickAll();
        state.ResumeTiming();
        history.h.History().ReleaseHistoryRows();
        screen.NextFrame();
    }
}
BENCHMARK(BM_HistoryReleaseOnScreen)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3)
    ->ReportAggregatesOnly(true);

void BM_HistoryScrollOnScreen(benchmark::State& state)
{
    auto& history = History();
    auto& screen = Screen();
    history.ShowList();
    screen.NextFrame();
    double offset = 0;
    for (auto _ : state) {
        offset = offset > 100000 ? 0 : offset + 48;
        history.Scroller().ScrollTo(0, offset);
        screen.NextFrame();
    }
}
BENCHMARK(BM_HistoryScrollOnScreen)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// For reference: a frame of the same window in which nothing changed.
void BM_UnchangedFrameOnScreen(benchmark::State& state)
{
    auto& screen = Screen();
    for (auto _ : state)
        screen.NextFrame();
}
BENCHMARK(BM_UnchangedFrameOnScreen)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
