#include "tests/gtk/local_http_server.h"

#include <stdexcept>

namespace gtktests {

LocalHttpServer::LocalHttpServer(std::map<std::string, Route> routes)
    : m_routes(std::move(routes)), m_server(soup_server_new(nullptr, nullptr))
{
    soup_server_add_handler(m_server, nullptr, Serve, this, nullptr);
    GError* error = nullptr;
    if (!soup_server_listen_local(m_server, 0, SOUP_SERVER_LISTEN_IPV4_ONLY, &error)) {
        const std::string message = error->message;
        g_error_free(error);
        throw std::runtime_error("cannot listen on 127.0.0.1: " + message);
    }
    GSList* uris = soup_server_get_uris(m_server);
    m_port = g_uri_get_port(static_cast<GUri*>(uris->data));
    g_slist_free_full(uris, reinterpret_cast<GDestroyNotify>(g_uri_unref));
}

LocalHttpServer::~LocalHttpServer()
{
    // Ends every connection still open, answered or not.
    soup_server_disconnect(m_server);
    g_object_unref(m_server);
}

void LocalHttpServer::Serve(SoupServer*, SoupServerMessage* message, const char* path, GHashTable*, gpointer self)
{
    const auto& routes = static_cast<LocalHttpServer*>(self)->m_routes;
    const auto found = routes.find(path);
    if (found == routes.end()) {
        soup_server_message_set_status(message, SOUP_STATUS_NOT_FOUND, nullptr);
        return;
    }
    const Route& route = found->second;
    if (route.Hangs) {
        soup_server_message_pause(message);
        return;
    }
    SoupMessageHeaders* headers = soup_server_message_get_response_headers(message);
    soup_message_headers_append(headers, "Cache-Control", "no-store");
    for (const auto& [name, value] : route.Headers)
        soup_message_headers_append(headers, name.c_str(), value.c_str());
    soup_server_message_set_status(message, SOUP_STATUS_OK, nullptr);
    soup_server_message_set_response(message, route.ContentType.c_str(), SOUP_MEMORY_COPY, route.Body.data(),
                                     route.Body.size());
}

std::string LocalHttpServer::Url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

int LocalHttpServer::UnusedPort()
{
    GSocketListener* listener = g_socket_listener_new();
    const guint16 port = g_socket_listener_add_any_inet_port(listener, nullptr, nullptr);
    g_socket_listener_close(listener);
    g_object_unref(listener);
    return port;
}

} // namespace gtktests
