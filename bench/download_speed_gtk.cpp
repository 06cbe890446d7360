// Transfer speed: a file (500 MB by default) from a local server that sends
// it with sendfile, fetched in turn by the curl tool and by the browser's
// downloader, five runs each into the same folder. Prints each run's MB/s,
// the medians and their ratio (target: the downloader at 0.95 of the tool or
// better), and checks every copy's SHA-256 against the source.
//
//   download_speed_gtk [MEGABYTES] [RUNS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <glib.h>

#include "platform/gtk/curl_downloader.h"
#include "platform/gtk/download_files_gtk.h"
#include "tests/gtk/local_file_server.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::string FileSha256(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    GChecksum* sum = g_checksum_new(G_CHECKSUM_SHA256);
    std::vector<char> buffer(1 << 20);
    while (file.read(buffer.data(), buffer.size()) || file.gcount() > 0)
        g_checksum_update(sum, reinterpret_cast<const guchar*>(buffer.data()), file.gcount());
    std::string hex = g_checksum_get_string(sum);
    g_checksum_free(sum);
    return hex;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

} // namespace

int main(int argc, char** argv)
{
    uint64_t megabytes = argc > 1 ? std::stoull(argv[1]) : 500;
    int runs = argc > 2 ? std::stoi(argv[2]) : 5;
    fs::path folder = fs::temp_directory_path() / ("tolvane-speed-" + std::to_string(getpid()));
    fs::create_directories(folder);
    fs::path source = folder / "source.bin";
    {
        std::ofstream out(source, std::ios::binary);
        std::vector<char> block(1 << 20);
        for (size_t i = 0; i < block.size(); ++i)
            block[i] = static_cast<char>(gtktest::PatternByte(i));
        for (uint64_t i = 0; i < megabytes; ++i)
            out.write(block.data(), block.size());
    }
    std::string expected = FileSha256(source.string());
    gtktest::LocalFileServer server;
    std::string url = server.Url("/path?file=" + source.string());
    double size = static_cast<double>(megabytes);
    std::vector<double> tool, ours;
    bool hashesMatch = true;
    gtkui::LocalDownloadFiles files;
    gtkui::CurlDownloader downloader;

    for (int run = 0; run < runs; ++run) {
        fs::path toolCopy = folder / "tool.bin";
        std::string command = "curl -s -o '" + toolCopy.string() + "' '" + url + "'";
        auto started = Clock::now();
        if (std::system(command.c_str()) != 0)
            std::fprintf(stderr, "the curl tool failed\n");
        tool.push_back(size / Seconds(started));
        hashesMatch = hashesMatch && FileSha256(toolCopy.string()) == expected;
        fs::remove(toolCopy);

        started = Clock::now();
        auto created = files.CreateUniqueFile(folder.string(), "ours.bin");
        auto operation = downloader.StartDownload(*platform::Uri::Parse(url), std::move(created.File));
        while (operation->Progress().Status == platform::TransferStatus::Running)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ours.push_back(size / Seconds(started));
        bool completed = operation->Progress().Status == platform::TransferStatus::Completed;
        hashesMatch = hashesMatch && completed && FileSha256(operation->ResultFile().Path()) == expected;
        fs::remove(operation->ResultFile().Path());
        std::printf("run %d: curl tool %.0f MB/s, downloader %.0f MB/s\n", run + 1, tool.back(), ours.back());
    }
    std::printf("median: curl tool %.0f MB/s, downloader %.0f MB/s, ratio %.3f (target >= 0.95)\n", Median(tool),
                Median(ours), Median(ours) / Median(tool));
    std::printf("SHA-256 of every copy %s\n", hashesMatch ? "matches" : "DOES NOT MATCH");
    fs::remove_all(folder);
    return hashesMatch ? 0 : 1;
}
