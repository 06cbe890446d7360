// The real transfers: libcurl on its worker thread against a local server,
// files made with O_EXCL in a temporary folder.
#include <fcntl.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

#include <gtest/gtest.h>

#include "platform/gtk/curl_downloader.h"
#include "platform/gtk/download_files_gtk.h"
#include "tests/doubles/page_harness.h"
#include "tests/gtk/local_file_server.h"

namespace {

namespace fs = std::filesystem;
using platform::TransferFailure;
using Op = std::unique_ptr<platform::DownloadOperation>;
using namespace std::chrono_literals;

class Downloader : public ::testing::Test {
protected:
    Op Start(const std::string& pathAndQuery, const std::string& name = "f.bin")
    {
        auto created = files.CreateUniqueFile(folder.Path().string(), name);
        return downloader->StartDownload(*platform::Uri::Parse(server.Url(pathAndQuery)), std::move(created.File));
    }
    // The progress once `until` holds (by default: no longer running), or after 30 s.
    static platform::TransferProgress Await(const Op& op, std::function<bool(const platform::TransferProgress&)> until =
                                                              [](auto& p) { return Status(p) != "Running"; })
    {
        auto deadline = std::chrono::steady_clock::now() + 30s;
        auto p = op->Progress();
        while (!until(p) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(2ms), p = op->Progress();
        return p;
    }
    static std::string Status(const platform::TransferProgress& p) { return platform::StatusName(p.Status); }
    // Completed, holding exactly the server's first `size` pattern bytes.
    static void ExpectIntact(const Op& op, uint64_t size)
    {
        EXPECT_EQ(Status(Await(op)), "Completed");
        std::ifstream file(op->ResultFile().Path(), std::ios::binary);
        std::string bytes(std::istreambuf_iterator<char>(file), {}), expected(size, 0);
        for (uint64_t i = 0; i < size; ++i)
            expected[i] = static_cast<char>(gtktest::PatternByte(i));
        EXPECT_TRUE(bytes == expected) << op->ResultFile().Name() << ": " << bytes.size() << " bytes";
    }

    doubles::TempFolder folder;
    gtktest::LocalFileServer server;
    gtkui::LocalDownloadFiles files;
    std::unique_ptr<gtkui::CurlDownloader> downloader = std::make_unique<gtkui::CurlDownloader>();
};

TEST_F(Downloader, AFileArrivesIntactUnderANewNameAndOnlyUnfinishedFilesAreLeftOut)
{
    std::ofstream(folder.Path() / "data.bin") << "keep";
    auto finished = Start("/a.bin?size=3000017", "data.bin");
    auto cancelled = Start("/c.bin?size=5000000&rate=1000000", "cancelled.bin");
    auto unfinished = Start("/u.bin?size=5000000&rate=1000000", "unfinished.bin");
    EXPECT_EQ(finished->ResultFile().Name(), "data (2).bin");
    ExpectIntact(finished, 3000017);
    EXPECT_EQ(finished->Progress().TotalBytesToReceive, 3000017u);
    Await(cancelled, [](auto& p) { return p.BytesReceived > 0; });
    cancelled->Cancel();
    // At exit the page's operations go first, then the downloader.
    cancelled.reset(), unfinished.reset(), finished.reset();
    downloader.reset();
    EXPECT_FALSE(fs::exists(folder.Path() / "cancelled.bin"));
    EXPECT_FALSE(fs::exists(folder.Path() / "unfinished.bin"));
    EXPECT_EQ(fs::file_size(folder.Path() / "data (2).bin"), 3000017u);
    EXPECT_EQ(fs::file_size(folder.Path() / "data.bin"), 4u) << "never replaced";

    // Numbered names stay within 255 bytes, cut on a character boundary.
    std::string greek;
    for (int i = 0; i < 127; ++i)
        greek += "\xCE\xB1";
    EXPECT_EQ(gtkui::NumberedFileName(".bashrc", 2), ".bashrc (2)");
    EXPECT_EQ(gtkui::NumberedFileName(std::string(250, 'a') + ".jpg", 2), std::string(247, 'a') + " (2).jpg");
    EXPECT_EQ(gtkui::NumberedFileName(greek + "x", 2), greek.substr(0, 250) + " (2)");
}

// The server honours a Range only with the If-Range it gave: a resume that
// starts again from byte 0 sent neither or the wrong one.
TEST_F(Downloader, APausedFileStaysPutAndResumeFetchesTheRestOrStartsAgain)
{
    for (bool ranges : {true, false}) {
        SCOPED_TRACE(ranges ? "ranges" : "no ranges");
        auto op = Start(ranges ? "/p.bin?size=1500000&rate=2000000" : "/n.bin?size=1500000&rate=2000000&norange=1");
        Await(op, [](auto& p) { return p.BytesReceived > 300000; });
        op->Pause();
        EXPECT_EQ(Status(op->Progress()), "PausedByApplication");
        std::this_thread::sleep_for(100ms);
        auto paused = fs::file_size(op->ResultFile().Path());
        std::this_thread::sleep_for(300ms);
        EXPECT_EQ(fs::file_size(op->ResultFile().Path()), paused);
        op->Resume();
        bool restarted = false;
        Await(op, [&](auto& p) { return (restarted |= p.BytesReceived < paused), Status(p) != "Running"; });
        EXPECT_EQ(restarted, !ranges);
        ExpectIntact(op, 1500000);
    }
}

TEST_F(Downloader, FailuresAreToldNeverCompletedAndADropCanBeRetried)
{
    auto dropped = Start("/d.bin?size=2000000&drop=700000");
    auto missing = Start("/missing.png", "missing.png");
    auto local = Start("/to-file", "passwd");
    // A full disk: /dev/full behind a link of our own, so deleting the file deletes the link.
    auto link = folder.Path() / "full.bin";
    fs::create_symlink("/dev/full", link);
    auto fullFile = std::make_unique<gtkui::PosixStorageFile>("full.bin", link, open(link.c_str(), O_WRONLY));
    Op full = downloader->StartDownload(*platform::Uri::Parse(server.Url("/f.bin?size=100000")), std::move(fullFile));
    auto expectFailed = [](const Op& op, TransferFailure failure, int code) {
        auto p = Await(op);
        EXPECT_EQ(Status(p) + " " + std::to_string(p.HttpStatus), "Error " + std::to_string(code)) << code;
        EXPECT_EQ(p.Failure, failure) << code;
    };
    expectFailed(dropped, TransferFailure::Connection, 200);
    expectFailed(missing, TransferFailure::Server, 404);
    expectFailed(local, TransferFailure::Connection, 302);
    expectFailed(full, TransferFailure::DiskFull, 200);
    EXPECT_EQ(fs::file_size(missing->ResultFile().Path()) + fs::file_size(local->ResultFile().Path()), 0u)
        << "an error page is not the file";
    dropped->Resume();
    ExpectIntact(dropped, 2000000);
}

} // namespace
