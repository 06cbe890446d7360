#pragma once
// The downloader's local server (download_server.py), run for one test or
// benchmark: started on a free port, stopped when this object goes.
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
    // The Range and If-Range headers the server saw, one request a line.
    std::string Log() const;

private:
    int m_pid = -1;
    int m_input = -1;
    int m_port = 0;
};

// Byte `position` of the server's /file pattern.
inline uint8_t PatternByte(uint64_t position)
{
    return static_cast<uint8_t>((position % 251) * 7 % 256);
}

// The SHA-256 of a file's bytes, in hexadecimal; empty when it cannot be read.
std::string FileSha256(const std::string& path);
// The SHA-256 of the first `size` bytes of the pattern.
std::string PatternSha256(uint64_t size);

} // namespace gtktest
