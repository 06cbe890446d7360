#pragma once
// Facts about the device and the installed package.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/ui/types.h"

namespace platform {

struct PackageVersion {
    uint16_t Major = 0;
    uint16_t Minor = 0;
    uint16_t Build = 0;
    uint16_t Revision = 0;
};

class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    // Whether the platform has a type of that full name ("...StatusBar" on phones).
    virtual bool IsTypePresent(const std::string& typeName) const = 0;
    // "Windows.Desktop" here; "Windows.Mobile" on phones.
    virtual std::string DeviceFamily() const = 0;
    virtual PackageVersion Version() const = 0;
    // Hides the phone's status bar (started, not awaited); nothing on a desktop.
    virtual void HideStatusBar() {}
    // The local data folder (created at start), as a UTF-8 path without a trailing slash.
    virtual std::string LocalFolderPath() const = 0;
    // The desktop's accent colour (opaque), when the desktop says one; asked
    // once at start by the "SystemAccentColor" theme.
    virtual std::optional<ui::Color> AccentColor() const { return std::nullopt; }
};

} // namespace platform
