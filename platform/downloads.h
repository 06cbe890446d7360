#pragma once
// What the download manager asks of its platform: a folder for downloads, a
// new file that never replaces another, a transfer into that file that can be
// paused, resumed and cancelled, a folder picker and a toast notifier.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/uri.h"

namespace platform {

// The transfer states, by the values the system compares through their names.
enum class TransferStatus : int32_t {
    Idle = 0,
    Running = 1,
    PausedByApplication = 2,
    PausedCostedNetwork = 3,
    PausedNoNetwork = 4,
    Completed = 5,
    Canceled = 6,
    Error = 7,
    PausedSystemPolicy = 32,
};

// "Running", "Completed", ...; any other value gives the enumeration's full name.
std::string StatusName(TransferStatus status);

// Why a transfer ended in "Error".
enum class TransferFailure {
    None,
    Server,     // the server answered with an HTTP error (the code is in HttpStatus)
    Connection, // refused, dropped, silent for too long, or a redirect away from the web
    DiskFull,
    Write,      // any other failed write or close
};

struct TransferProgress {
    uint64_t BytesReceived = 0;
    // 0 while the length is unknown.
    uint64_t TotalBytesToReceive = 0;
    TransferStatus Status = TransferStatus::Idle;
    TransferFailure Failure = TransferFailure::None;
    int HttpStatus = 0;
};

// A file made for a download: created, empty and open for writing.
class StorageFile {
public:
    virtual ~StorageFile() = default;
    // The name actually created ("photo (2).jpg").
    virtual const std::string& Name() const = 0;
    virtual const std::string& Path() const = 0;
};

struct FileCreation {
    std::unique_ptr<StorageFile> File; // null when the creation failed
    std::string Error;                 // the system's reason, for the user
};

class DownloadFiles {
public:
    virtual ~DownloadFiles() = default;
    // The user's Downloads folder (created when missing), without a trailing slash.
    virtual std::string DownloadsFolderPath() = 0;
    // Creates `name` in `folder`; when a file of that name exists, "name (2).ext",
    // "name (3).ext" and so on. Never replaces a file.
    virtual FileCreation CreateUniqueFile(const std::string& folder, const std::string& name) = 0;
};

// One transfer. Progress is read on the user-interface thread as often as it
// likes; it never blocks. The operation is "Running" from its start.
class DownloadOperation {
public:
    virtual ~DownloadOperation() = default;
    virtual TransferProgress Progress() const = 0;
    // The file the transfer writes.
    virtual const StorageFile& ResultFile() const = 0;
    virtual void Pause() = 0;
    // After a pause, and after an "Error": continues where the file ends.
    virtual void Resume() = 0;
    // Stops the transfer and deletes its file.
    virtual void Cancel() = 0;
};

class Downloader {
public:
    virtual ~Downloader() = default;
    // Starts fetching `source` (http or https) into `file`.
    virtual std::unique_ptr<DownloadOperation> StartDownload(const Uri& source, std::unique_ptr<StorageFile> file) = 0;
};

class FolderPicker {
public:
    virtual ~FolderPicker() = default;
    // Asks the user for a folder, starting in the Downloads folder; `picked`
    // gets its path, or nothing when the user dismissed the picker.
    virtual void PickSingleFolder(std::function<void(std::optional<std::string> path)> picked) = 0;
};

class ToastNotifier {
public:
    virtual ~ToastNotifier() = default;
    // Shows the toast described by the markup (<toast>…<text>title</text><text>message</text>…).
    virtual void Show(const std::string& markup) = 0;
};

struct DownloadServices {
    DownloadFiles& Files;
    Downloader& Transfers;
    FolderPicker& Folders;
    ToastNotifier& Toasts;
};

} // namespace platform
