#include "tests/doubles/fake_downloads.h"

#include <fstream>

namespace doubles {

namespace {

class FakeOperation : public platform::DownloadOperation {
public:
    explicit FakeOperation(std::shared_ptr<FakeTransfer> transfer) : m_transfer(std::move(transfer)) {}
    platform::TransferProgress Progress() const override { return m_transfer->Progress; }
    const platform::StorageFile& ResultFile() const override { return *m_transfer->File; }
    void Pause() override { m_transfer->Progress.Status = platform::TransferStatus::PausedByApplication; }
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
    auto path = std::filesystem::path(folder) / name;
    if (Error || !std::ofstream(path, std::ios::binary))
        return {nullptr, Error.value_or("cannot create")};
    return {std::make_unique<FakeStorageFile>(name, path.string()), {}};
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
