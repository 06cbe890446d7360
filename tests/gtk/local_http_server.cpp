#include "tests/gtk/local_http_server.h"

#include <stdexcept>

namespace gtktests {
namespace {

int BindLoopback(GSocketListener* listener, GObject* source)
{
    GInetAddress* loopback = g_inet_address_new_loopback(G_SOCKET_FAMILY_IPV4);
    GSocketAddress* any = g_inet_socket_address_new(loopback, 0);
    GSocketAddress* effective = nullptr;
    GError* error = nullptr;
    const gboolean bound = g_socket_listener_add_address(listener, any, G_SOCKET_TYPE_STREAM, G_SOCKET_PROTOCOL_TCP,
                                                         source, &effective, &error);
    g_object_unref(any);
    g_object_unref(loopback);
    if (!bound) {
        std::string message = error->message;
        g_error_free(error);
        throw std::runtime_error("cannot listen on 127.0.0.1: " + message);
    }
    const int port = g_inet_socket_address_get_port(G_INET_SOCKET_ADDRESS(effective));
    g_object_unref(effective);
    return port;
}

const char* ReasonFor(int status)
{
    switch (status) {
    case 200: return "OK";
    case 404: return "Not Found";
    default: return "Status";
    }
}

} // namespace

LocalHttpServer::LocalHttpServer(std::map<std::string, Route> routes) : m_routes(std::move(routes))
{
    m_service = g_threaded_socket_service_new(4);
    m_port = BindLoopback(G_SOCKET_LISTENER(m_service), nullptr);
    g_signal_connect(m_service, "run", G_CALLBACK(OnRun), this);
    g_socket_service_start(m_service);
}

LocalHttpServer::~LocalHttpServer()
{
    g_socket_service_stop(m_service);
    g_socket_listener_close(G_SOCKET_LISTENER(m_service));
    g_signal_handlers_disconnect_by_data(m_service, this);
    g_object_unref(m_service);
}

std::string LocalHttpServer::Url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

std::vector<std::string> LocalHttpServer::RequestedPaths() const
{
    std::lock_guard lock(m_mutex);
    return m_requested;
}

int LocalHttpServer::UnusedPort()
{
    GSocketListener* listener = g_socket_listener_new();
    const int port = BindLoopback(listener, nullptr);
    g_socket_listener_close(listener);
    g_object_unref(listener);
    return port;
}

gboolean LocalHttpServer::OnRun(GThreadedSocketService*, GSocketConnection* connection, GObject*, gpointer self)
{
    static_cast<LocalHttpServer*>(self)->Serve(connection);
    return TRUE;
}

void LocalHttpServer::Serve(GSocketConnection* connection)
{
    GInputStream* in = g_io_stream_get_input_stream(G_IO_STREAM(connection));
    GDataInputStream* lines = g_data_input_stream_new(in);
    g_data_input_stream_set_newline_type(lines, G_DATA_STREAM_NEWLINE_TYPE_CR_LF);
    g_filter_input_stream_set_close_base_stream(G_FILTER_INPUT_STREAM(lines), FALSE);

    std::string path;
    for (bool first = true;; first = false) {
        char* line = g_data_input_stream_read_line(lines, nullptr, nullptr, nullptr);
        if (!line)
            break;
        const std::string text = line;
        g_free(line);
        if (first) {
            const auto start = text.find(' ');
            const auto end = text.find(' ', start + 1);
            if (start != std::string::npos)
                path = text.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
        }
        if (text.empty())
            break;
    }
    g_object_unref(lines);
    {
        std::lock_guard lock(m_mutex);
        m_requested.push_back(path);
    }

    const auto found = m_routes.find(path);
    Route notFound;
    notFound.Body = "<h1>Not found</h1>";
    notFound.Status = 404;
    const Route route = found != m_routes.end() ? found->second : notFound;
    if (route.DelayMs > 0)
        g_usleep(static_cast<gulong>(route.DelayMs) * 1000);

    const std::string response = "HTTP/1.1 " + std::to_string(route.Status) + " " + ReasonFor(route.Status) + "\r\n"
        + "Content-Type: " + route.ContentType + "\r\n"
        + "Content-Length: " + std::to_string(route.Body.size()) + "\r\n"
        + "Cache-Control: no-store\r\n" + route.ExtraHeaders
        + "Connection: close\r\n\r\n" + route.Body;
    GOutputStream* out = g_io_stream_get_output_stream(G_IO_STREAM(connection));
    // The client may have gone (a cancelled load): a failed write is expected then.
    g_output_stream_write_all(out, response.data(), response.size(), nullptr, nullptr, nullptr);
    g_io_stream_close(G_IO_STREAM(connection), nullptr, nullptr);
}

} // namespace gtktests
