#include "tests/gtk/local_file_server.h"

#include <glib.h>

#include <csignal>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace gtktest {

LocalFileServer::LocalFileServer()
{
    std::string script = std::string(TOLVANE_SOURCE_DIR) + "/tests/gtk/download_server.py";
    const char* argv[] = {"python3", script.c_str(), nullptr};
    int output = -1;
    if (!g_spawn_async_with_pipes(nullptr, const_cast<char**>(argv), nullptr,
                                  GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD), nullptr, nullptr,
                                  &m_pid, &m_input, &output, nullptr, nullptr))
        throw std::runtime_error("cannot start the download server");
    std::string port;
    for (char c = 0; read(output, &c, 1) == 1 && c != '\n';)
        port += c;
    close(output);
    m_port = std::atoi(port.c_str());
}

LocalFileServer::~LocalFileServer()
{
    close(m_input);
    kill(m_pid, SIGTERM);
    waitpid(m_pid, nullptr, 0);
}

std::string LocalFileServer::Url(const std::string& pathAndQuery) const
{
    return "http://127.0.0.1:" + std::to_string(m_port) + pathAndQuery;
}

std::string LocalFileServer::Log() const
{
    std::string url = Url("/log");
    const char* argv[] = {"curl", "-s", url.c_str(), nullptr};
    char* out = nullptr;
    g_spawn_sync(nullptr, const_cast<char**>(argv), nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr, &out, nullptr,
                 nullptr, nullptr);
    std::string log = out ? out : "";
    g_free(out);
    return log;
}

} // namespace gtktest
