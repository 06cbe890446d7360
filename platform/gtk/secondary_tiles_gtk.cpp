#include "platform/gtk/secondary_tiles_gtk.h"

#include <glib.h>
#include <glib/gstdio.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <vector>

#include "platform/gtk/bundle_gtk.h"

namespace gtkui {

namespace {

constexpr size_t MaxNameCharacters = 255;
constexpr int MaxSameIdEntries = 1000;
constexpr const char* EntryGroup = "Desktop Entry";
constexpr const char* BundledLogo = "/Assets/Square150x150Logo.png";

struct KeyFileUnref {
    void operator()(GKeyFile* file) const { g_key_file_unref(file); }
};
using KeyFilePtr = std::unique_ptr<GKeyFile, KeyFileUnref>;

std::string Quoted(const std::string& argument)
{
    std::string quoted = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

std::string EntryText(const std::string& name, const std::string& exec, const std::string& icon)
{
    KeyFilePtr file(g_key_file_new());
    // set_string escapes line breaks and backslashes as the format wants.
    g_key_file_set_string(file.get(), EntryGroup, "Type", "Application");
    g_key_file_set_string(file.get(), EntryGroup, "Name", name.c_str());
    g_key_file_set_string(file.get(), EntryGroup, "Exec", exec.c_str());
    if (!icon.empty())
        g_key_file_set_string(file.get(), EntryGroup, "Icon", icon.c_str());
    g_key_file_set_string(file.get(), EntryGroup, "Terminal", "false");
    gsize length = 0;
    char* data = g_key_file_to_data(file.get(), &length, nullptr);
    std::string text(data, length);
    g_free(data);
    return text;
}

bool WriteAll(int fd, const std::string& text)
{
    size_t written = 0;
    while (written < text.size()) {
        ssize_t n = write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += static_cast<size_t>(n);
    }
    return fsync(fd) == 0;
}

// Links the finished file under the first free name: the id, then id-2,
// id-3…; link() never replaces an existing entry, and the entry appears whole.
bool LinkUnderFreeName(const std::string& temporary, const std::string& stem)
{
    for (int n = 1; n <= MaxSameIdEntries; ++n) {
        std::string path = stem + (n == 1 ? "" : "-" + std::to_string(n)) + ".desktop";
        if (link(temporary.c_str(), path.c_str()) == 0)
            return true;
        if (errno != EEXIST) {
            g_warning("the pinned page could not be written to %s: %s", path.c_str(), g_strerror(errno));
            return false;
        }
    }
    return false;
}

} // namespace

std::string DesktopExecLine(const std::vector<std::string>& arguments)
{
    std::string line;
    for (const auto& argument : arguments) {
        if (!line.empty())
            line += ' ';
        for (char c : Quoted(argument))
            line += c == '%' ? std::string("%%") : std::string(1, c);
    }
    return line;
}

std::string DesktopEntryName(const std::string& title, const std::string& fallback)
{
    char* valid = g_utf8_make_valid(title.c_str(), static_cast<gssize>(title.size()));
    std::string name;
    size_t characters = 0;
    for (const char* p = valid; *p && characters < MaxNameCharacters; p = g_utf8_next_char(p), ++characters) {
        gunichar c = g_utf8_get_char(p);
        if (g_unichar_iscntrl(c) || c == 0x2028 || c == 0x2029)
            name += ' ';
        else
            name.append(p, g_utf8_next_char(p) - p);
    }
    g_free(valid);
    bool blank = name.find_first_not_of(' ') == std::string::npos;
    return blank ? DesktopEntryName(fallback.empty() ? std::string("Tolvane Browser") : fallback, "Tolvane Browser")
                 : name;
}

DesktopEntryTiles::DesktopEntryTiles(std::string applicationsFolder, std::string binaryPath,
                                     std::function<std::string()> iconPath)
    : m_folder(std::move(applicationsFolder)), m_binary(std::move(binaryPath)), m_iconPath(std::move(iconPath))
{
}

bool DesktopEntryTiles::RequestCreate(const platform::SecondaryTile& tile)
{
    const auto& address = tile.Arguments;
    if (address.empty() || address.size() > MaxTileArgumentsBytes || m_binary.empty() ||
        !g_utf8_validate(address.c_str(), static_cast<gssize>(address.size()), nullptr))
        return false;
    // The id names the file: nothing in it may reach another folder.
    if (tile.TileId.empty() || tile.TileId.find_first_of("/\\") != std::string::npos || tile.TileId[0] == '.')
        return false;
    if (g_mkdir_with_parents(m_folder.c_str(), 0755) != 0) {
        g_warning("the applications folder %s could not be made: %s", m_folder.c_str(), g_strerror(errno));
        return false;
    }
    std::string text = EntryText(DesktopEntryName(tile.DisplayName, address),
                                 DesktopExecLine({m_binary, "--arguments", address}), m_iconPath ? m_iconPath() : "");
    std::string temporary = m_folder + "/.tolvane-tile-XXXXXX";
    int fd = g_mkstemp_full(temporary.data(), O_WRONLY, 0644);
    if (fd < 0) {
        g_warning("the pinned page could not be written in %s: %s", m_folder.c_str(), g_strerror(errno));
        return false;
    }
    bool written = WriteAll(fd, text);
    written = close(fd) == 0 && written;
    bool linked = written && LinkUnderFreeName(temporary, m_folder + "/" + tile.TileId);
    g_unlink(temporary.c_str());
    return linked;
}

std::string DesktopEntryTiles::RunningBinaryPath()
{
    char* path = g_file_read_link("/proc/self/exe", nullptr);
    std::string result = path ? path : "";
    g_free(path);
    return result;
}

std::string DesktopEntryTiles::CopyBundledLogo(const std::string& dataFolder)
{
    std::string path = dataFolder + "/Square150x150Logo.png";
    if (g_file_test(path.c_str(), G_FILE_TEST_IS_REGULAR))
        return path;
    std::string logo = ReadBundledFile(BundledLogo);
    if (logo.empty() || !g_file_set_contents(path.c_str(), logo.data(), static_cast<gssize>(logo.size()), nullptr))
        return "";
    return path;
}

} // namespace gtkui
