#pragma once
// Pinned pages as desktop entries in the user's applications folder: each
// runs the browser with --arguments and the page's address.
#include <functional>
#include <string>
#include <vector>

#include "platform/secondary_tiles.h"

namespace gtkui {

// Longer addresses do not fit a command line the desktop would run.
inline constexpr size_t MaxTileArgumentsBytes = 32768;

class DesktopEntryTiles : public platform::SecondaryTiles {
public:
    // applicationsFolder: where the entries go (made when missing);
    // binaryPath: the browser's absolute path; iconPath: asked at each pin,
    // empty when there is no icon to name.
    DesktopEntryTiles(std::string applicationsFolder, std::string binaryPath, std::function<std::string()> iconPath);

    bool RequestCreate(const platform::SecondaryTile& tile) override;

    // The running binary ("/proc/self/exe" resolved).
    static std::string RunningBinaryPath();
    // The bundled tile logo, copied once into the data folder; its path, or
    // empty when it could not be written.
    static std::string CopyBundledLogo(const std::string& dataFolder);

private:
    std::string m_folder;
    std::string m_binary;
    std::function<std::string()> m_iconPath;
};

// The Exec value: each argument double-quoted with `"`, `` ` ``, `$` and `\`
// escaped, then every `%` doubled (it would start a field code).
std::string DesktopExecLine(const std::vector<std::string>& arguments);
// The Name value: line breaks and control characters become spaces, at most
// 255 characters (whole ones); empty gives the fallback.
std::string DesktopEntryName(const std::string& title, const std::string& fallback);

} // namespace gtkui
