// Find in a five-megabyte page with the real engine, typed as a person types:
// from the last key to the first "N of M" the find bar shows (the manual
// time), to the exact total (ExactMs) and to the engine's first match
// selected (EngineMs).
//
// Run it on a display: tests/integration/with-display build/find_page_gtk
// Each iteration types a different word, a key every KeyGapMs.
#include <benchmark/benchmark.h>
#include <gtk/gtk.h>
#include <webkit/webkit.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "browser/find_search.h"
#include "platform/gtk/web_view_gtk.h"
#include "platform/gtk/web_views_gtk.h"

namespace {

// Five megabytes; TOLVANE_FIND_BYTES sets another size for a quick run.
size_t PageBytes()
{
    const char* bytes = g_getenv("TOLVANE_FIND_BYTES");
    return bytes ? g_ascii_strtoull(bytes, nullptr, 10) : 5 * 1024 * 1024;
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 60000)
{
    const gint64 deadline = g_get_monotonic_time() + gint64(timeoutMs) * 1000;
    while (!done() && g_get_monotonic_time() < deadline)
        if (!g_main_context_iteration(nullptr, FALSE))
            g_usleep(200);
    return done();
}

// A brisk typist's gap between keys.
constexpr int KeyGapMs = 150;

struct Page {
    std::unique_ptr<gtkui::WebKitWebViews> Views;
    std::unique_ptr<platform::WebView> View;
    FindSearch Search;
    // The engine has answered the last text asked, at this time (monotonic µs).
    bool EngineAnswered = false;
    gint64 EngineAnsweredAt = 0;

    Page()
    {
        gtk_init();
        char* folder = g_dir_make_tmp("tolvane-bench-XXXXXX", nullptr);
        Views = std::make_unique<gtkui::WebKitWebViews>(
            gtkui::WebDataFolders{std::string(folder) + "/data", std::string(folder) + "/cache"});
        g_free(folder);
        View = Views->Create(platform::BrowsingSession::Normal);
        auto& view = static_cast<gtkui::WebKitWebView&>(*View);
        GtkWidget* window = gtk_window_new();
        gtk_window_set_default_size(GTK_WINDOW(window), 1024, 768);
        gtk_window_set_child(GTK_WINDOW(window), view.NativeWidget());
        gtk_window_present(GTK_WINDOW(window));
        bool loaded = false;
        view.NavigationCompleted.Subscribe([&](platform::WebView&, const platform::NavigationCompletedArgs&) { loaded = true; });
        Search.Subscribe(view);
        view.TextFound.Subscribe([this](platform::WebView&, const platform::FindResultArgs& args) {
            EngineAnswered = args.Text == Search.Text();
            EngineAnsweredAt = g_get_monotonic_time();
        });
        // About five megabytes of paragraphs; word N occurs in every tenth one.
        std::string html = "<html><head><title>big</title></head><body>";
        for (int i = 0; html.size() < PageBytes(); ++i)
            html += "<p>lorem ipsum dolor sit amet word" + std::to_string(i % 10) + " consectetur adipiscing</p>";
        html += "</body></html>";
        webkit_web_view_load_html(view.Engine(), html.c_str(), "http://127.0.0.1/");
        Loaded = PumpUntil([&] { return loaded; });
        g_printerr("page of %zu bytes %s\n", html.size(), Loaded ? "loaded" : "not loaded");
    }
    bool Loaded = false;
};

void FirstCount(benchmark::State& state)
{
    static Page page;
    if (!page.Loaded) {
        state.SkipWithError("the page never loaded");
        return;
    }
    static int word = 0;
    double exactMs = 0, engineMs = 0;
    for (auto _ : state) {
        const std::string text = "word" + std::to_string(word++ % 10);
        page.Search.Start(*page.View, "");
        for (size_t typed = 1; typed < text.size(); ++typed) {
            page.Search.Start(*page.View, text.substr(0, typed));
            PumpUntil([] { return false; }, KeyGapMs);
        }
        page.EngineAnswered = false;
        const gint64 lastKey = g_get_monotonic_time();
        page.Search.Start(*page.View, text);
        const auto& shown = page.Search.Shown();
        if (!PumpUntil([&] { return shown.Known && shown.Matches > 0; }, 300000)) {
            state.SkipWithError("no count arrived");
            break;
        }
        state.SetIterationTime(double(g_get_monotonic_time() - lastKey) / 1e6);
        PumpUntil([&] { return !shown.AtLeast; }, 300000);
        exactMs += double(g_get_monotonic_time() - lastKey) / 1e3;
        // The next word starts on an idle engine.
        PumpUntil([&] { return page.EngineAnswered; }, 300000);
        engineMs += double(page.EngineAnsweredAt - lastKey) / 1e3;
        state.counters["Matches"] = shown.Matches;
    }
    state.counters["ExactMs"] = exactMs / double(state.iterations());
    // When the engine has selected the first match (and highlighted some).
    state.counters["EngineMs"] = engineMs / double(state.iterations());
}
BENCHMARK(FirstCount)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(20)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
