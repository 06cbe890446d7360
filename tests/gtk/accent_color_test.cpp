// The accent reader against a stand-in portal on the test's private bus
// (tests/integration/fake_portal.py), in each way a portal may answer.
#include <gtest/gtest.h>

#include "platform/gtk/accent_color_gtk.h"

namespace {

bool PortalOwned(GDBusConnection* bus)
{
    GVariant* reply = g_dbus_connection_call_sync(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
        g_variant_new("(s)", "org.freedesktop.portal.Desktop"), G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NONE, -1,
        nullptr, nullptr);
    gboolean owned = FALSE;
    if (reply)
        g_variant_get(reply, "(b)", &owned), g_variant_unref(reply);
    return owned;
}

TEST(AccentColor, OnlyAPortalAnsweringAColourInRangeGivesOne)
{
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    ASSERT_NE(bus, nullptr) << "run under tests/integration/with-display";
    const std::string script = std::string(TOLVANE_SOURCE_DIR) + "/tests/integration/fake_portal.py";
    const std::optional<ui::Color> accent = ui::Color::FromRgb(0, 120, 215), none;
    // read-only: Read alone, its answer in one more variant; silent: given up after the timeout.
    for (auto [mode, expected] : {std::pair("readone", accent), {"read-only", accent}, {"not-found", none},
                                  {"wrong-type", none}, {"out-of-range", none}, {"silent", none}}) {
        // The system's interpreter: the one Debian's GObject bindings belong to.
        GSubprocess* portal = g_subprocess_new(G_SUBPROCESS_FLAGS_STDOUT_PIPE, nullptr, "/usr/bin/python3",
                                               script.c_str(), mode, nullptr);
        ASSERT_NE(portal, nullptr);
        GDataInputStream* out = g_data_input_stream_new(g_subprocess_get_stdout_pipe(portal));
        char* ready = g_data_input_stream_read_line(out, nullptr, nullptr, nullptr);
        EXPECT_STREQ(ready, "ready") << mode;
        EXPECT_EQ(gtkui::ReadAccentColor(bus), expected) << mode;
        g_free(ready), g_object_unref(out);
        g_subprocess_force_exit(portal);
        g_subprocess_wait(portal, nullptr, nullptr);
        g_object_unref(portal);
        while (PortalOwned(bus))
            g_usleep(10000);
    }
    // Nobody owns the name, and no bus at all.
    EXPECT_EQ(gtkui::ReadAccentColor(bus), none);
    EXPECT_EQ(gtkui::ReadAccentColor(nullptr), none);
    g_object_unref(bus);
}

} // namespace
