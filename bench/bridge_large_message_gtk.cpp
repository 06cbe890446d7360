// A page that posts megabytes through the bridge (alert('x'.repeat(5e6))):
// what the adapter's side costs the main loop, with the real engine.
//
// Run it on a display: tests/integration/with-display build/bridge_large_message_gtk
// Each iteration
// has the page post one call and is timed from the engine's script-message
// signal (an emission hook, which runs before the adapter's handler) to the
// moment Invoke is entered: reading the message, converting it to text and
// handing it over. The counter MaxLoopGapMs is the longest the main loop went
// without turning during the iterations (a 1 ms timer measures it), so it
// includes the engine's own work on the message in the user-interface process.
// Awaited calls (wConfirm) are timed the same way from the engine's
// script-dialog signal.
#include <benchmark/benchmark.h>
#include <gtk/gtk.h>
#include <webkit/webkit.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gtk/web_view_gtk.h"
#include "platform/gtk/web_views_gtk.h"

namespace {

gint64 g_signalAt = 0;

struct Receiver : platform::WebAllowedObject {
    gint64 InvokedAt = 0;
    size_t Received = 0;
    std::optional<std::string> Invoke(const std::string&, const std::vector<std::string>& arguments) override
    {
        InvokedAt = g_get_monotonic_time();
        Received = arguments.empty() ? 0 : arguments[0].size();
        return std::nullopt;
    }
};

gboolean MarkSignal(GSignalInvocationHint*, guint, const GValue*, gpointer)
{
    g_signalAt = g_get_monotonic_time();
    return TRUE; // stay connected
}

struct LoopWatch {
    gint64 Last = 0;
    gint64 MaxGap = 0;
    static gboolean Tick(gpointer data)
    {
        auto* self = static_cast<LoopWatch*>(data);
        const gint64 now = g_get_monotonic_time();
        if (self->Last)
            self->MaxGap = std::max(self->MaxGap, now - self->Last);
        self->Last = now;
        return G_SOURCE_CONTINUE;
    }
};

bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 30000)
{
    const gint64 deadline = g_get_monotonic_time() + gint64(timeoutMs) * 1000;
    while (!done() && g_get_monotonic_time() < deadline)
        g_main_context_iteration(nullptr, TRUE);
    return done();
}

// One view showing a page with the bridge object, for the whole run.
struct Page {
    std::unique_ptr<gtkui::WebKitWebViews> Views;
    std::unique_ptr<platform::WebView> View;
    std::shared_ptr<Receiver> Object = std::make_shared<Receiver>();

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
        gtk_window_set_child(GTK_WINDOW(window), view.NativeWidget());
        gtk_window_present(GTK_WINDOW(window));
        view.AddWebAllowedObject("wScriptNotify", Object);
        bool done = false;
        view.NavigationCompleted.Subscribe([&](platform::WebView&, const platform::NavigationCompletedArgs&) { done = true; });
        webkit_web_view_load_html(view.Engine(), "<html><head><title>bench</title></head><body>bench</body></html>",
                                  "http://127.0.0.1/");
        PumpUntil([&] { return done; });
        g_signal_add_emission_hook(g_signal_lookup("script-message-received", WEBKIT_TYPE_USER_CONTENT_MANAGER), 0,
                                   MarkSignal, nullptr, nullptr);
        g_signal_add_emission_hook(g_signal_lookup("script-dialog", WEBKIT_TYPE_WEB_VIEW), 0, MarkSignal, nullptr,
                                   nullptr);
    }
};

Page& SharedPage()
{
    static Page page;
    return page;
}

void Run(benchmark::State& state, const std::string& method)
{
    Page& page = SharedPage();
    const std::string script = "wScriptNotify." + method + "('x'.repeat(" + std::to_string(state.range(0)) + ")); 0";
    LoopWatch watch;
    const guint ticker = g_timeout_add(1, LoopWatch::Tick, &watch);
    for (auto _ : state) {
        page.Object->InvokedAt = 0;
        page.Object->Received = 0;
        page.View->InvokeScriptAsync("eval", {script});
        if (!PumpUntil([&] { return page.Object->InvokedAt != 0; })) {
            state.SkipWithError("the call never arrived");
            break;
        }
        state.SetIterationTime(double(page.Object->InvokedAt - g_signalAt) / 1e6);
        if (page.Object->Received != size_t(state.range(0))) {
            state.SkipWithError("the text arrived cut");
            break;
        }
    }
    // Let the page finish (an awaited call returns once Invoke has replied).
    PumpUntil([] { return false; }, 50);
    g_source_remove(ticker);
    state.counters["MaxLoopGapMs"] = double(watch.MaxGap) / 1000.0;
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}

void PostedAlert(benchmark::State& state)
{
    Run(state, "wAlert");
}
void AwaitedConfirm(benchmark::State& state)
{
    Run(state, "wConfirm");
}

BENCHMARK(PostedAlert)->Arg(1000)->Arg(1000000)->Arg(5000000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(AwaitedConfirm)->Arg(1000)->Arg(1000000)->Arg(5000000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

BENCHMARK_MAIN();
