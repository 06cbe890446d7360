// Pinned pages as real desktop entries: the file validates, adds no key and
// runs exactly the browser with the address; a failure leaves no file.
#include <gtest/gtest.h>

#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <filesystem>

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

// Hostile titles and addresses are the fuzz target's; here the file itself.
TEST(DesktopEntryTiles, TheFileValidatesAndRunsExactlyTheBrowserWithTheAddress)
{
    doubles::TempFolder folder;
    auto apps = folder.Path() / "applications";
    gtkui::DesktopEntryTiles tiles(apps.string(), Binary, [] { return std::string(); });
    const std::string address = "https://ex.com/a?q=1&r=%20#top";
    for (const auto& [id, title, name] : {std::array<std::string, 3>{"TolvaneTile.95.1", "\"q\" $HOME %", "\"q\" $HOME %"},
                                          {"TolvaneTile.95.2", "", address}}) {
        ASSERT_TRUE(tiles.RequestCreate({id, title, address}));
        auto path = apps / (id + ".desktop");
        EXPECT_EQ(std::system(("desktop-file-validate '" + path.string() + "' >/dev/null 2>&1").c_str()), 0);
        auto entry = ReadEntry(path);
        EXPECT_EQ(entry.Keys, (std::vector<std::string>{"Type", "Name", "Exec", "Terminal"}));
        EXPECT_EQ(entry.Name, name);
        EXPECT_EQ(entry.Argv, (std::vector<std::string>{Binary, "--arguments", address}));
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
