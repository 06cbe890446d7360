#pragma once
// Download files on the local file system: the XDG Downloads folder, and new
// files created with O_CREAT|O_EXCL so that no existing file is ever
// replaced, not even one another program creates at the same moment.
#include <string>

#include "platform/downloads.h"

namespace gtkui {

// A created file with its open descriptor, which the transfer writes to.
class PosixStorageFile : public platform::StorageFile {
public:
    PosixStorageFile(std::string name, std::string path, int descriptor);
    ~PosixStorageFile() override;
    PosixStorageFile(const PosixStorageFile&) = delete;
    PosixStorageFile& operator=(const PosixStorageFile&) = delete;

    const std::string& Name() const override { return m_name; }
    const std::string& Path() const override { return m_path; }
    int Descriptor() const { return m_descriptor; }
    // Closes the descriptor; false (errno set) when the close failed.
    bool Close();

private:
    std::string m_name;
    std::string m_path;
    int m_descriptor;
};

// "name (n).ext" for the n-th try, cut at a UTF-8 boundary to at most 255 bytes.
std::string NumberedFileName(const std::string& name, int n);

class LocalDownloadFiles : public platform::DownloadFiles {
public:
    std::string DownloadsFolderPath() override;
    platform::FileCreation CreateUniqueFile(const std::string& folder, const std::string& name) override;
};

} // namespace gtkui
