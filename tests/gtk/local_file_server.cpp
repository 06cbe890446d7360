#include "tests/gtk/local_file_server.h"

#include <glib.h>

#include <csignal>
#include <fstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace gtktest {

LocalFileServer::LocalFileServer()
{
    std::string script = std::string(TOLVANE_SOURCE_DIR) + "/tests/gtk/download_server.py";
    const char* argv[] = {"python3", script.c_str(), nullptr};
    GPid pid = 0;
    int output = -1;
    GError* error = nullptr;
    if (!g_spawn_async_with_pipes(nullptr, const_cast<char**>(argv), nullptr,
                                  static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD), nullptr,
                                  nullptr, &pid, &m_input, &output, nullptr, &error)) {
        std::string message = error->message;
        g_error_free(error);
        throw std::runtime_error("cannot start the test server: " + message);
    }
    m_pid = pid;
    std::string line;
    char c = 0;
    while (read(output, &c, 1) == 1 && c != '\n')
        line += c;
    close(output);
    m_port = std::atoi(line.c_str());
    if (m_port <= 0)
        throw std::runtime_error("the test server gave no port");
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

std::string FileSha256(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return {};
    GChecksum* sum = g_checksum_new(G_CHECKSUM_SHA256);
    std::vector<char> buffer(1 << 20);
    while (file.read(buffer.data(), buffer.size()) || file.gcount() > 0)
        g_checksum_update(sum, reinterpret_cast<const guchar*>(buffer.data()), file.gcount());
    std::string hex = g_checksum_get_string(sum);
    g_checksum_free(sum);
    return hex;
}

std::string PatternSha256(uint64_t size)
{
    GChecksum* sum = g_checksum_new(G_CHECKSUM_SHA256);
    std::vector<guchar> block(251 * 4096);
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = PatternByte(i);
    for (uint64_t done = 0; done < size;) {
        auto n = static_cast<gssize>(std::min<uint64_t>(block.size(), size - done));
        g_checksum_update(sum, block.data(), n);
        done += n;
    }
    std::string hex = g_checksum_get_string(sum);
    g_checksum_free(sum);
    return hex;
}

} // namespace gtktest
