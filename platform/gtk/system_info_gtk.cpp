#include "platform/gtk/system_info_gtk.h"

#include <glib.h>
#include <glib/gstdio.h>

#include <cerrno>
#include <cstring>

namespace gtkui {

namespace {

void CreateFolder(const std::string& path)
{
    if (g_mkdir_with_parents(path.c_str(), 0700) != 0)
        g_warning("the local data folder %s could not be created: %s", path.c_str(), std::strerror(errno));
}

} // namespace

DesktopSystemInfo::DesktopSystemInfo() : DesktopSystemInfo(DefaultLocalFolder()) {}

DesktopSystemInfo::DesktopSystemInfo(std::string localFolder) : m_localFolder(std::move(localFolder))
{
    while (m_localFolder.size() > 1 && m_localFolder.back() == '/')
        m_localFolder.pop_back();
    CreateFolder(m_localFolder);
}

std::string DesktopSystemInfo::DefaultLocalFolder()
{
    return std::string(g_get_user_data_dir()) + "/tolvane-browser";
}

platform::PackageVersion DesktopSystemInfo::BuildVersion()
{
    return {TOLVANE_VERSION_MAJOR, TOLVANE_VERSION_MINOR, TOLVANE_VERSION_BUILD, TOLVANE_VERSION_REVISION};
}

} // namespace gtkui
