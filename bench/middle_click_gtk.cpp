// A middle-click on a link, from the engine's decision reaching the
// user-interface thread to the new background tab's load start: the page
// with the real engine, the real renderer and a real window, and a real
// middle-click (xdotool) on a link served by a local server. For each run it
// times the main thread's work, as wall time and as the thread's own CPU
// time (what it did, however busy the machine's other programs keep the
// cores):
//   - to the load start: the decision arriving, until the new tab's view has
//     its address (the engine's load request made);
//   - to the loop's next turn: the same dispatch until the main thread is
//     free again (everything the click's handling did at once);
// and, for the record, what is not main-thread work: the press arriving to
// the decision (the engine's round trip through its web process), and the
// decision to the next painted frame (the new caption on screen, frame clock
// included). The new tab is closed after each run, so every run opens the
// second tab. Prints the median and the distribution.
//
// Run it on a display: tests/integration/with-display build/middle_click_gtk [runs]
#include <gtk/gtk.h>
#include <webkit/webkit.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <sys/resource.h>

#include "app/main_page.h"
#include "app/process_state.h"
#include "platform/gtk/dispatcher_timers_gtk.h"
#include "platform/gtk/renderer.h"
#include "platform/gtk/web_view_gtk.h"
#include "platform/gtk/web_views_gtk.h"
#include "platform/ui/layout.h"
#include "storage/schema.h"
#include "tests/doubles/page_harness.h"

namespace {

constexpr const char* WindowTitle = "middle-click bench";

// The main thread's context switches so far: waits it chose (voluntary: I/O,
// a lock, a reply) and times the scheduler took the core away (involuntary).
std::pair<long, long> Switches()
{
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return {usage.ru_nvcsw, usage.ru_nivcsw};
}

// The main thread's own CPU time (µs): what it did, whoever else shares the cores.
gint64 ThreadCpu()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return gint64(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

double Ms(gint64 from, gint64 to)
{
    return double(to - from) / 1000.0;
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 20000)
{
    const gint64 deadline = g_get_monotonic_time() + gint64(timeoutMs) * 1000;
    while (!done() && g_get_monotonic_time() < deadline)
        if (!g_main_context_iteration(nullptr, FALSE))
            g_usleep(500);
    return done();
}

// Lets the window come to rest, so nothing else is pending when the click comes.
void Rest(int ms)
{
    const gint64 until = g_get_monotonic_time() + gint64(ms) * 1000;
    PumpUntil([&] { return g_get_monotonic_time() >= until; });
}

// One run's moments (monotonic µs; 0 until seen).
struct Moments {
    gint64 Press = 0;
    gint64 Decision = 0;
    // The main thread's CPU time at the decision, at the load start and when the loop is free.
    gint64 DecisionCpu = 0;
    gint64 LoadStartCpu = 0;
    gint64 LoopFreeCpu = 0;
    std::pair<long, long> DecisionSwitches, LoopFreeSwitches;
    // The decision's moment plus the time the engine took to make the new view.
    gint64 Created = 0;
    gint64 LoadStart = 0;
    gint64 LoopFree = 0;
    gint64 Painted = 0;
    ::WebKitWebView* Clicked = nullptr;
};
Moments g_run;

gboolean OnDecision(GSignalInvocationHint*, guint, const GValue* values, gpointer)
{
    auto type = static_cast<WebKitPolicyDecisionType>(g_value_get_enum(&values[2]));
    if (g_run.Decision || type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION)
        return TRUE;
    auto* decision = WEBKIT_NAVIGATION_POLICY_DECISION(g_value_get_object(&values[1]));
    WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(decision);
    if (webkit_navigation_action_get_mouse_button(action) != GDK_BUTTON_MIDDLE)
        return TRUE;
    g_run.Decision = g_get_monotonic_time();
    g_run.DecisionCpu = ThreadCpu();
    g_run.DecisionSwitches = Switches();
    g_run.Clicked = WEBKIT_WEB_VIEW(g_value_get_object(&values[0]));
    // Runs once the dispatch that brought the decision has returned.
    g_idle_add_full(G_PRIORITY_HIGH, [](gpointer) {
        g_run.LoopFree = g_get_monotonic_time();
        g_run.LoopFreeCpu = ThreadCpu();
        g_run.LoopFreeSwitches = Switches();
        return G_SOURCE_REMOVE;
    }, nullptr, nullptr);
    return TRUE;
}

// A view's address changes as its load is requested.
void OnAddress(GObject* view, GParamSpec*, gpointer)
{
    if (g_run.Decision && !g_run.LoadStart && view != G_OBJECT(g_run.Clicked)) {
        g_run.LoadStart = g_get_monotonic_time();
        g_run.LoadStartCpu = ThreadCpu();
    }
}

// The real engine's views, each watched for its load request.
class WatchedViews : public platform::WebViews {
public:
    explicit WatchedViews(gtkui::WebKitWebViews& engines) : m_engines(engines) {}
    std::unique_ptr<platform::WebView> Create(platform::BrowsingSession session) override
    {
        const gint64 started = g_get_monotonic_time();
        auto view = m_engines.Create(session);
        if (g_run.Decision && !g_run.Created)
            g_run.Created = g_get_monotonic_time() - started + g_run.Decision;
        g_signal_connect(static_cast<gtkui::WebKitWebView&>(*view).Engine(), "notify::uri", G_CALLBACK(OnAddress),
                         nullptr);
        return view;
    }
    void ClearTemporaryWebData() override { m_engines.ClearTemporaryWebData(); }
    std::string PublishPage(const std::string& html) override { return m_engines.PublishPage(html); }

private:
    gtkui::WebKitWebViews& m_engines;
};

struct Distribution {
    const char* What;
    std::vector<double> Ms;

    void Print() const
    {
        std::vector<double> ms = Ms;
        std::sort(ms.begin(), ms.end());
        auto at = [&](double q) { return ms[std::min(ms.size() - 1, size_t(q * double(ms.size())))]; };
        std::printf("%-44s n=%zu min %.2f  p25 %.2f  median %.2f  p75 %.2f  p90 %.2f  max %.2f\n", What,
                    ms.size(), ms.front(), at(0.25), at(0.5), at(0.75), at(0.9), ms.back());
    }
};

// python3's http.server on a free port, serving `folder`; stopped with this object.
struct FolderServer {
    explicit FolderServer(const std::string& folder)
        : Output(popen(("echo $$; exec python3 -u -m http.server 0 --bind 127.0.0.1 --directory '" + folder +
                        "' 2>/dev/null").c_str(), "r"))
    {
        char line[256];
        if (Output && std::fgets(line, sizeof line, Output))
            Pid = std::atoi(line);
        if (Output && std::fgets(line, sizeof line, Output))
            std::sscanf(line, "Serving HTTP on 127.0.0.1 port %d", &Port);
    }
    ~FolderServer()
    {
        if (Pid > 0)
            kill(Pid, SIGTERM);
        if (Output)
            pclose(Output);
    }
    FILE* Output;
    int Pid = 0;
    int Port = 0;
};

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    gtk_init();
    doubles::PageHarness h;
    const std::string site = (h.Folder.Path() / "site").string();
    std::filesystem::create_directories(site);
    std::ofstream(site + "/links.html")
        << "<!DOCTYPE html><html><head><title>Links</title></head><body style='margin:0'>"
           "<a href='/target.html' style='display:block;width:400px;height:200px'>a link</a></body></html>";
    std::ofstream(site + "/target.html") << "<!DOCTYPE html><title>Target</title><p>target</p>";
    FolderServer server(site);
    const int port = server.Port;
    if (!port) {
        std::fprintf(stderr, "the local server did not start\n");
        return 1;
    }
    const std::string links = "http://127.0.0.1:" + std::to_string(port) + "/links.html";
    h.Execute(ConfigFile, "CREATE TABLE IF NOT EXISTS wConfig_HomeScreenStatus (wSTATUS TEXT PRIMARY KEY NOT NULL);"
                          "DELETE FROM wConfig_HomeScreenStatus; INSERT INTO wConfig_HomeScreenStatus VALUES ('false');");

    // The page on the real engine and real timers; the rest are the tests' doubles.
    gtkui::WebKitWebViews engines({(h.Folder.Path() / "web").string(), (h.Folder.Path() / "cache").string()});
    WatchedViews views(engines);
    gtkui::GLibDispatcherTimers timers;
    platform::PlatformServices services{h.Dialogs, h.Strings, timers, h.View, h.System, h.Clock, views,
                                        h.Services.ReadBundledFile, h.Clipboard, h.Services.Downloads,
                                        h.Launcher, h.Tiles, h.Store, h.Language};
    ProcessState process;
    process.LaunchAddress = links;
    auto page = std::make_unique<MainPage>(services, process);
    auto renderer = std::make_unique<gtkui::Renderer>(page->Root());
    GtkWidget* window = gtk_window_new();
    gtk_window_set_title(GTK_WINDOW(window), WindowTitle);
    gtk_window_set_default_size(GTK_WINDOW(window), 1280, 800);
    gtk_window_set_child(GTK_WINDOW(window), renderer->RootWidget());
    gtk_window_present(GTK_WINDOW(window));
    h.View.Resize(1280, 800);

    auto* first = dynamic_cast<gtkui::WebKitWebView*>(process.Tabs[0].WebView);
    if (!first || !PumpUntil([&] {
            return webkit_web_view_get_title(first->Engine()) &&
                   std::string(webkit_web_view_get_title(first->Engine())) == "Links" &&
                   !webkit_web_view_is_loading(first->Engine());
        })) {
        std::fprintf(stderr, "the links page never loaded\n");
        return 1;
    }
    Rest(500);

    g_type_class_unref(g_type_class_ref(WEBKIT_TYPE_WEB_VIEW));
    g_signal_add_emission_hook(g_signal_lookup("decide-policy", WEBKIT_TYPE_WEB_VIEW), 0, OnDecision, nullptr,
                               nullptr);
    GtkEventController* presses = gtk_event_controller_legacy_new();
    gtk_event_controller_set_propagation_phase(presses, GTK_PHASE_CAPTURE);
    g_signal_connect(presses, "event", G_CALLBACK(+[](GtkEventControllerLegacy*, GdkEvent* event, gpointer) {
                         if (gdk_event_get_event_type(event) == GDK_BUTTON_PRESS &&
                             gdk_button_event_get_button(event) == GDK_BUTTON_MIDDLE)
                             g_run.Press = g_get_monotonic_time();
                         return FALSE;
                     }), nullptr);
    gtk_widget_add_controller(window, presses);
    g_signal_connect(gtk_widget_get_frame_clock(window), "after-paint", G_CALLBACK(+[](GdkFrameClock*, gpointer) {
                         if (g_run.LoopFree && !g_run.Painted)
                             g_run.Painted = g_get_monotonic_time();
                     }), nullptr);

    const auto view = ui::AbsoluteRect(*process.Tabs[0].WebView);
    const std::string click = "xdotool search --name '" + std::string(WindowTitle) + "' mousemove --window %1 " +
                              std::to_string(int(view.X) + 100) + " " + std::to_string(int(view.Y) + 100) +
                              " click 2";
    Distribution toLoad{"decision -> new tab's load start (wall)", {}};
    Distribution toLoadCpu{"  the main thread's CPU time in it", {}};
    Distribution toFree{"decision -> main loop free again (wall)", {}};
    Distribution toFreeCpu{"  the main thread's CPU time in it", {}};
    Distribution waits{"  its waits (count)", {}};
    Distribution preempted{"  its preemptions (count)", {}};
    Distribution creation{"  of which the engine making the view", {}};
    Distribution engine{"press -> decision (engine round trip)", {}};
    Distribution toPaint{"decision -> next painted frame", {}};
    ui::Button closer;
    closer.SetTag(1);
    for (int k = 0; k < runs; ++k) {
        g_run = {};
        if (!g_spawn_command_line_async(click.c_str(), nullptr) ||
            !PumpUntil([] { return g_run.LoadStart && g_run.LoopFree && g_run.Painted; })) {
            std::fprintf(stderr, "run %d: the middle-click opened no tab (press %s, decision %s; %s)\n", k,
                         g_run.Press ? "seen" : "not seen", g_run.Decision ? "seen" : "not seen", click.c_str());
            return 1;
        }
        toLoad.Ms.push_back(Ms(g_run.Decision, g_run.LoadStart));
        toFree.Ms.push_back(Ms(g_run.Decision, g_run.LoopFree));
        toLoadCpu.Ms.push_back(Ms(g_run.DecisionCpu, g_run.LoadStartCpu));
        toFreeCpu.Ms.push_back(Ms(g_run.DecisionCpu, g_run.LoopFreeCpu));
        waits.Ms.push_back(double(g_run.LoopFreeSwitches.first - g_run.DecisionSwitches.first));
        preempted.Ms.push_back(double(g_run.LoopFreeSwitches.second - g_run.DecisionSwitches.second));
        creation.Ms.push_back(Ms(g_run.Decision, g_run.Created));
        toPaint.Ms.push_back(Ms(g_run.Decision, g_run.Painted));
        if (g_run.Press)
            engine.Ms.push_back(Ms(g_run.Press, g_run.Decision));
        // The new tab goes (its page has no say to wait for), and the next run opens it again.
        PumpUntil([&] { return !webkit_web_view_is_loading(
                                   static_cast<gtkui::WebKitWebView*>(process.Tabs[1].WebView)->Engine()); });
        page->CloseTab(closer);
        if (!PumpUntil([&] { return process.Tabs[1].WebView == nullptr; })) {
            std::fprintf(stderr, "run %d: the new tab did not close\n", k);
            return 1;
        }
        Rest(300);
    }
    std::printf("middle-click on a link, %d runs, in ms (target: main-thread work within one frame, 16.7 ms)\n", runs);
    for (const auto* d : {&toLoad, &toLoadCpu, &creation, &toFree, &toFreeCpu, &waits, &preempted, &engine, &toPaint})
        if (!d->Ms.empty())
            d->Print();

    renderer.reset();
    gtk_window_destroy(GTK_WINDOW(window));
    page.reset();
    return 0;
}
