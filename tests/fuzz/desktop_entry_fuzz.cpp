// The desktop entry of a pinned page: the Exec line, read back the way a
// desktop reads it (key-file unescape, %% undone, shell-style split), gives
// exactly the binary, --arguments and the address for any valid UTF-8
// address; the Name never breaks its line.
#include <glib.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/gtk/secondary_tiles_gtk.h"

namespace {

constexpr const char* Binary = "/usr/bin/tolvane-browser";

struct KeyFileUnref {
    void operator()(GKeyFile* file) const { g_key_file_unref(file); }
};
using KeyFilePtr = std::unique_ptr<GKeyFile, KeyFileUnref>;

// The Exec value after a write and a read of the key file.
std::string ThroughKeyFile(const std::string& exec)
{
    KeyFilePtr written(g_key_file_new());
    g_key_file_set_string(written.get(), "Desktop Entry", "Exec", exec.c_str());
    gsize length = 0;
    char* data = g_key_file_to_data(written.get(), &length, nullptr);
    KeyFilePtr read(g_key_file_new());
    bool loaded = g_key_file_load_from_data(read.get(), data, length, G_KEY_FILE_NONE, nullptr);
    g_free(data);
    char* value = loaded ? g_key_file_get_string(read.get(), "Desktop Entry", "Exec", nullptr) : nullptr;
    if (!value)
        std::abort();
    std::string result = value;
    g_free(value);
    return result;
}

std::string UndoPercents(const std::string& exec)
{
    std::string plain;
    for (size_t i = 0; i < exec.size(); ++i) {
        if (exec[i] == '%') {
            // A lone % would be a field code the desktop expands.
            if (i + 1 >= exec.size() || exec[i + 1] != '%')
                std::abort();
            ++i;
        }
        plain += exec[i];
    }
    return plain;
}

std::vector<std::string> SplitLikeShell(const std::string& line)
{
    int count = 0;
    char** argv = nullptr;
    if (!g_shell_parse_argv(line.c_str(), &count, &argv, nullptr))
        std::abort();
    std::vector<std::string> arguments(argv, argv + count);
    g_strfreev(argv);
    return arguments;
}

void CheckName(const std::string& name)
{
    if (name.empty() || !g_utf8_validate_len(name.data(), name.size(), nullptr) ||
        g_utf8_strlen(name.data(), static_cast<gssize>(name.size())) > 255)
        std::abort();
    for (const char* p = name.c_str(); *p; p = g_utf8_next_char(p)) {
        gunichar c = g_utf8_get_char(p);
        if (c == '\n' || c == '\r' || c == 0x85 || c == 0x2028 || c == 0x2029)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    CheckName(gtkui::DesktopEntryName(text, text));
    if (text.size() > gtkui::MaxTileArgumentsBytes || !g_utf8_validate_len(text.data(), text.size(), nullptr))
        return 0;
    std::vector<std::string> expected{Binary, "--arguments", text};
    if (SplitLikeShell(UndoPercents(ThroughKeyFile(gtkui::DesktopExecLine(expected)))) != expected)
        std::abort();
    return 0;
}
