#pragma once
// Doubles of the download platform: files made in a real folder, transfers
// whose progress a test sets, a folder picker a test answers and a notifier
// that keeps every toast's markup.
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/downloads.h"

namespace doubles {

class FakeStorageFile : public platform::StorageFile {
public:
    FakeStorageFile(std::string name, std::string path) : m_name(std::move(name)), m_path(std::move(path)) {}
    const std::string& Name() const override { return m_name; }
    const std::string& Path() const override { return m_path; }

private:
    std::string m_name;
    std::string m_path;
};

class FakeDownloadFiles : public platform::DownloadFiles {
public:
    std::string DownloadsFolderPath() override { return Downloads; }
    // The file by its name (unique names are the adapter's); Error, when set, fails every creation.
    platform::FileCreation CreateUniqueFile(const std::string& folder, const std::string& name) override;
    std::string Downloads;
    std::optional<std::string> Error;
};

// One transfer; the test moves it on.
struct FakeTransfer {
    std::string Source;
    std::unique_ptr<platform::StorageFile> File;
    platform::TransferProgress Progress{0, 0, platform::TransferStatus::Running};
    int Resumes = 0;
    int Cancels = 0;
};

class FakeDownloader : public platform::Downloader {
public:
    std::unique_ptr<platform::DownloadOperation> StartDownload(const platform::Uri& source,
                                                               std::unique_ptr<platform::StorageFile> file) override;
    std::vector<std::shared_ptr<FakeTransfer>> Started;
};

class FakeFolderPicker : public platform::FolderPicker {
public:
    void PickSingleFolder(std::function<void(std::optional<std::string>)> picked) override { Pending = std::move(picked); }
    std::function<void(std::optional<std::string>)> Pending;
};

class FakeToastNotifier : public platform::ToastNotifier {
public:
    void Show(const std::string& markup) override { Markups.push_back(markup); }
    std::vector<std::string> Markups;
};

} // namespace doubles
