#pragma once
// Doubles of the download platform: real files, transfers whose progress a
// test sets, a folder picker it answers, a notifier that keeps every toast.
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/downloads.h"

namespace doubles {

struct FakeStorageFile : platform::StorageFile {
    FakeStorageFile(std::string name, std::string path) : FileName(std::move(name)), FilePath(std::move(path)) {}
    const std::string& Name() const override { return FileName; }
    const std::string& Path() const override { return FilePath; }
    std::string FileName, FilePath;
};

struct FakeDownloadFiles : platform::DownloadFiles {
    std::string DownloadsFolderPath() override { return Downloads; }
    // The file by its name (unique names are the adapter's); Error, when set, fails every creation.
    platform::FileCreation CreateUniqueFile(const std::string& folder, const std::string& name) override
    {
        auto path = std::filesystem::path(folder) / name;
        if (Error || !std::ofstream(path, std::ios::binary))
            return {nullptr, Error.value_or("cannot create")};
        return {std::make_unique<FakeStorageFile>(name, path.string()), {}};
    }
    std::string Downloads;
    std::optional<std::string> Error;
};

// One transfer, which the test moves on; it outlives the operation the system
// drops. Pause, resume and cancel set the status as the real transfer does.
struct FakeTransfer {
    std::string Source;
    std::unique_ptr<platform::StorageFile> File;
    platform::TransferProgress Progress{0, 0, platform::TransferStatus::Running};
};

struct FakeOperation : platform::DownloadOperation {
    using enum platform::TransferStatus;
    explicit FakeOperation(std::shared_ptr<FakeTransfer> t) : T(std::move(t)) {}
    platform::TransferProgress Progress() const override { return T->Progress; }
    const platform::StorageFile& ResultFile() const override { return *T->File; }
    void Pause() override { T->Progress.Status = PausedByApplication; }
    void Resume() override { T->Progress = {T->Progress.BytesReceived, T->Progress.TotalBytesToReceive, Running}; }
    void Cancel() override { T->Progress.Status = Canceled, std::filesystem::remove(T->File->Path()); }
    std::shared_ptr<FakeTransfer> T;
};

struct FakeDownloader : platform::Downloader {
    std::unique_ptr<platform::DownloadOperation> StartDownload(const platform::Uri& source,
                                                               std::unique_ptr<platform::StorageFile> file) override
    {
        Started.push_back(std::make_shared<FakeTransfer>(source.AbsoluteUri(), std::move(file)));
        return std::make_unique<FakeOperation>(Started.back());
    }
    std::vector<std::shared_ptr<FakeTransfer>> Started;
};

struct FakeFolderPicker : platform::FolderPicker {
    void PickSingleFolder(std::function<void(std::optional<std::string>)> picked) override { Pending = picked; }
    std::function<void(std::optional<std::string>)> Pending;
};

struct FakeToastNotifier : platform::ToastNotifier {
    void Show(const std::string& markup) override { Markups.push_back(markup); }
    std::vector<std::string> Markups;
};

} // namespace doubles
