#pragma once
// Transfers with libcurl on one worker thread that owns a multi handle.
//
// Not on the GTK loop: the system polls progress on every tick anyway, a disk
// that stalls must not stall the window, and a socket that is always readable
// at local speed would either starve the redraw or be throttled by it. The
// worker publishes each transfer's progress in atomics that Progress reads
// without a lock; the user-interface thread sends commands through a locked
// queue and wakes the worker with curl_multi_wakeup.
//
// Pause ends the request and keeps the file; resume asks for the rest with
// Range (and If-Range when the server gave an ETag or Last-Modified): a 206
// appends, a 200 starts the file again. A transfer is "Completed" only when
// every write and the close succeeded and a known length matches. Cancel, and
// the end of the downloader, delete every file not completed.
#include <curl/curl.h>

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/downloads.h"

namespace gtkui {

class CurlDownloader : public platform::Downloader {
public:
    // A transfer that hears nothing for this long has dropped.
    static constexpr long SilenceSeconds = 60;

    CurlDownloader();
    // Stops every transfer, joins the worker and deletes unfinished files.
    ~CurlDownloader() override;
    CurlDownloader(const CurlDownloader&) = delete;
    CurlDownloader& operator=(const CurlDownloader&) = delete;

    // Takes a file made by LocalDownloadFiles; any other kind ends in "Error".
    // Every operation must go before the downloader does.
    std::unique_ptr<platform::DownloadOperation> StartDownload(const platform::Uri& source,
                                                               std::unique_ptr<platform::StorageFile> file) override;

    struct Transfer;
    enum class Command { Start, Pause, Resume, Cancel, Discard };
    void Send(Command command, std::shared_ptr<Transfer> transfer);

private:
    // libcurl and its TLS library take megabytes once set up, and most
    // sessions download nothing: the worker starts with the first command.
    // User-interface thread only.
    void StartWorker();
    void Run();
    void Apply(Command command, const std::shared_ptr<Transfer>& transfer);
    void Begin(Transfer& transfer);
    void Stop(Transfer& transfer);
    void Finish(Transfer& transfer, int result);
    void Drop(const std::shared_ptr<Transfer>& transfer);

    CURLM* m_multi = nullptr;
    std::mutex m_lock;
    std::deque<std::pair<Command, std::shared_ptr<Transfer>>> m_commands;
    bool m_stopping = false; // under m_lock
    // The worker's own: every transfer not yet cancelled or discarded.
    std::vector<std::shared_ptr<Transfer>> m_transfers;
    std::thread m_worker;
};

} // namespace gtkui
