#pragma once
// A small HTTP server on 127.0.0.1 for tests of the real engine: fixed routes,
// each with a status, a type, a body and an optional delay before answering.
// It serves from GLib worker threads; destroying it ends every connection
// still open (the engine keeps idle and speculative ones) and waits for them.
#include <gio/gio.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace gtktests {

struct Route {
    std::string Body;
    std::string ContentType = "text/html; charset=utf-8";
    int Status = 200;
    int DelayMs = 0;
    std::string ExtraHeaders; // whole lines, each ending in "\r\n"
};

class LocalHttpServer {
public:
    // Routes are fixed before the server starts, so the workers only read them.
    explicit LocalHttpServer(std::map<std::string, Route> routes);
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    // "http://127.0.0.1:PORT" + path
    std::string Url(const std::string& path) const;
    std::vector<std::string> RequestedPaths() const;

    // A port on 127.0.0.1 where nothing listens (it was free a moment ago).
    static int UnusedPort();

    struct State; // shared with the worker threads, which may outlive a stop

private:
    std::shared_ptr<State> m_state;
    GSocketService* m_service = nullptr;
    int m_port = 0;
};

} // namespace gtktests
