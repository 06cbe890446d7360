#include "platform/gtk/launcher_gtk.h"

#include <gio/gio.h>
#include <gtk/gtk.h>

#include "platform/gtk/callback_guard.h"
#include "platform/gtk/gobject_ptr.h"

namespace gtkui {

namespace {

template <typename Result>
struct Pending {
    std::weak_ptr<bool> Alive;
    std::function<void(Result)> Done;
    std::string Expected; // the query's desktop id
};

// The display's context, so that the program starts on this screen with the
// startup notification; and the environment the browser started with.
GObjectPtr<GAppLaunchContext> LaunchContext(const std::string& sessionBusAddress)
{
    GdkDisplay* display = gdk_display_get_default();
    GObjectPtr<GAppLaunchContext> context(
        display ? G_APP_LAUNCH_CONTEXT(gdk_display_get_app_launch_context(display)) : g_app_launch_context_new());
    if (!sessionBusAddress.empty())
        g_app_launch_context_setenv(context.Get(), "DBUS_SESSION_BUS_ADDRESS", sessionBusAddress.c_str());
    return context;
}

void OnLaunched(GObject*, GAsyncResult* result, gpointer data)
{
    std::unique_ptr<Pending<bool>> pending(static_cast<Pending<bool>*>(data));
    GError* error = nullptr;
    bool launched = g_app_info_launch_default_for_uri_finish(result, &error);
    if (error) {
        g_warning("launching a URI failed: %s", error->message);
        g_error_free(error);
    }
    if (pending->Alive.lock())
        Guarded("LaunchUriAsync", [&] { pending->Done(launched); });
}

void OnDefaultHandler(GObject*, GAsyncResult* result, gpointer data)
{
    std::unique_ptr<Pending<platform::LaunchQuerySupportStatus>> pending(
        static_cast<Pending<platform::LaunchQuerySupportStatus>*>(data));
    GError* error = nullptr;
    GObjectPtr<GAppInfo> handler(g_app_info_get_default_for_uri_scheme_finish(result, &error));
    if (error)
        g_error_free(error);
    auto status = platform::LaunchQuerySupportStatus::NotSupported;
    if (handler) {
        const char* id = g_app_info_get_id(handler.Get());
        status = id && pending->Expected == id ? platform::LaunchQuerySupportStatus::Available
                                               : platform::LaunchQuerySupportStatus::AppNotInstalled;
    }
    if (pending->Alive.lock())
        Guarded("QueryUriSupportAsync", [&] { pending->Done(status); });
}

// Delivers an answer known at once on a later turn of the main loop, as the
// asynchronous ones come.
template <typename Result>
void AnswerLater(std::weak_ptr<bool> alive, std::function<void(Result)> done, Result result)
{
    auto* pending = new std::tuple<std::weak_ptr<bool>, std::function<void(Result)>, Result>(
        std::move(alive), std::move(done), result);
    g_idle_add_full(
        G_PRIORITY_DEFAULT_IDLE,
        [](gpointer data) -> gboolean {
            auto& [alive, done, result] = *static_cast<decltype(pending)>(data);
            if (alive.lock())
                Guarded("launcher answer", [&] { done(result); });
            return G_SOURCE_REMOVE;
        },
        pending, [](gpointer data) { delete static_cast<decltype(pending)>(data); });
}

} // namespace

DesktopLauncher::DesktopLauncher(std::string sessionBusAddress) : m_sessionBusAddress(std::move(sessionBusAddress)) {}

DesktopLauncher::~DesktopLauncher() = default;

void DesktopLauncher::LaunchUriAsync(const std::string& uri, std::function<void(bool launched)> done)
{
    if (!done)
        done = [](bool) {};
    // GIO would look for a handler of whatever precedes the first colon.
    if (!g_uri_is_valid(uri.c_str(), G_URI_FLAGS_PARSE_RELAXED, nullptr)) {
        AnswerLater<bool>(m_alive, std::move(done), false);
        return;
    }
    auto context = LaunchContext(m_sessionBusAddress);
    g_app_info_launch_default_for_uri_async(uri.c_str(), context.Get(), nullptr, &OnLaunched,
                                            new Pending<bool>{m_alive, std::move(done), {}});
}

void DesktopLauncher::QueryUriSupportAsync(const std::string& uri, const std::string& packageFamilyName,
                                           std::function<void(platform::LaunchQuerySupportStatus)> done)
{
    if (!done)
        return;
    // An interned string: not freed.
    const char* scheme = g_uri_peek_scheme(uri.c_str());
    if (!scheme) {
        AnswerLater(m_alive, std::move(done), platform::LaunchQuerySupportStatus::NotSupported);
        return;
    }
    g_app_info_get_default_for_uri_scheme_async(
        scheme, nullptr, &OnDefaultHandler,
        new Pending<platform::LaunchQuerySupportStatus>{m_alive, std::move(done), packageFamilyName + ".desktop"});
}

} // namespace gtkui
