#pragma once
// Facts about this desktop: no phone types, the version the build was given,
// and the local data folder under the user's XDG data directory.
#include <gio/gio.h>

#include <string>

#include "platform/system_info.h"

namespace gtkui {

class DesktopSystemInfo : public platform::SystemInfo {
public:
    // Creates the local data folder (reported on stderr when that fails).
    // The application's own bus connection is where the accent colour is
    // asked (none without a session bus).
    explicit DesktopSystemInfo(GApplication* application = nullptr);
    // For tests: a given folder instead of $XDG_DATA_HOME/tolvane-browser.
    explicit DesktopSystemInfo(std::string localFolder, GApplication* application = nullptr);

    bool IsTypePresent(const std::string& typeName) const override { return false; }
    std::string DeviceFamily() const override { return "Windows.Desktop"; }
    platform::PackageVersion Version() const override { return BuildVersion(); }
    // The version the build was given (CMakeLists.txt's project version).
    static platform::PackageVersion BuildVersion();
    std::string LocalFolderPath() const override { return m_localFolder; }
    std::optional<ui::Color> AccentColor() const override;

    // "$XDG_DATA_HOME/tolvane-browser" (or its GLib default).
    static std::string DefaultLocalFolder();

private:
    std::string m_localFolder;
    GApplication* m_application = nullptr; // outlives the shell
};

} // namespace gtkui
