#pragma once
// download_server.py on a free port for one test or benchmark; stopped when this goes.
#include <cstdint>
#include <string>

namespace gtktest {

class LocalFileServer {
public:
    LocalFileServer();
    ~LocalFileServer();
    LocalFileServer(const LocalFileServer&) = delete;
    LocalFileServer& operator=(const LocalFileServer&) = delete;

    std::string Url(const std::string& pathAndQuery) const;
    // The Range and If-Range headers the server saw, a request a line.
    std::string Log() const;

private:
    int m_pid = -1;
    int m_input = -1;
    int m_port = 0;
};

// Byte `position` of the server's pattern.
inline uint8_t PatternByte(uint64_t position)
{
    return static_cast<uint8_t>((position % 251) * 7 % 256);
}

} // namespace gtktest
