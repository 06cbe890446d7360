#include "platform/gtk/system_info_gtk.h"

#include <glib.h>
#include <glib/gstdio.h>

#include <cerrno>
#include <cstring>

#include "platform/gtk/accent_color_gtk.h"

namespace gtkui {

namespace {

void CreateFolder(const std::string& path)
{
    if (g_mkdir_with_parents(path.c_str(), 0700) != 0)
        g_warning("the local data folder %s could not be created: %s", path.c_str(), std::strerror(errno));
}

} // namespace

DesktopSystemInfo::DesktopSystemInfo(GApplication* application)
    : DesktopSystemInfo(DefaultLocalFolder(), application)
{
}

DesktopSystemInfo::DesktopSystemInfo(std::string localFolder, GApplication* application)
    : m_localFolder(std::move(localFolder)), m_application(application)
{
    while (m_localFolder.size() > 1 && m_localFolder.back() == '/')
        m_localFolder.pop_back();
    CreateFolder(m_localFolder);
}

std::string DesktopSystemInfo::DefaultLocalFolder()
{
    return std::string(g_get_user_data_dir()) + "/tolvane-browser";
}

std::optional<ui::Color> DesktopSystemInfo::AccentColor() const
{
    // Without a session bus the application has no connection: no accent, at once.
    return ReadAccentColor(m_application ? g_application_get_dbus_connection(m_application) : nullptr);
}

platform::PackageVersion DesktopSystemInfo::BuildVersion()
{
    return {TOLVANE_VERSION_MAJOR, TOLVANE_VERSION_MINOR, TOLVANE_VERSION_BUILD, TOLVANE_VERSION_REVISION};
}

} // namespace gtkui
