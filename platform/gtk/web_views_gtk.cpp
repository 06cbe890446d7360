#include "platform/gtk/web_views_gtk.h"

#include <gio/gio.h>

#include <algorithm>
#include <cctype>
#include <string_view>
#include <utility>

#include "platform/gtk/glib_text.h"
#include "platform/gtk/web_view_gtk.h"

// The bundle compiled from the CMake list of bundled files; referring to it
// also keeps its self-registering object in the link.
extern "C" GResource* tolvane_get_resource(void);

namespace gtkui {
namespace {

std::string LowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string MimeTypeFor(const std::string& path)
{
    const auto slash = path.rfind('/');
    const auto dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return "application/octet-stream";
    static const std::pair<const char*, const char*> types[] = {
        {".htm", "text/html"},         {".html", "text/html"},     {".css", "text/css"},
        {".js", "text/javascript"},    {".json", "application/json"}, {".txt", "text/plain"},
        {".png", "image/png"},         {".jpg", "image/jpeg"},     {".jpeg", "image/jpeg"},
        {".gif", "image/gif"},         {".svg", "image/svg+xml"},  {".ico", "image/x-icon"},
        {".webp", "image/webp"},       {".woff2", "font/woff2"},
    };
    const std::string extension = LowerCase(path.substr(dot));
    for (const auto& [known, type] : types)
        if (extension == known)
            return type;
    return "application/octet-stream";
}

// ms-appx-web:///Assets/x.htm is the bundled file "/Assets/x.htm".
void ServeApplicationPage(WebKitURISchemeRequest* request, gpointer views)
{
    char* unescaped = g_uri_unescape_string(webkit_uri_scheme_request_get_path(request), nullptr);
    const std::string path = unescaped ? unescaped : "";
    g_free(unescaped);

    if (const std::string* page = static_cast<gtkui::WebKitWebViews*>(views)->PublishedPage(path)) {
        GBytes* data = g_bytes_new(page->data(), page->size());
        GObjectPtr<GInputStream> stream(g_memory_input_stream_new_from_bytes(data));
        webkit_uri_scheme_request_finish(request, stream.Get(), static_cast<gint64>(page->size()), "text/html");
        g_bytes_unref(data);
        return;
    }

    GError* error = nullptr;
    GBytes* bytes = path.empty() ? nullptr : g_resources_lookup_data(path.c_str(), G_RESOURCE_LOOKUP_FLAGS_NONE, &error);
    if (!bytes) {
        if (!error)
            error = g_error_new(G_IO_ERROR, G_IO_ERROR_NOT_FOUND, "no application page at \"%s\"", path.c_str());
        webkit_uri_scheme_request_finish_error(request, error);
        g_error_free(error);
        return;
    }
    GObjectPtr<GInputStream> stream(g_memory_input_stream_new_from_bytes(bytes));
    webkit_uri_scheme_request_finish(request, stream.Get(), static_cast<gint64>(g_bytes_get_size(bytes)),
                                     MimeTypeFor(path).c_str());
    g_bytes_unref(bytes);
}

std::string JoinPath(const char* base, const char* a, const char* b = nullptr)
{
    char* joined = g_build_filename(base, a, b, nullptr);
    std::string path = joined;
    g_free(joined);
    return path;
}

} // namespace

WebDataFolders WebDataFolders::FromUserDirectories()
{
    return {JoinPath(g_get_user_data_dir(), "tolvane-browser", "web"),
            JoinPath(g_get_user_cache_dir(), "tolvane-browser")};
}

WebKitWebViews::WebKitWebViews() : WebKitWebViews(WebDataFolders::FromUserDirectories()) {}

WebKitWebViews::WebKitWebViews(const WebDataFolders& folders)
    : m_context(webkit_web_context_new())
    , m_normalSession(webkit_network_session_new(folders.Data.c_str(), folders.Cache.c_str()))
{
    if (!tolvane_get_resource())
        g_warning("the application pages are not bundled: %s:/// pages will fail to load", ApplicationScheme);

    // Before any view exists: the scheme must be known when the first page loads.
    webkit_web_context_register_uri_scheme(m_context.Get(), ApplicationScheme, ServeApplicationPage, this, nullptr);
    WebKitSecurityManager* security = webkit_web_context_get_security_manager(m_context.Get());
    webkit_security_manager_register_uri_scheme_as_secure(security, ApplicationScheme);
    webkit_security_manager_register_uri_scheme_as_cors_enabled(security, ApplicationScheme);

    // The spelling dictionary comes with the browser's packages.
    m_spelling = std::make_shared<SpellingOnDemand>(m_context.Get(), SpellingOnDemand::DictionaryForUserLanguage());
}

WebKitNetworkSession* WebKitWebViews::Session(platform::BrowsingSession session)
{
    if (session == platform::BrowsingSession::Normal)
        return m_normalSession.Get();
    if (!m_privateSession)
        m_privateSession.Reset(webkit_network_session_new_ephemeral());
    return m_privateSession.Get();
}

std::unique_ptr<platform::WebView> WebKitWebViews::Create(platform::BrowsingSession session)
{
    auto view = std::make_unique<WebKitWebView>(m_context.Get(), Session(session), m_freedMemory);
    m_spelling->Watch(view->NativeWidget());
    return view;
}

std::string WebKitWebViews::PublishPage(const std::string& html)
{
    m_published[++m_lastPublished] = ValidUtf8(html);
    while (m_published.size() > MaxPublished)
        m_published.erase(m_published.begin());
    return std::string(ApplicationScheme) + ":///generated/" + std::to_string(m_lastPublished);
}

const std::string* WebKitWebViews::PublishedPage(const std::string& path) const
{
    constexpr std::string_view Prefix = "/generated/";
    if (path.rfind(Prefix, 0) != 0)
        return nullptr;
    const std::string number = path.substr(Prefix.size());
    if (number.empty() || number.size() > 19 || number.find_first_not_of("0123456789") != std::string::npos)
        return nullptr;
    auto found = m_published.find(std::stoull(number));
    return found == m_published.end() ? nullptr : &found->second;
}

void WebKitWebViews::ClearTemporaryWebData()
{
    // In WebKitGTK 6.0 the data manager belongs to the network session; the
    // private session keeps nothing on disk and goes with its tabs.
    WebKitWebsiteDataManager* manager = webkit_network_session_get_website_data_manager(m_normalSession.Get());
    auto types = static_cast<WebKitWebsiteDataTypes>(WEBKIT_WEBSITE_DATA_MEMORY_CACHE | WEBKIT_WEBSITE_DATA_DISK_CACHE);
    webkit_website_data_manager_clear(
        manager, types, 0, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer) {
            GError* error = nullptr;
            if (!webkit_website_data_manager_clear_finish(WEBKIT_WEBSITE_DATA_MANAGER(source), result, &error)) {
                g_warning("clearing the web cache failed: %s", error ? error->message : "unknown error");
                g_clear_error(&error);
            }
        },
        nullptr);
}

} // namespace gtkui
