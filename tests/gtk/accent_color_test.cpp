// The accent reader against a stand-in portal on the test's private bus
// (tests/integration/fake_portal.py), in each way a portal may answer.
#include <gio/gio.h>

#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/gtk/accent_color_gtk.h"

namespace {

constexpr const char* PortalName = "org.freedesktop.portal.Desktop";

bool NameOwned(GDBusConnection* bus)
{
    GVariant* reply = g_dbus_connection_call_sync(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                  "org.freedesktop.DBus", "NameHasOwner",
                                                  g_variant_new("(s)", PortalName), G_VARIANT_TYPE("(b)"),
                                                  G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
    gboolean owned = FALSE;
    if (reply) {
        g_variant_get(reply, "(b)", &owned);
        g_variant_unref(reply);
    }
    return owned;
}

// The fake for one case: started, ready once it owns the name, gone (and
// the name free again) at the end of the case.
class FakePortal {
public:
    FakePortal(GDBusConnection* bus, const char* mode) : m_bus(bus)
    {
        // The system's interpreter: the one Debian's GObject bindings belong to.
        const std::string script = std::string(TOLVANE_SOURCE_DIR) + "/tests/integration/fake_portal.py";
        m_process = g_subprocess_new(G_SUBPROCESS_FLAGS_STDOUT_PIPE, nullptr, "/usr/bin/python3", script.c_str(),
                                     mode, nullptr);
        if (!m_process)
            return;
        GDataInputStream* out = g_data_input_stream_new(g_subprocess_get_stdout_pipe(m_process));
        char* line = g_data_input_stream_read_line(out, nullptr, nullptr, nullptr);
        m_ready = line && std::string(line) == "ready";
        g_free(line);
        g_object_unref(out);
    }
    ~FakePortal()
    {
        if (!m_process)
            return;
        g_subprocess_force_exit(m_process);
        g_subprocess_wait(m_process, nullptr, nullptr);
        g_object_unref(m_process);
        while (NameOwned(m_bus))
            g_usleep(10000);
    }
    bool Ready() const { return m_ready; }

private:
    GDBusConnection* m_bus;
    GSubprocess* m_process = nullptr;
    bool m_ready = false;
};

TEST(AccentColor, OnlyAPortalAnsweringAColourInRangeGivesOne)
{
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    ASSERT_NE(bus, nullptr) << "run under tests/integration/with-display";
    const std::optional<ui::Color> accent = ui::Color::FromRgb(0, 120, 215);
    struct Case {
        const char* mode;
        std::optional<ui::Color> expected;
    } cases[] = {
        {"readone", accent},
        {"read-only", accent}, // Read's answer in one more variant
        {"not-found", std::nullopt},
        {"wrong-type", std::nullopt},
        {"out-of-range", std::nullopt},
        {"silent", std::nullopt}, // given up after the timeout
    };
    for (const auto& c : cases) {
        FakePortal portal(bus, c.mode);
        ASSERT_TRUE(portal.Ready()) << c.mode;
        EXPECT_EQ(gtkui::ReadAccentColor(bus), c.expected) << c.mode;
    }
    // Nobody owns the name, and no bus at all.
    EXPECT_EQ(gtkui::ReadAccentColor(bus), std::nullopt);
    EXPECT_EQ(gtkui::ReadAccentColor(nullptr), std::nullopt);
    g_object_unref(bus);
}

} // namespace
