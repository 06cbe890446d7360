// Toasts: to a notification service on the session bus while one is there
// (a stand-in owns org.freedesktop.Notifications here), else in the window.
#include <cstdlib>

#include "downloads/toast_notifications.h"
#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/toast_notifier_gtk.h"
#include "tests/gtk/web_view_fixture.h"

namespace {

const std::string Body = "\"a <&> \xCE\xB1.txt\" has been downloaded.";

// A stand-in notification service on the session bus; true when it received
// the toast's title and body, sent by an application on the bus.
bool ToastReachesStandInService()
{
    GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(
        "<node><interface name='org.freedesktop.Notifications'><method name='Notify'><arg type='s'/><arg type='u'/>"
        "<arg type='s'/><arg type='s'/><arg type='s'/><arg type='as'/><arg type='a{sv}'/><arg type='i'/>"
        "<arg type='u' direction='out'/></method></interface></node>", nullptr);
    // The summary and body of every Notify call, one after the other.
    std::string received;
    GDBusInterfaceVTable vtable{[](GDBusConnection*, const char*, const char*, const char*, const char*,
                                   GVariant* parameters, GDBusMethodInvocation* invocation, gpointer data) {
                                    const char *summary = nullptr, *body = nullptr;
                                    g_variant_get(parameters, "(&su&s&s&sas@a{sv}i)", nullptr, nullptr, nullptr,
                                                  &summary, &body, nullptr, nullptr, nullptr);
                                    *static_cast<std::string*>(data) += std::string(summary) + "|" + body;
                                    g_dbus_method_invocation_return_value(invocation, g_variant_new("(u)", 1u));
                                },
                                nullptr, nullptr, {}};
    // The application's own connection owns the service's name: its calls come back to it through the bus.
    auto application = gtkui::Adopt(g_application_new("org.tolvane.ToastTest", G_APPLICATION_NON_UNIQUE));
    g_application_register(application.Get(), nullptr, nullptr);
    GDBusConnection* serviceBus = g_application_get_dbus_connection(application.Get());
    if (!serviceBus)
        return false;
    g_dbus_connection_register_object(serviceBus, "/org/freedesktop/Notifications", node->interfaces[0],
                                      &vtable, &received, nullptr, nullptr);
    g_bus_own_name_on_connection(serviceBus, "org.freedesktop.Notifications", G_BUS_NAME_OWNER_FLAGS_NONE,
                                 nullptr, nullptr, nullptr, nullptr);
    gtkui::DesktopToastNotifier notifier(application.Get(), nullptr, {});
    if (!gtktests::WaitUntil([&] { return notifier.ServiceOwned(); }))
        return false;
    ToastNotifications(notifier).ShowToast("Download complete", Body);
    gtktests::WaitUntil([&] { return !received.empty(); });
    return received == "Download complete|" + Body && notifier.History().at(0).Path == "notification";
}

TEST(Toasts, GoToTheNotificationServiceOrElseIntoTheWindow)
{
    // A process of its own: the application it puts on the bus stays out of the other tests' way.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(ToastReachesStandInService() ? 0 : 1), ::testing::ExitedWithCode(0), "");

    gtk_init();
    // No bus at all: the toast shows inside the window, and goes with the notifier.
    GtkWidget* window = gtk_window_new();
    GtkWidget* overlay = gtk_overlay_new();
    gtk_window_set_child(GTK_WINDOW(window), overlay);
    {
        gtkui::DesktopToastNotifier notifier(nullptr, GTK_WINDOW(window), [overlay] { return GTK_OVERLAY(overlay); });
        ToastNotifications(notifier).ShowToast("Stopped", Body);
        EXPECT_EQ(notifier.History().at(0).Path, "window");
        GtkWidget* notice = gtk_widget_get_last_child(overlay);
        ASSERT_TRUE(notice && GTK_IS_BOX(notice));
        EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(gtk_widget_get_first_child(notice))), "Stopped");
        EXPECT_EQ(gtk_label_get_text(GTK_LABEL(gtk_widget_get_last_child(notice))), Body);
    }
    EXPECT_FALSE(GTK_IS_BOX(gtk_widget_get_last_child(overlay)));
    gtk_window_destroy(GTK_WINDOW(window));
}

} // namespace
