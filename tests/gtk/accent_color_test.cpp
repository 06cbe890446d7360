// The accent reader: which portal values are a colour, and a stand-in portal
// (tests/integration/fake_portal.py) on the private bus, an absent one, no bus.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/gtk/accent_color_gtk.h"

namespace {

TEST(AccentColor, OnlyAColourInRangeInAnyWrappingCounts)
{
    const std::optional<ui::Color> accent = ui::Color::FromRgb(0, 120, 215), none;
    GVariant* colour = g_variant_ref_sink(g_variant_new("(ddd)", 0.0, 120 / 255.0, 215 / 255.0));
    for (auto [value, expected] : {std::pair(colour, accent), {g_variant_new_variant(colour), accent},
                                   {g_variant_new_string("blue"), none}, {g_variant_new("(ddd)", 1.5, 0.0, 0.0), none},
                                   {g_variant_new("(ddd)", 0.0, NAN, 0.0), none}}) {
        EXPECT_EQ(gtkui::AccentFromPortalValue(g_variant_ref_sink(value)), expected) << g_variant_print(value, TRUE);
        g_variant_unref(value);
    }
}

TEST(AccentColor, OnlyAPortalAnsweringInTimeGivesOne)
{
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    ASSERT_NE(bus, nullptr) << "run under tests/integration/with-display";
    const std::string script = std::string(TOLVANE_SOURCE_DIR) + "/tests/integration/fake_portal.py";
    // read-only: an older portal with Read alone; silent: given up after the timeout.
    for (auto [mode, expected] : {std::pair("readone", true), {"read-only", true}, {"silent", false}}) {
        // The system's interpreter: the one Debian's GObject bindings belong to.
        GSubprocess* portal = g_subprocess_new(G_SUBPROCESS_FLAGS_STDOUT_PIPE, nullptr, "/usr/bin/python3",
                                               script.c_str(), mode, nullptr);
        GDataInputStream* out = g_data_input_stream_new(g_subprocess_get_stdout_pipe(portal));
        g_free(g_data_input_stream_read_line(out, nullptr, nullptr, nullptr)); // "ready": it owns the name
        EXPECT_EQ(gtkui::ReadAccentColor(bus).has_value(), expected) << mode;
        g_subprocess_force_exit(portal);
        g_subprocess_wait(portal, nullptr, nullptr);
        g_object_unref(out), g_object_unref(portal);
        g_usleep(200000); // the bus drops the name
    }
    EXPECT_EQ(gtkui::ReadAccentColor(bus), std::nullopt); // nobody owns the name
    EXPECT_EQ(gtkui::ReadAccentColor(nullptr), std::nullopt);
    g_object_unref(bus);
}

} // namespace
