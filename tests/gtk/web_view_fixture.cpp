#include "tests/gtk/web_view_fixture.h"

#include <libsoup/soup.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/gtk/glib_text.h"
#include "platform/gtk/web_views_gtk.h"

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

bool EventLog::Has(const std::string& prefix) const
{
    return std::any_of(All.begin(), All.end(), [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
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
    view.NewWindowRequested.Subscribe(
        [this](WebView&, NewWindowRequestedArgs& a) { All.push_back("NewWindow " + a.Uri), a.Handled = true; });
    view.UnviewableContentIdentified.Subscribe(
        [this](WebView&, const UnviewableContentArgs& a) { All.push_back("Unviewable " + a.MediaType + " " + a.Uri); });
    view.DocumentTitleChanged.Subscribe([this](WebView& v) { All.push_back("Title " + v.DocumentTitle()); });
}

namespace {

SoupServer* s_server = nullptr;
std::map<std::string, Route> s_routes;
int s_port = 0;

void Serve(SoupServer*, SoupServerMessage* message, const char* path, GHashTable*, gpointer)
{
    const auto found = s_routes.find(path);
    if (found == s_routes.end())
        return soup_server_message_set_status(message, SOUP_STATUS_NOT_FOUND, nullptr);
    const Route& route = found->second;
    if (route.Hangs)
        return soup_server_message_pause(message);
    SoupMessageHeaders* headers = soup_server_message_get_response_headers(message);
    soup_message_headers_append(headers, "Cache-Control", "no-store");
    soup_server_message_set_status(message, SOUP_STATUS_OK, nullptr);
    soup_server_message_set_response(message, route.ContentType.c_str(), SOUP_MEMORY_COPY, route.Body.data(),
                                     route.Body.size());
}

gtkui::WebKitWebViews& Views()
{
    static const std::string folder = gtkui::TakeText(g_dir_make_tmp("tolvane-web-XXXXXX", nullptr));
    static gtkui::WebKitWebViews views({folder + "/data", folder + "/cache"});
    return views;
}

// Finds the view's window by a title of its own (the main loop tells the X
// server first) and acts on it.
void RunXdotool(gtkui::WebKitWebView& view, const std::string& actions)
{
    static int named = 0;
    const std::string title = "tolvane-input-" + std::to_string(++named);
    gtk_window_set_title(GTK_WINDOW(gtk_widget_get_root(view.NativeWidget())), title.c_str());
    Settle(50);
    const std::string command = "xdotool search --sync --name " + title + " " + actions;
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

} // namespace

void WebViewFixture::StartServer(std::map<std::string, Route> routes)
{
    gtk_init();
    Views();
    s_routes = std::move(routes);
    s_server = soup_server_new(nullptr, nullptr);
    soup_server_add_handler(s_server, nullptr, Serve, nullptr, nullptr);
    GError* error = nullptr;
    ASSERT_TRUE(soup_server_listen_local(s_server, 0, SOUP_SERVER_LISTEN_IPV4_ONLY, &error)) << error->message;
    GSList* uris = soup_server_get_uris(s_server);
    s_port = g_uri_get_port(static_cast<GUri*>(uris->data));
    g_slist_free_full(uris, reinterpret_cast<GDestroyNotify>(g_uri_unref));
}

void WebViewFixture::StopServer()
{
    // Ends every connection still open, answered or not.
    soup_server_disconnect(s_server);
    g_clear_object(&s_server);
}

std::string WebViewFixture::Url(const std::string& path)
{
    return "http://127.0.0.1:" + std::to_string(s_port) + path;
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

std::optional<std::string> WebViewFixture::Eval(platform::WebView& view, const std::string& script)
{
    std::optional<std::optional<std::string>> result;
    view.InvokeScriptAsync("eval", {script}, [&](std::optional<std::string> r) { result = std::move(r); });
    EXPECT_TRUE(WaitUntil([&] { return result.has_value(); })) << script;
    return result.value_or(std::nullopt);
}

std::pair<int, int> WebViewFixture::RealClick(gtkui::WebKitWebView& view, const std::string& elementId, int button)
{
    auto point = Eval(view, "var r = document.getElementById('" + elementId + "').getBoundingClientRect();"
                            "Math.round(r.left + 5) + ' ' + Math.round(r.top + 5)");
    int x = 0, y = 0;
    if (!point || std::sscanf(point->c_str(), "%d %d", &x, &y) != 2) {
        ADD_FAILURE() << "no element " << elementId;
        return {};
    }
    graphene_point_t zero = GRAPHENE_POINT_INIT(0, 0), origin;
    EXPECT_TRUE(gtk_widget_compute_point(view.NativeWidget(), GTK_WIDGET(gtk_widget_get_root(view.NativeWidget())),
                                         &zero, &origin));
    RunXdotool(view, "mousemove --window %1 " + std::to_string(x + int(origin.x)) + " "
                          + std::to_string(y + int(origin.y)) + " click " + std::to_string(button));
    return {x, y};
}

void WebViewFixture::RealKey(gtkui::WebKitWebView& view, const std::string& key)
{
    RunXdotool(view, "windowfocus --sync %1 key " + key);
}

} // namespace gtktests
