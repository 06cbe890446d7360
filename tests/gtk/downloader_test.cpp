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
    static platform::TransferProgress Await(const Op& op, bool (*until)(const platform::TransferProgress&) = nullptr)
    {
        auto deadline = std::chrono::steady_clock::now() + 30s;
        auto p = op->Progress();
        while (!(until ? until(p) : p.Status != platform::TransferStatus::Running) &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(5ms);
            p = op->Progress();
        }
        return p;
    }
    static std::string Status(const Op& op) { return platform::StatusName(op->Progress().Status); }
    // The file holds exactly the server's first `size` pattern bytes.
    static bool Intact(const Op& op, uint64_t size)
    {
        std::ifstream file(op->ResultFile().Path(), std::ios::binary);
        uint64_t i = 0;
        for (int c; (c = file.get()) != EOF; ++i)
            if (static_cast<uint8_t>(c) != gtktest::PatternByte(i))
                return false;
        return i == size;
    }

    doubles::TempFolder folder;
    gtktest::LocalFileServer server;
    gtkui::LocalDownloadFiles files;
    std::unique_ptr<gtkui::CurlDownloader> downloader = std::make_unique<gtkui::CurlDownloader>();
};

TEST_F(Downloader, AWholeFileArrivesIntactUnderANameNoOtherFileHas)
{
    std::ofstream(folder.Path() / "data.bin") << "keep";
    auto op = Start("/a.bin?size=3000017", "data.bin");
    EXPECT_EQ(op->ResultFile().Name(), "data (2).bin");
    auto p = Await(op);
    EXPECT_EQ(platform::StatusName(p.Status), "Completed");
    EXPECT_EQ(p.TotalBytesToReceive, 3000017u);
    EXPECT_TRUE(Intact(op, 3000017));
    EXPECT_EQ(fs::file_size(folder.Path() / "data.bin"), 4u);

    // Numbered names stay within 255 bytes, cut on a character boundary.
    std::string greek;
    for (int i = 0; i < 127; ++i)
        greek += "\xCE\xB1";
    const std::pair<std::string, std::string> names[] = {
        {".bashrc", ".bashrc (2)"},
        {std::string(250, 'a') + ".jpg", std::string(247, 'a') + " (2).jpg"},
        {greek + "x", greek.substr(0, 250) + " (2)"},
    };
    for (const auto& [name, numbered] : names)
        EXPECT_EQ(gtkui::NumberedFileName(name, 2), numbered);
}

TEST_F(Downloader, APausedFileStaysPutAndResumeFetchesTheRestOrStartsAgain)
{
    for (const char* query : {"/p.bin?size=1500000&rate=2000000", "/n.bin?size=1500000&rate=2000000&norange=1"}) {
        SCOPED_TRACE(query);
        auto op = Start(query);
        Await(op, [](auto& p) { return p.BytesReceived > 300000; });
        op->Pause();
        EXPECT_EQ(Status(op), "PausedByApplication");
        std::this_thread::sleep_for(100ms);
        auto size = fs::file_size(op->ResultFile().Path());
        std::this_thread::sleep_for(300ms);
        EXPECT_EQ(fs::file_size(op->ResultFile().Path()), size);
        op->Resume();
        EXPECT_EQ(platform::StatusName(Await(op).Status), "Completed");
        EXPECT_TRUE(Intact(op, 1500000));
    }
    auto log = server.Log();
    EXPECT_NE(log.find("/p.bin range=bytes="), std::string::npos) << log;
    EXPECT_NE(log.find("if-range=\"1500000\""), std::string::npos) << log;
}

TEST_F(Downloader, FailuresAreToldNeverCompletedAndADropCanBeRetried)
{
    auto dropped = Start("/d.bin?size=2000000&drop=700000");
    auto missing = Start("/missing.png", "missing.png");
    auto local = Start("/to-file", "passwd");
    // A full disk: /dev/full behind a link of our own, so deleting the file deletes the link.
    auto link = folder.Path() / "full.bin";
    fs::create_symlink("/dev/full", link);
    int descriptor = open(link.c_str(), O_WRONLY | O_CLOEXEC);
    ASSERT_GE(descriptor, 0);
    Op full = downloader->StartDownload(*platform::Uri::Parse(server.Url("/f.bin?size=100000")),
                                        std::make_unique<gtkui::PosixStorageFile>("full.bin", link, descriptor));
    struct Case {
        const Op& op;
        TransferFailure failure;
        int code;
    } cases[] = {{dropped, TransferFailure::Connection, 200}, {missing, TransferFailure::Server, 404},
                 {local, TransferFailure::Connection, 302}, {full, TransferFailure::DiskFull, 200}};
    for (const auto& c : cases) {
        auto p = Await(c.op);
        EXPECT_EQ(platform::StatusName(p.Status), "Error") << c.op->ResultFile().Name();
        EXPECT_EQ(p.Failure, c.failure) << c.op->ResultFile().Name();
        EXPECT_EQ(p.HttpStatus, c.code) << c.op->ResultFile().Name();
    }
    EXPECT_EQ(fs::file_size(missing->ResultFile().Path()), 0u) << "an error page is not the file";
    EXPECT_EQ(fs::file_size(local->ResultFile().Path()), 0u);
    dropped->Resume();
    EXPECT_EQ(platform::StatusName(Await(dropped).Status), "Completed");
    EXPECT_TRUE(Intact(dropped, 2000000));
}

TEST_F(Downloader, CancelAndTheEndOfTheBrowserDeleteUnfinishedFilesOnly)
{
    auto cancelled = Start("/c.bin?size=5000000&rate=1000000", "cancelled.bin");
    auto unfinished = Start("/u.bin?size=5000000&rate=1000000", "unfinished.bin");
    auto finished = Start("/f.bin?size=1000", "finished.bin");
    Await(finished);
    Await(cancelled, [](auto& p) { return p.BytesReceived > 0; });
    cancelled->Cancel();
    EXPECT_EQ(Status(cancelled), "Canceled");
    // At exit the page's operations go first, then the downloader.
    cancelled.reset();
    unfinished.reset();
    finished.reset();
    downloader.reset();
    EXPECT_FALSE(fs::exists(folder.Path() / "cancelled.bin"));
    EXPECT_FALSE(fs::exists(folder.Path() / "unfinished.bin"));
    EXPECT_EQ(fs::file_size(folder.Path() / "finished.bin"), 1000u);
}

} // namespace
