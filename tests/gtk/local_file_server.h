#pragma once
// download_server.py on a free port for one test or benchmark, killed with this object.
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <string>

namespace gtktest {

class LocalFileServer {
public:
    // The server prints its pid and port first; port 0 when it did not start.
    LocalFileServer()
    {
        if (!m_output || std::fscanf(m_output, "%d %d", &m_pid, &m_port) != 2)
            m_port = 0;
    }
    ~LocalFileServer()
    {
        if (m_pid > 0)
            kill(m_pid, SIGTERM);
        if (m_output)
            pclose(m_output);
    }
    LocalFileServer(const LocalFileServer&) = delete;
    LocalFileServer& operator=(const LocalFileServer&) = delete;

    std::string Url(const std::string& pathAndQuery) const
    {
        return "http://127.0.0.1:" + std::to_string(m_port) + pathAndQuery;
    }

private:
    FILE* m_output = popen("exec python3 " TOLVANE_SOURCE_DIR "/tests/gtk/download_server.py", "r");
    int m_pid = 0;
    int m_port = 0;
};

// Byte `position` of the server's pattern.
inline uint8_t PatternByte(uint64_t position)
{
    return static_cast<uint8_t>(position % 251);
}

} // namespace gtktest
