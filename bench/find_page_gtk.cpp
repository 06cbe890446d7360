// Find in a five-megabyte page with the real engine: from asking for a text
// to the count arriving (what the find bar shows as "N of M").
//
// Run it on a display: tests/integration/with-display build/find_page_gtk
// Each iteration searches a different word, so no count is reused.
#include <benchmark/benchmark.h>
#include <gtk/gtk.h>
#include <webkit/webkit.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

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
        g_main_context_iteration(nullptr, TRUE);
    return done();
}

struct Page {
    std::unique_ptr<gtkui::WebKitWebViews> Views;
    std::unique_ptr<platform::WebView> View;
    uint32_t Matches = 0;
    bool Counted = false;

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
        view.FindCounted.Subscribe([this](platform::WebView&, const platform::FindResultArgs& args) {
            Matches = args.Matches;
            Counted = true;
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
    int word = 0;
    for (auto _ : state) {
        page.Counted = false;
        const gint64 started = g_get_monotonic_time();
        page.View->FindText("word" + std::to_string(word++ % 10));
        if (!PumpUntil([&] { return page.Counted; }, 10000)) {
            state.SkipWithError("no count arrived");
            break;
        }
        state.SetIterationTime(double(g_get_monotonic_time() - started) / 1e6);
        page.View->FindFinished();
    }
    state.counters["Matches"] = page.Matches;
}
BENCHMARK(FirstCount)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(20)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
