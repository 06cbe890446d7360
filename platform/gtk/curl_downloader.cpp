#include "platform/gtk/curl_downloader.h"

#include <glib.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

#include "platform/gtk/download_files_gtk.h"

namespace gtkui {

using platform::TransferFailure;
using platform::TransferStatus;

struct CurlDownloader::Transfer {
    Transfer(std::string url, std::unique_ptr<platform::StorageFile> file) : Url(std::move(url)), File(std::move(file))
    {
        Posix = dynamic_cast<PosixStorageFile*>(File.get());
    }

    const std::string Url;
    // Name and path never change; the descriptor is the worker's.
    const std::unique_ptr<platform::StorageFile> File;
    PosixStorageFile* Posix = nullptr;

    // Published by the worker, read by the user-interface thread.
    std::atomic<uint64_t> Received{0};
    std::atomic<uint64_t> Total{0};
    std::atomic<TransferStatus> Status{TransferStatus::Running};
    std::atomic<TransferFailure> Failure{TransferFailure::None};
    std::atomic<int> HttpStatus{0};

    // The worker's alone.
    CURL* Easy = nullptr;
    curl_slist* Headers = nullptr;
    uint64_t Offset = 0;       // bytes in the file
    bool BodyStarted = false;  // this request's first body bytes arrived
    bool Refused = false;      // this request's answer was an HTTP error
    int WriteError = 0;        // errno of this request's failed write
    std::string Validator;     // the If-Range value for the next resume
    std::string ETag, LastModified;
    long long RangeStart = -1; // this answer's Content-Range start
    bool Done = false;         // every byte written and the file closed
};

namespace {

class CurlOperation : public platform::DownloadOperation {
public:
    CurlOperation(CurlDownloader& owner, std::shared_ptr<CurlDownloader::Transfer> transfer)
        : m_owner(owner), m_transfer(std::move(transfer))
    {
    }
    ~CurlOperation() override { m_owner.Send(CurlDownloader::Command::Discard, m_transfer); }

    platform::TransferProgress Progress() const override
    {
        auto& t = *m_transfer;
        return {t.Received.load(std::memory_order_relaxed), t.Total.load(std::memory_order_relaxed),
                t.Status.load(), t.Failure.load(), t.HttpStatus.load()};
    }
    const platform::StorageFile& ResultFile() const override { return *m_transfer->File; }

    void Pause() override
    {
        auto running = TransferStatus::Running;
        if (m_transfer->Status.compare_exchange_strong(running, TransferStatus::PausedByApplication))
            m_owner.Send(CurlDownloader::Command::Pause, m_transfer);
    }
    void Resume() override
    {
        auto paused = TransferStatus::PausedByApplication;
        auto failed = TransferStatus::Error;
        if (m_transfer->Status.compare_exchange_strong(paused, TransferStatus::Running) ||
            m_transfer->Status.compare_exchange_strong(failed, TransferStatus::Running))
            m_owner.Send(CurlDownloader::Command::Resume, m_transfer);
    }
    void Cancel() override
    {
        auto status = m_transfer->Status.load();
        while (status != TransferStatus::Completed && status != TransferStatus::Canceled) {
            if (m_transfer->Status.compare_exchange_weak(status, TransferStatus::Canceled)) {
                m_owner.Send(CurlDownloader::Command::Cancel, m_transfer);
                return;
            }
        }
    }

private:
    CurlDownloader& m_owner;
    std::shared_ptr<CurlDownloader::Transfer> m_transfer;
};

bool StartsWithNoCase(const char* line, size_t length, const char* prefix)
{
    size_t n = std::strlen(prefix);
    return length >= n && strncasecmp(line, prefix, n) == 0;
}

std::string HeaderValue(const char* line, size_t length, size_t nameLength)
{
    std::string value(line + nameLength, length - nameLength);
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!value.empty() && blank(value.back()))
        value.pop_back();
    size_t start = 0;
    while (start < value.size() && blank(value[start]))
        ++start;
    return value.substr(start);
}

size_t OnHeader(char* line, size_t size, size_t count, void* data)
{
    auto& t = *static_cast<CurlDownloader::Transfer*>(data);
    size_t length = size * count;
    // Each answer of a redirect chain starts with its status line.
    if (StartsWithNoCase(line, length, "HTTP/")) {
        t.ETag.clear();
        t.LastModified.clear();
        t.RangeStart = -1;
    } else if (StartsWithNoCase(line, length, "etag:")) {
        t.ETag = HeaderValue(line, length, 5);
    } else if (StartsWithNoCase(line, length, "last-modified:")) {
        t.LastModified = HeaderValue(line, length, 14);
    } else if (StartsWithNoCase(line, length, "content-range:")) {
        auto value = HeaderValue(line, length, 14);
        long long start = -1;
        if (std::sscanf(value.c_str(), "bytes %lld-", &start) == 1)
            t.RangeStart = start;
    }
    return length;
}

// The first body bytes of an answer: where they go, and whether they go at all.
bool AcceptBody(CurlDownloader::Transfer& t)
{
    long code = 0;
    curl_easy_getinfo(t.Easy, CURLINFO_RESPONSE_CODE, &code);
    if (code >= 400) {
        // An error page is not the file.
        t.Refused = true;
        return false;
    }
    bool appends = code == 206 && t.RangeStart >= 0 && static_cast<uint64_t>(t.RangeStart) == t.Offset;
    if (!appends && t.Offset > 0) {
        // The whole file again (a 200, or a range we did not ask for).
        if (ftruncate(t.Posix->Descriptor(), 0) != 0) {
            t.WriteError = errno;
            return false;
        }
        t.Offset = 0;
        t.Received.store(0, std::memory_order_relaxed);
        if (code == 206)
            return false;
    }
    t.Validator = !t.ETag.empty() ? t.ETag : t.LastModified;
    curl_off_t length = -1;
    curl_easy_getinfo(t.Easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    t.Total.store(length >= 0 ? t.Offset + static_cast<uint64_t>(length) : 0, std::memory_order_relaxed);
    t.BodyStarted = true;
    return true;
}

size_t OnBody(char* bytes, size_t size, size_t count, void* data)
{
    auto& t = *static_cast<CurlDownloader::Transfer*>(data);
    size_t length = size * count;
    if (!t.BodyStarted && !AcceptBody(t))
        return 0;
    size_t written = 0;
    while (written < length) {
        ssize_t n = pwrite(t.Posix->Descriptor(), bytes + written, length - written,
                           static_cast<off_t>(t.Offset + written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            t.WriteError = n < 0 ? errno : ENOSPC;
            t.Offset += written;
            t.Received.store(t.Offset, std::memory_order_relaxed);
            return 0;
        }
        written += static_cast<size_t>(n);
    }
    t.Offset += length;
    t.Received.store(t.Offset, std::memory_order_relaxed);
    return length;
}

void Unlink(const CurlDownloader::Transfer& t)
{
    if (unlink(t.File->Path().c_str()) != 0 && errno != ENOENT)
        g_warning("tolvane-browser: cannot delete %s: %s", t.File->Path().c_str(), std::strerror(errno));
}

} // namespace

CurlDownloader::CurlDownloader() = default;

void CurlDownloader::StartWorker()
{
    if (m_multi)
        return;
    curl_global_init(CURL_GLOBAL_DEFAULT);
    m_multi = curl_multi_init();
    m_worker = std::thread([this] { Run(); });
}

CurlDownloader::~CurlDownloader()
{
    if (!m_multi)
        return;
    {
        std::lock_guard lock(m_lock);
        m_stopping = true;
    }
    curl_multi_wakeup(m_multi);
    m_worker.join();
    curl_multi_cleanup(m_multi);
}

std::unique_ptr<platform::DownloadOperation> CurlDownloader::StartDownload(const platform::Uri& source,
                                                                           std::unique_ptr<platform::StorageFile> file)
{
    auto transfer = std::make_shared<Transfer>(source.AbsoluteUri(), std::move(file));
    Send(Command::Start, transfer);
    return std::make_unique<CurlOperation>(*this, transfer);
}

void CurlDownloader::Send(Command command, std::shared_ptr<Transfer> transfer)
{
    StartWorker();
    {
        std::lock_guard lock(m_lock);
        m_commands.emplace_back(command, std::move(transfer));
    }
    curl_multi_wakeup(m_multi);
}

void CurlDownloader::Run()
{
    for (;;) {
        std::deque<std::pair<Command, std::shared_ptr<Transfer>>> commands;
        {
            std::lock_guard lock(m_lock);
            if (m_stopping)
                break;
            commands.swap(m_commands);
        }
        for (auto& [command, transfer] : commands)
            Apply(command, transfer);
        int running = 0;
        curl_multi_perform(m_multi, &running);
        int left = 0;
        while (CURLMsg* message = curl_multi_info_read(m_multi, &left)) {
            if (message->msg != CURLMSG_DONE)
                continue;
            Transfer* transfer = nullptr;
            curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, &transfer);
            Finish(*transfer, message->data.result);
        }
        curl_multi_poll(m_multi, nullptr, 0, 1000, nullptr);
    }
    // The browser ends: nothing half-fetched stays behind.
    for (auto& transfer : m_transfers) {
        Stop(*transfer);
        if (!transfer->Done)
            Unlink(*transfer);
    }
    m_transfers.clear();
}

void CurlDownloader::Apply(Command command, const std::shared_ptr<Transfer>& transfer)
{
    bool known = std::find(m_transfers.begin(), m_transfers.end(), transfer) != m_transfers.end();
    switch (command) {
    case Command::Start:
        m_transfers.push_back(transfer);
        Begin(*transfer);
        break;
    case Command::Pause:
        if (known)
            Stop(*transfer);
        break;
    case Command::Resume:
        if (known && !transfer->Easy)
            Begin(*transfer);
        break;
    case Command::Cancel:
    case Command::Discard:
        if (known)
            Drop(transfer);
        break;
    }
}

void CurlDownloader::Begin(Transfer& t)
{
    auto fail = [&t](TransferFailure failure) {
        t.Failure = failure;
        auto running = TransferStatus::Running;
        t.Status.compare_exchange_strong(running, TransferStatus::Error);
    };
    // Finished while a pause was on its way: a resume finds it done.
    if (t.Done) {
        t.Status = TransferStatus::Completed;
        return;
    }
    if (!t.Posix || t.Posix->Descriptor() < 0) {
        fail(TransferFailure::Write);
        return;
    }
    t.Failure = TransferFailure::None;
    t.HttpStatus = 0;
    t.BodyStarted = t.Refused = false;
    t.WriteError = 0;
    t.Easy = curl_easy_init();
    CURL* e = t.Easy;
    curl_easy_setopt(e, CURLOPT_URL, t.Url.c_str());
    curl_easy_setopt(e, CURLOPT_PRIVATE, &t);
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, 20L);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT, SilenceSeconds);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, SilenceSeconds);
    curl_easy_setopt(e, CURLOPT_BUFFERSIZE, 256L * 1024);
    curl_easy_setopt(e, CURLOPT_USERAGENT, "TolvaneBrowser/1.0");
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &OnHeader);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, &t);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &OnBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &t);
    if (t.Offset > 0) {
        std::string range = std::to_string(t.Offset) + "-";
        curl_easy_setopt(e, CURLOPT_RANGE, range.c_str());
        if (!t.Validator.empty()) {
            t.Headers = curl_slist_append(nullptr, ("If-Range: " + t.Validator).c_str());
            curl_easy_setopt(e, CURLOPT_HTTPHEADER, t.Headers);
        }
    }
    curl_multi_add_handle(m_multi, e);
}

void CurlDownloader::Stop(Transfer& t)
{
    if (!t.Easy)
        return;
    curl_multi_remove_handle(m_multi, t.Easy);
    curl_easy_cleanup(t.Easy);
    t.Easy = nullptr;
    curl_slist_free_all(t.Headers);
    t.Headers = nullptr;
}

void CurlDownloader::Finish(Transfer& t, int result)
{
    long code = 0;
    curl_easy_getinfo(t.Easy, CURLINFO_RESPONSE_CODE, &code);
    Stop(t);
    uint64_t total = t.Total.load();
    TransferFailure failure = TransferFailure::None;
    if (t.WriteError)
        failure = t.WriteError == ENOSPC || t.WriteError == EDQUOT ? TransferFailure::DiskFull : TransferFailure::Write;
    else if (t.Refused)
        failure = TransferFailure::Server;
    // Refused, dropped, silent, or redirected away from the web.
    else if (result != CURLE_OK)
        failure = TransferFailure::Connection;
    else if (code < 200 || code >= 300)
        failure = TransferFailure::Server;
    else if (total > 0 && t.Offset != total)
        failure = TransferFailure::Connection;
    else if (!t.Posix->Close())
        failure = errno == ENOSPC || errno == EDQUOT ? TransferFailure::DiskFull : TransferFailure::Write;
    t.HttpStatus = static_cast<int>(code);
    t.Failure = failure;
    if (failure == TransferFailure::None)
        t.Done = true;
    auto running = TransferStatus::Running;
    t.Status.compare_exchange_strong(running, t.Done ? TransferStatus::Completed : TransferStatus::Error);
}

void CurlDownloader::Drop(const std::shared_ptr<Transfer>& transfer)
{
    Stop(*transfer);
    if (!transfer->Done) {
        if (transfer->Posix)
            transfer->Posix->Close();
        Unlink(*transfer);
    }
    std::erase(m_transfers, transfer);
}

} // namespace gtkui
