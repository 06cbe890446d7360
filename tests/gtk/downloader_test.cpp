// The real transfers: libcurl on its worker thread against a local server,
// files made with O_EXCL in a temporary folder.
#include <fcntl.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include <gtest/gtest.h>

#include "platform/gtk/curl_downloader.h"
#include "platform/gtk/download_files_gtk.h"
#include "tests/doubles/page_harness.h"
#include "tests/gtk/local_file_server.h"

namespace {

namespace fs = std::filesystem;
using platform::TransferFailure;
using platform::TransferStatus;
using namespace std::chrono_literals;

class Downloader : public ::testing::Test {
protected:
    std::unique_ptr<platform::DownloadOperation> Start(const std::string& pathAndQuery, const std::string& name = "f.bin")
    {
        auto created = files.CreateUniqueFile(folder.Path().string(), name);
        EXPECT_TRUE(created.File) << created.Error;
        return downloader->StartDownload(*platform::Uri::Parse(server.Url(pathAndQuery)), std::move(created.File));
    }
    // Waits until the status leaves "Running" (or a condition holds).
    static platform::TransferProgress Await(const platform::DownloadOperation& op,
                                            std::function<bool(const platform::TransferProgress&)> until = {})
    {
        auto deadline = std::chrono::steady_clock::now() + 30s;
        for (;;) {
            auto p = op.Progress();
            bool done = until ? until(p) : p.Status != TransferStatus::Running;
            if (done || std::chrono::steady_clock::now() > deadline)
                return p;
            std::this_thread::sleep_for(5ms);
        }
    }
    static uintmax_t SizeOf(const platform::DownloadOperation& op) { return fs::file_size(op.ResultFile().Path()); }

    doubles::TempFolder folder;
    gtktest::LocalFileServer server;
    gtkui::LocalDownloadFiles files;
    std::unique_ptr<gtkui::CurlDownloader> downloader = std::make_unique<gtkui::CurlDownloader>();
};

TEST_F(Downloader, AWholeFileArrivesExactlyUnderANameNoOtherFileHas)
{
    std::ofstream(folder.Path() / "data.bin") << "keep me";
    auto op = Start("/file?size=3000017", "data.bin");
    EXPECT_EQ(op->ResultFile().Name(), "data (2).bin");
    auto p = Await(*op);
    EXPECT_EQ(platform::StatusName(p.Status), "Completed");
    EXPECT_EQ(p.BytesReceived, 3000017u);
    EXPECT_EQ(p.TotalBytesToReceive, 3000017u);
    EXPECT_EQ(gtktest::FileSha256(op->ResultFile().Path()), gtktest::PatternSha256(3000017));
    std::string kept;
    std::getline(std::ifstream(folder.Path() / "data.bin"), kept);
    EXPECT_EQ(kept, "keep me");

    // Numbered names stay within 255 bytes, cut on a character boundary.
    struct Case {
        std::string name;
        int n;
        std::string expected;
    } cases[] = {
        {"photo.jpg", 2, "photo (2).jpg"},
        {".bashrc", 3, ".bashrc (3)"},
        {"archive", 12, "archive (12)"},
        {std::string(250, 'a') + ".jpg", 2, std::string(247, 'a') + " (2).jpg"},
        {std::string(100, 'a') + std::string(50, '\xCE') + ".txt", 2, ""},
    };
    for (auto& c : cases) {
        auto numbered = gtkui::NumberedFileName(c.name, c.n);
        EXPECT_LE(numbered.size(), 255u) << c.name;
        if (!c.expected.empty())
            EXPECT_EQ(numbered, c.expected);
    }
    std::string greek;
    for (int i = 0; i < 127; ++i)
        greek += "\xCE\xB1"; // 254 bytes
    auto numbered = gtkui::NumberedFileName(greek + "x", 2);
    EXPECT_EQ(numbered, greek.substr(0, 250) + " (2)");
}

TEST_F(Downloader, APausedFileDoesNotGrowAndResumeAsksForTheRest)
{
    for (const char* query : {"/file?size=1500000&rate=2000000", "/file?size=1500000&rate=2000000&norange=1"}) {
        SCOPED_TRACE(query);
        auto op = Start(query);
        Await(*op, [](auto& p) { return p.BytesReceived > 300000; });
        op->Pause();
        EXPECT_EQ(platform::StatusName(op->Progress().Status), "PausedByApplication");
        std::this_thread::sleep_for(100ms);
        auto size = SizeOf(*op);
        std::this_thread::sleep_for(300ms);
        EXPECT_EQ(SizeOf(*op), size);
        EXPECT_EQ(platform::StatusName(op->Progress().Status), "PausedByApplication");
        op->Resume();
        auto p = Await(*op);
        EXPECT_EQ(platform::StatusName(p.Status), "Completed");
        EXPECT_EQ(gtktest::FileSha256(op->ResultFile().Path()), gtktest::PatternSha256(1500000));
    }
    auto log = server.Log();
    // Both resumes asked for the rest; the first server sent it, the second the whole file again.
    EXPECT_NE(log.find("range=bytes="), std::string::npos) << log;
    EXPECT_NE(log.find("if-range=\"p1500000\""), std::string::npos) << log;
}

TEST_F(Downloader, ADroppedConnectionIsAnErrorAndARetryCompletes)
{
    auto op = Start("/file?size=2000000&drop=700000");
    auto p = Await(*op);
    EXPECT_EQ(platform::StatusName(p.Status), "Error");
    EXPECT_EQ(p.Failure, TransferFailure::Connection);
    EXPECT_TRUE(fs::exists(op->ResultFile().Path()));
    op->Resume();
    p = Await(*op);
    EXPECT_EQ(platform::StatusName(p.Status), "Completed");
    EXPECT_EQ(gtktest::FileSha256(op->ResultFile().Path()), gtktest::PatternSha256(2000000));
}

TEST_F(Downloader, FailuresAreToldAndNeverCompleted)
{
    auto missing = Start("/missing", "missing.html");
    auto p = Await(*missing);
    EXPECT_EQ(platform::StatusName(p.Status), "Error");
    EXPECT_EQ(p.Failure, TransferFailure::Server);
    EXPECT_EQ(p.HttpStatus, 404);
    EXPECT_EQ(SizeOf(*missing), 0u) << "an error page is not the file";

    auto local = Start("/to-file", "passwd");
    p = Await(*local);
    EXPECT_EQ(platform::StatusName(p.Status), "Error");
    EXPECT_EQ(p.Failure, TransferFailure::Connection);
    EXPECT_EQ(SizeOf(*local), 0u);

    // A full disk: /dev/full behind a link of our own, so deleting it deletes the link.
    auto link = folder.Path() / "full.bin";
    fs::create_symlink("/dev/full", link);
    int descriptor = open(link.c_str(), O_WRONLY | O_CLOEXEC);
    ASSERT_GE(descriptor, 0);
    auto full = downloader->StartDownload(*platform::Uri::Parse(server.Url("/file?size=100000")),
                                          std::make_unique<gtkui::PosixStorageFile>("full.bin", link, descriptor));
    p = Await(*full);
    EXPECT_EQ(platform::StatusName(p.Status), "Error");
    EXPECT_EQ(p.Failure, TransferFailure::DiskFull);
}

TEST_F(Downloader, CancelAndTheEndOfTheBrowserDeleteUnfinishedFilesOnly)
{
    auto cancelled = Start("/file?size=5000000&rate=1000000", "cancelled.bin");
    auto unfinished = Start("/file?size=5000000&rate=1000000", "unfinished.bin");
    auto finished = Start("/file?size=1000", "finished.bin");
    Await(*finished);
    Await(*cancelled, [](auto& p) { return p.BytesReceived > 0; });
    cancelled->Cancel();
    EXPECT_EQ(platform::StatusName(cancelled->Progress().Status), "Canceled");
    auto cancelledPath = cancelled->ResultFile().Path();
    std::this_thread::sleep_for(100ms);
    EXPECT_FALSE(fs::exists(cancelledPath));
    auto unfinishedPath = unfinished->ResultFile().Path();
    auto finishedPath = finished->ResultFile().Path();
    // At exit the page's operations go first, then the downloader.
    cancelled.reset();
    unfinished.reset();
    finished.reset();
    downloader.reset();
    EXPECT_FALSE(fs::exists(unfinishedPath));
    EXPECT_FALSE(fs::exists(cancelledPath));
    EXPECT_EQ(fs::file_size(finishedPath), 1000u);
}

} // namespace
