#include "tests/doubles/fake_downloads.h"

#include <fstream>

namespace doubles {

namespace {

class FakeOperation : public platform::DownloadOperation {
public:
    explicit FakeOperation(std::shared_ptr<FakeTransfer> transfer) : m_transfer(std::move(transfer)) {}
    ~FakeOperation() override { m_transfer->Alive = false; }
    platform::TransferProgress Progress() const override { return m_transfer->Progress; }
    const platform::StorageFile& ResultFile() const override { return *m_transfer->File; }
    void Pause() override
    {
        ++m_transfer->Pauses;
        m_transfer->Progress.Status = platform::TransferStatus::PausedByApplication;
    }
    void Resume() override
    {
        ++m_transfer->Resumes;
        m_transfer->Progress.Status = platform::TransferStatus::Running;
        m_transfer->Progress.Failure = platform::TransferFailure::None;
    }
    void Cancel() override
    {
        ++m_transfer->Cancels;
        m_transfer->Progress.Status = platform::TransferStatus::Canceled;
        std::error_code ignored;
        std::filesystem::remove(m_transfer->File->Path(), ignored);
    }

private:
    std::shared_ptr<FakeTransfer> m_transfer;
};

} // namespace

platform::FileCreation FakeDownloadFiles::CreateUniqueFile(const std::string& folder, const std::string& name)
{
    if (Error)
        return {nullptr, *Error};
    auto dot = name.rfind('.');
    if (dot == 0 || dot == std::string::npos)
        dot = name.size();
    for (int n = 1;; ++n) {
        std::string candidate = n == 1 ? name : name.substr(0, dot) + " (" + std::to_string(n) + ")" + name.substr(dot);
        std::filesystem::path path = std::filesystem::path(folder) / candidate;
        if (std::filesystem::exists(path))
            continue;
        std::ofstream(path, std::ios::binary);
        if (!std::filesystem::exists(path))
            return {nullptr, "cannot create"};
        return {std::make_unique<FakeStorageFile>(candidate, path.string()), {}};
    }
}

std::unique_ptr<platform::DownloadOperation> FakeDownloader::StartDownload(const platform::Uri& source,
                                                                           std::unique_ptr<platform::StorageFile> file)
{
    auto transfer = std::make_shared<FakeTransfer>();
    transfer->Source = source.AbsoluteUri();
    transfer->File = std::move(file);
    Started.push_back(transfer);
    return std::make_unique<FakeOperation>(transfer);
}

} // namespace doubles
