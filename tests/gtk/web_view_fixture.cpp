#include "tests/gtk/web_view_fixture.h"

#include <glib.h>

#include <algorithm>
#include <cstdlib>

namespace gtktests {

bool WaitUntil(const std::function<bool()>& done, int timeoutMs)
{
    const gint64 deadline = g_get_monotonic_time() + gint64(timeoutMs) * 1000;
    // A ticking source wakes the loop so the deadline is checked.
    const guint tick = g_timeout_add(5, [](gpointer) -> gboolean { return G_SOURCE_CONTINUE; }, nullptr);
    bool met = done();
    while (!met && g_get_monotonic_time() < deadline) {
        g_main_context_iteration(nullptr, TRUE);
        met = done();
    }
    g_source_remove(tick);
    return met;
}

void Settle(int ms)
{
    const gint64 until = g_get_monotonic_time() + gint64(ms) * 1000;
    WaitUntil([&] { return g_get_monotonic_time() >= until; }, ms + 1000);
}

GtkEventController* FindController(GtkWidget* widget, const std::function<bool(GtkEventController*)>& matches)
{
    GListModel* controllers = gtk_widget_observe_controllers(widget);
    GtkEventController* found = nullptr;
    for (guint i = 0; i < g_list_model_get_n_items(controllers) && !found; ++i) {
        auto* controller = static_cast<GtkEventController*>(g_list_model_get_item(controllers, i));
        if (matches(controller))
            found = controller; // the widget keeps it alive
        g_object_unref(controller);
    }
    g_object_unref(controllers);
    return found;
}

Lines EventLog::Loads() const
{
    Lines loads;
    std::copy_if(All.begin(), All.end(), std::back_inserter(loads),
                 [](const std::string& line) { return line.rfind("Title", 0) != 0; });
    return loads;
}

void EventLog::Attach(platform::WebView& view)
{
    using namespace platform;
    view.NavigationStarting.Subscribe([this](WebView&, NavigationStartingArgs& a) { All.push_back("Starting " + a.Uri); });
    view.ContentLoading.Subscribe([this](WebView&, const ContentLoadingArgs& a) { All.push_back("ContentLoading " + a.Uri); });
    view.NavigationCompleted.Subscribe([this](WebView&, const NavigationCompletedArgs& a) {
        All.push_back((a.IsSuccess ? "Completed " : "CompletedWithError ") + a.Uri);
    });
    view.FrameNavigationCompleted.Subscribe(
        [this](WebView&, const NavigationCompletedArgs& a) { All.push_back("FrameCompleted " + a.Uri); });
    view.NavigationFailed.Subscribe([this](WebView&, const NavigationFailedArgs& a) { All.push_back("Failed " + a.Uri); });
    view.NewWindowRequested.Subscribe([this](WebView&, NewWindowRequestedArgs& a) {
        All.push_back("NewWindow " + a.Uri);
        a.Handled = true;
    });
    view.UnviewableContentIdentified.Subscribe([this](WebView&, const UnviewableContentArgs& a) {
        All.push_back("Unviewable " + a.MediaType + " " + a.Uri);
    });
    view.DocumentTitleChanged.Subscribe([this](WebView& v) { All.push_back("Title " + v.DocumentTitle()); });
    view.ContainsFullScreenElementChanged.Subscribe([this](WebView& v) {
        All.push_back(v.ContainsFullScreenElement() ? "FullScreen on" : "FullScreen off");
    });
}

namespace {

gtkui::WebKitWebViews& Views()
{
    static const std::string folder = gtkui::TakeText(g_dir_make_tmp("tolvane-web-XXXXXX", nullptr));
    static gtkui::WebKitWebViews views({folder + "/data", folder + "/cache"});
    return views;
}

// Gives the view's window a title of its own, for xdotool to find it by, and
// lets the main loop tell the X server.
std::string NameWindow(gtkui::WebKitWebView& view)
{
    static int named = 0;
    const std::string title = "tolvane-input-" + std::to_string(++named);
    gtk_window_set_title(GTK_WINDOW(gtk_widget_get_root(view.NativeWidget())), title.c_str());
    Settle(50);
    return title;
}

void RunXdotool(const std::string& title, const std::string& actions)
{
    const std::string command = "xdotool search --sync --name " + title + " " + actions;
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

} // namespace

void WebViewFixture::StartServer(std::map<std::string, Route> routes)
{
    gtk_init();
    Views();
    s_server = std::make_unique<LocalHttpServer>(std::move(routes));
}

void WebViewFixture::CloseViews()
{
    for (GtkWidget* window : m_windows)
        gtk_window_destroy(GTK_WINDOW(window));
    m_windows.clear();
    m_views.clear();
}

gtkui::WebKitWebView& WebViewFixture::NewView(EventLog& log, platform::BrowsingSession session)
{
    m_views.push_back(Views().Create(session));
    auto& view = dynamic_cast<gtkui::WebKitWebView&>(*m_views.back());
    log.Attach(view);
    GtkWidget* window = gtk_window_new();
    gtk_window_set_default_size(GTK_WINDOW(window), 640, 480);
    gtk_window_set_child(GTK_WINDOW(window), view.NativeWidget());
    gtk_window_present(GTK_WINDOW(window));
    m_windows.push_back(window);
    return view;
}

void WebViewFixture::Go(platform::WebView& view, const std::string& address)
{
    auto uri = platform::Uri::Parse(address);
    ASSERT_TRUE(uri) << address;
    view.Navigate(*uri);
}

std::optional<std::string> WebViewFixture::RunScript(platform::WebView& view, const std::string& function,
                                                     const std::vector<std::string>& arguments)
{
    std::optional<std::optional<std::string>> result;
    view.InvokeScriptAsync(function, arguments, [&](std::optional<std::string> r) { result = std::move(r); });
    EXPECT_TRUE(WaitUntil([&] { return result.has_value(); })) << function;
    return result.value_or(std::nullopt);
}

bool WebViewFixture::CanSendRealInput()
{
    char* xdotool = g_find_program_in_path("xdotool");
    g_free(xdotool);
    return xdotool != nullptr;
}

std::pair<int, int> WebViewFixture::RealClick(gtkui::WebKitWebView& view, const std::string& elementId, int button)
{
    const std::string title = NameWindow(view);
    auto point = RunScript(view, "eval", {"var r = document.getElementById('" + elementId + "').getBoundingClientRect();"
                                          "Math.round(r.left + 5) + ' ' + Math.round(r.top + 5)"});
    if (!point || point->find(' ') == std::string::npos) {
        ADD_FAILURE() << "no element " << elementId;
        return {};
    }
    const int x = std::stoi(point->substr(0, point->find(' '))), y = std::stoi(point->substr(point->find(' ') + 1));
    graphene_point_t zero = GRAPHENE_POINT_INIT(0, 0), origin;
    EXPECT_TRUE(gtk_widget_compute_point(view.NativeWidget(), GTK_WIDGET(gtk_widget_get_root(view.NativeWidget())),
                                         &zero, &origin));
    RunXdotool(title, "mousemove --window %1 " + std::to_string(x + int(origin.x)) + " "
                          + std::to_string(y + int(origin.y)) + " click " + std::to_string(button));
    return {x, y};
}

void WebViewFixture::RealKey(gtkui::WebKitWebView& view, const std::string& key)
{
    RunXdotool(NameWindow(view), "windowfocus --sync %1 key " + key);
}

} // namespace gtktests
