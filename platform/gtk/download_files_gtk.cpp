#include "platform/gtk/download_files_gtk.h"

#include <glib.h>
#include <glib/gstdio.h>

#include <cerrno>
#include <cstring>
#include <utility>
#include <fcntl.h>
#include <unistd.h>

namespace gtkui {

namespace {

constexpr size_t MaxNameBytes = 255;
// Past this many "(n)" tries the folder is hardly a download folder any more.
constexpr int MaxTries = 10000;

// The longest prefix of `text` no longer than `bytes` that ends on a character boundary.
std::string CutAtCharacter(const std::string& text, size_t bytes)
{
    if (text.size() <= bytes)
        return text;
    size_t end = bytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

} // namespace

PosixStorageFile::PosixStorageFile(std::string name, std::string path, int descriptor)
    : m_name(std::move(name)), m_path(std::move(path)), m_descriptor(descriptor)
{
}

PosixStorageFile::~PosixStorageFile()
{
    Close();
}

bool PosixStorageFile::Close()
{
    if (m_descriptor < 0)
        return true;
    int descriptor = std::exchange(m_descriptor, -1);
    return close(descriptor) == 0;
}

std::string NumberedFileName(const std::string& name, int n)
{
    if (n <= 1)
        return name;
    // A leading dot names a hidden file, not an extension.
    size_t dot = name.rfind('.');
    if (dot == 0 || dot == std::string::npos)
        dot = name.size();
    std::string stem = name.substr(0, dot);
    std::string extension = name.substr(dot);
    std::string suffix = " (" + std::to_string(n) + ")";
    if (suffix.size() + extension.size() > MaxNameBytes)
        extension = CutAtCharacter(extension, MaxNameBytes - suffix.size());
    stem = CutAtCharacter(stem, MaxNameBytes - suffix.size() - extension.size());
    return stem + suffix + extension;
}

std::string LocalDownloadFiles::DownloadsFolderPath()
{
    const char* named = g_get_user_special_dir(G_USER_DIRECTORY_DOWNLOAD);
    std::string folder = named && *named ? named : std::string(g_get_home_dir()) + "/Downloads";
    if (g_mkdir_with_parents(folder.c_str(), 0755) != 0)
        g_warning("tolvane-browser: cannot create the Downloads folder %s: %s", folder.c_str(), std::strerror(errno));
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

platform::FileCreation LocalDownloadFiles::CreateUniqueFile(const std::string& folder, const std::string& name)
{
    for (int n = 1; n <= MaxTries; ++n) {
        std::string candidate = NumberedFileName(name, n);
        std::string path = folder + "/" + candidate;
        int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (descriptor >= 0)
            return {std::make_unique<PosixStorageFile>(candidate, path, descriptor), {}};
        if (errno != EEXIST)
            return {nullptr, std::strerror(errno)};
    }
    return {nullptr, std::strerror(EEXIST)};
}

} // namespace gtkui
