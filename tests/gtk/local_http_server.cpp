#include "tests/gtk/local_http_server.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>

namespace gtktests {

struct LocalHttpServer::State {
    explicit State(std::map<std::string, Route> routes) : Routes(std::move(routes)) {}
    ~State() { g_object_unref(Cancellable); }

    const std::map<std::string, Route> Routes;
    GCancellable* const Cancellable = g_cancellable_new();
    std::mutex Mutex;
    std::condition_variable Changed;
    int Active = 0;
    bool Stopping = false;
    std::vector<std::string> Requested;
};

namespace {

using State = LocalHttpServer::State;

int BindLoopback(GSocketListener* listener)
{
    GInetAddress* loopback = g_inet_address_new_loopback(G_SOCKET_FAMILY_IPV4);
    GSocketAddress* any = g_inet_socket_address_new(loopback, 0);
    GSocketAddress* effective = nullptr;
    GError* error = nullptr;
    const gboolean bound = g_socket_listener_add_address(listener, any, G_SOCKET_TYPE_STREAM, G_SOCKET_PROTOCOL_TCP,
                                                         nullptr, &effective, &error);
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

// The request line's path, or empty when the client sent nothing (a
// speculative connection) or the server is stopping.
std::string ReadRequestPath(GSocketConnection* connection, GCancellable* cancellable)
{
    GDataInputStream* lines = g_data_input_stream_new(g_io_stream_get_input_stream(G_IO_STREAM(connection)));
    g_data_input_stream_set_newline_type(lines, G_DATA_STREAM_NEWLINE_TYPE_CR_LF);
    g_filter_input_stream_set_close_base_stream(G_FILTER_INPUT_STREAM(lines), FALSE);
    std::string path;
    for (bool first = true;; first = false) {
        char* line = g_data_input_stream_read_line(lines, nullptr, cancellable, nullptr);
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
    return path;
}

std::string ResponseFor(const Route& route)
{
    const char* reason = route.Status == 200 ? "OK" : route.Status == 404 ? "Not Found" : "Status";
    return "HTTP/1.1 " + std::to_string(route.Status) + " " + reason + "\r\n"
        + "Content-Type: " + route.ContentType + "\r\n"
        + "Content-Length: " + std::to_string(route.Body.size()) + "\r\n"
        + "Cache-Control: no-store\r\n" + route.ExtraHeaders
        + "Connection: close\r\n\r\n" + route.Body;
}

void Serve(State& state, GSocketConnection* connection)
{
    const std::string path = ReadRequestPath(connection, state.Cancellable);
    Route route;
    route.Body = "<h1>Not found</h1>";
    route.Status = 404;
    {
        std::unique_lock lock(state.Mutex);
        if (path.empty() || state.Stopping)
            return;
        state.Requested.push_back(path);
        if (auto found = state.Routes.find(path); found != state.Routes.end())
            route = found->second;
        // A delayed answer ends early when the server stops.
        state.Changed.wait_for(lock, std::chrono::milliseconds(route.DelayMs), [&] { return state.Stopping; });
        if (state.Stopping)
            return;
    }
    const std::string response = ResponseFor(route);
    // The client may have gone (a cancelled load): a failed write is expected then.
    g_output_stream_write_all(g_io_stream_get_output_stream(G_IO_STREAM(connection)), response.data(),
                              response.size(), nullptr, state.Cancellable, nullptr);
}

gboolean OnRun(GThreadedSocketService*, GSocketConnection* connection, GObject*, gpointer data)
{
    std::shared_ptr<State> state = *static_cast<std::shared_ptr<State>*>(data);
    {
        std::lock_guard lock(state->Mutex);
        if (state->Stopping)
            return TRUE;
        ++state->Active;
    }
    Serve(*state, connection);
    g_io_stream_close(G_IO_STREAM(connection), nullptr, nullptr);
    std::lock_guard lock(state->Mutex);
    --state->Active;
    state->Changed.notify_all();
    return TRUE;
}

} // namespace

LocalHttpServer::LocalHttpServer(std::map<std::string, Route> routes)
    : m_state(std::make_shared<State>(std::move(routes)))
{
    m_service = g_threaded_socket_service_new(8);
    m_port = BindLoopback(G_SOCKET_LISTENER(m_service));
    // The handler holds the state until its closure goes, after any call in flight.
    g_signal_connect_data(m_service, "run", G_CALLBACK(OnRun), new std::shared_ptr<State>(m_state),
                          [](gpointer data, GClosure*) { delete static_cast<std::shared_ptr<State>*>(data); },
                          GConnectFlags(0));
    g_socket_service_start(m_service);
}

LocalHttpServer::~LocalHttpServer()
{
    g_socket_service_stop(m_service);
    g_socket_listener_close(G_SOCKET_LISTENER(m_service));
    {
        std::unique_lock lock(m_state->Mutex);
        m_state->Stopping = true;
        g_cancellable_cancel(m_state->Cancellable);
        m_state->Changed.notify_all();
        m_state->Changed.wait_for(lock, std::chrono::seconds(10), [&] { return m_state->Active == 0; });
    }
    g_object_unref(m_service);
}

std::string LocalHttpServer::Url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

std::vector<std::string> LocalHttpServer::RequestedPaths() const
{
    std::lock_guard lock(m_state->Mutex);
    return m_state->Requested;
}

int LocalHttpServer::UnusedPort()
{
    GSocketListener* listener = g_socket_listener_new();
    const int port = BindLoopback(listener);
    g_socket_listener_close(listener);
    g_object_unref(listener);
    return port;
}

} // namespace gtktests
