#pragma once
// A small HTTP server on 127.0.0.1 for tests of the real engine: libsoup on the
// main loop the tests turn. Fixed routes, each with a type, a body and extra
// headers, or never answered at all; any other path is a 404.
#include <libsoup/soup.h>

#include <map>
#include <string>

namespace gtktests {

struct Route {
    std::string Body;
    std::string ContentType = "text/html; charset=utf-8";
    std::map<std::string, std::string> Headers;
    bool Hangs = false; // the answer never comes (until the server goes)
};

class LocalHttpServer {
public:
    explicit LocalHttpServer(std::map<std::string, Route> routes);
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    // "http://127.0.0.1:PORT" + path
    std::string Url(const std::string& path) const;
    // A port on 127.0.0.1 where nothing listens (it was free a moment ago).
    static int UnusedPort();

private:
    static void Serve(SoupServer*, SoupServerMessage* message, const char* path, GHashTable*, gpointer self);

    const std::map<std::string, Route> m_routes;
    SoupServer* m_server;
    int m_port = 0;
};

} // namespace gtktests
