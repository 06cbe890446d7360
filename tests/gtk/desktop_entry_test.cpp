// Pinned pages as real desktop entries: whatever the title and the address,
// the file validates, adds no key, and runs exactly the browser with the
// address; nothing is overwritten and a failure leaves no file.
#include <gtest/gtest.h>

#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/gtk/secondary_tiles_gtk.h"
#include "tests/doubles/page_harness.h"

namespace {

namespace fs = std::filesystem;
constexpr const char* Binary = "/opt/Tolvane Browser/tolvane-browser";

struct Entry {
    std::vector<std::string> Keys;
    std::string Name;
    std::vector<std::string> Argv;
};

// The file as a desktop reads it: its keys, Name, and Exec undone (%% first).
Entry ReadEntry(const fs::path& path)
{
    Entry entry;
    g_autoptr(GKeyFile) file = g_key_file_new();
    EXPECT_TRUE(g_key_file_load_from_file(file, path.c_str(), G_KEY_FILE_NONE, nullptr));
    g_auto(GStrv) keys = g_key_file_get_keys(file, "Desktop Entry", nullptr, nullptr);
    for (gchar** k = keys; k && *k; ++k)
        entry.Keys.emplace_back(*k);
    g_autofree gchar* name = g_key_file_get_string(file, "Desktop Entry", "Name", nullptr);
    entry.Name = name ? name : "";
    g_autofree gchar* exec = g_key_file_get_string(file, "Desktop Entry", "Exec", nullptr);
    std::string line = exec ? exec : "";
    for (size_t at = 0; (at = line.find("%%", at)) != std::string::npos; ++at)
        line.erase(at, 1);
    g_auto(GStrv) argv = nullptr;
    if (g_shell_parse_argv(line.c_str(), nullptr, &argv, nullptr))
        entry.Argv.assign(argv, argv + g_strv_length(argv));
    return entry;
}

TEST(DesktopEntryTiles, HostileTitlesAndAddressesStayExactAndSafe)
{
    doubles::TempFolder folder;
    auto apps = folder.Path() / "applications";
    gtkui::DesktopEntryTiles tiles(apps.string(), Binary, [] { return std::string(); });
    std::string unicode300;
    for (int i = 0; i < 300; ++i)
        unicode300 += "\xC3\xBC"; // ü: 255 of them are 510 bytes
    struct Case {
        std::string Title, Address, Name;
    } cases[] = {
        {"Plain", "https://ex.com/a?q=1&r=%20#top", "Plain"},
        {"\"q\" `b` $HOME \\ % ;", "https://ex.com/$(id)`id`\"x\"\\%25;rm", "\"q\" `b` $HOME \\ % ;"},
        {"Line\nExec=evil\r\tTab\x01", "https://ex.com/", "Line Exec=evil  Tab "},
        {"", "https://ex.com/empty-title", "https://ex.com/empty-title"},
        {unicode300, "https://ex.com/\xC3\xBC\xE2\x82\xAC", unicode300.substr(0, 510)},
        {"\xF0\x9F\x98\x80", "https://ex.com/" + std::string(30000, 'a'), "\xF0\x9F\x98\x80"},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name.substr(0, 30));
        std::string id = "TolvaneTile.95.13202" + std::to_string(n++);
        ASSERT_TRUE(tiles.RequestCreate({id, c.Title, c.Address}));
        auto path = apps / (id + ".desktop");
        EXPECT_EQ(std::system(("desktop-file-validate '" + path.string() + "' >/dev/null 2>&1").c_str()), 0);
        auto entry = ReadEntry(path);
        EXPECT_EQ(entry.Keys, (std::vector<std::string>{"Type", "Name", "Exec", "Terminal"}));
        EXPECT_EQ(entry.Name, c.Name);
        EXPECT_EQ(entry.Argv, (std::vector<std::string>{Binary, "--arguments", c.Address}));
    }
}

TEST(DesktopEntryTiles, NothingIsOverwrittenAndAFailureLeavesNoFile)
{
    doubles::TempFolder folder;
    auto apps = folder.Path() / "applications";
    gtkui::DesktopEntryTiles tiles(apps.string(), Binary, [] { return std::string(); });
    for (auto [suffix, address] :
         {std::pair{"", "https://a.example/"}, {"-2", "https://b.example/"}, {"-3", "https://c.example/"}}) {
        ASSERT_TRUE(tiles.RequestCreate({"TolvaneTile.115.132026", "Same minute", address}));
        EXPECT_EQ(ReadEntry(apps / ("TolvaneTile.115.132026" + std::string(suffix) + ".desktop")).Argv.back(), address);
    }

    const platform::SecondaryTile refused[] = {
        {"TolvaneTile.1.1", "Empty", ""},
        {"TolvaneTile.1.2", "Too long", "https://ex.com/" + std::string(gtkui::MaxTileArgumentsBytes, 'a')},
        {"../escape", "Path", "https://ex.com/"},
    };
    for (const auto& tile : refused)
        EXPECT_FALSE(tiles.RequestCreate(tile)) << tile.DisplayName;
    size_t files = std::distance(fs::directory_iterator(apps), fs::directory_iterator{});
    EXPECT_EQ(files, 3u) << "no partial or temporary file";

    // A folder that cannot be made; one without write permission (not for root).
    gtkui::DesktopEntryTiles nowhere("/dev/null/applications", Binary, [] { return std::string(); });
    EXPECT_FALSE(nowhere.RequestCreate({"TolvaneTile.2.1", "T", "https://ex.com/"}));
    if (geteuid() != 0) {
        auto locked = folder.Path() / "locked";
        fs::create_directories(locked);
        fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
        gtkui::DesktopEntryTiles readOnly(locked.string(), Binary, [] { return std::string(); });
        EXPECT_FALSE(readOnly.RequestCreate({"TolvaneTile.2.2", "T", "https://ex.com/"}));
        fs::permissions(locked, fs::perms::owner_all);
    }
}

} // namespace
