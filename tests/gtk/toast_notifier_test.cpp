// Toasts: to a notification service on the session bus while one is there
// (a stand-in owns org.freedesktop.Notifications here), else in the window.
#include <gtk/gtk.h>

#include <chrono>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "downloads/toast_notifications.h"
#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/toast_notifier_gtk.h"

namespace {

using namespace std::chrono_literals;

const char* const NotificationsInterface = R"(<node>
  <interface name="org.freedesktop.Notifications">
    <method name="Notify">
      <arg type="s" direction="in"/><arg type="u" direction="in"/><arg type="s" direction="in"/>
      <arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="as" direction="in"/>
      <arg type="a{sv}" direction="in"/><arg type="i" direction="in"/><arg type="u" direction="out"/>
    </method>
    <method name="GetCapabilities"><arg type="as" direction="out"/></method>
    <method name="GetServerInformation">
      <arg type="s" direction="out"/><arg type="s" direction="out"/><arg type="s" direction="out"/>
      <arg type="s" direction="out"/>
    </method>
  </interface>
</node>)";

// Keeps the summary and body of every Notify call.
struct StandInService {
    std::vector<std::pair<std::string, std::string>> Received;
};

void OnMethod(GDBusConnection*, const char*, const char*, const char*, const char* method, GVariant* parameters,
              GDBusMethodInvocation* invocation, gpointer data)
{
    auto& service = *static_cast<StandInService*>(data);
    if (std::string(method) == "Notify") {
        const char *summary = nullptr, *body = nullptr;
        g_variant_get_child(parameters, 3, "&s", &summary);
        g_variant_get_child(parameters, 4, "&s", &body);
        service.Received.emplace_back(summary, body);
        g_dbus_method_invocation_return_value(invocation, g_variant_new("(u)", 1u));
    } else if (std::string(method) == "GetCapabilities") {
        const char* none[] = {nullptr};
        g_dbus_method_invocation_return_value(invocation, g_variant_new("(^as)", none));
    } else {
        g_dbus_method_invocation_return_value(invocation, g_variant_new("(ssss)", "stand-in", "tolvane", "1", "1.2"));
    }
}

template <typename Predicate>
bool Spin(Predicate done)
{
    auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!done() && std::chrono::steady_clock::now() < deadline)
        g_main_context_iteration(nullptr, FALSE);
    return done();
}

TEST(Toasts, GoToTheNotificationServiceOrElseIntoTheWindow)
{
    gtk_init();
    // The stand-in service, on a connection of its own.
    StandInService service;
    GError* error = nullptr;
    auto bus = gtkui::Adopt(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error));
    ASSERT_TRUE(bus) << (error ? error->message : "");
    GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(NotificationsInterface, nullptr);
    GDBusInterfaceVTable vtable{&OnMethod, nullptr, nullptr, {}};
    auto serviceBus = gtkui::Adopt(g_dbus_connection_new_for_address_sync(
        g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, nullptr),
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, &error));
    ASSERT_TRUE(serviceBus) << (error ? error->message : "");
    g_dbus_connection_register_object(serviceBus.Get(), "/org/freedesktop/Notifications", node->interfaces[0],
                                      &vtable, &service, nullptr, nullptr);
    guint owner = g_bus_own_name_on_connection(serviceBus.Get(), "org.freedesktop.Notifications",
                                               G_BUS_NAME_OWNER_FLAGS_NONE, nullptr, nullptr, nullptr, nullptr);

    auto application = gtkui::Adopt(g_application_new("org.tolvane.ToastTest", G_APPLICATION_NON_UNIQUE));
    ASSERT_TRUE(g_application_register(application.Get(), nullptr, nullptr));
    {
        gtkui::DesktopToastNotifier notifier(application.Get(), nullptr, {});
        ASSERT_TRUE(Spin([&] { return notifier.ServiceOwned(); }));
        ToastNotifications toasts(notifier);
        toasts.ShowToast("Download complete", "\"a <&> \xCE\xB1.txt\" has been downloaded.");
        ASSERT_TRUE(Spin([&] { return !service.Received.empty(); }));
        EXPECT_EQ(service.Received[0].first, "Download complete");
        EXPECT_EQ(service.Received[0].second, "\"a <&> \xCE\xB1.txt\" has been downloaded.");
        EXPECT_EQ(notifier.History().at(0).Path, "notification");
    }
    g_bus_unown_name(owner);
    g_dbus_node_info_unref(node);

    // No bus at all: the toast shows inside the window.
    GtkWidget* window = gtk_window_new();
    GtkWidget* overlay = gtk_overlay_new();
    gtk_window_set_child(GTK_WINDOW(window), overlay);
    {
        gtkui::DesktopToastNotifier notifier(nullptr, GTK_WINDOW(window), [overlay] { return GTK_OVERLAY(overlay); });
        ToastNotifications(notifier).ShowToast("Stopped", "\"b.bin\" is paused.");
        EXPECT_EQ(notifier.History().at(0).Path, "window");
        GtkWidget* notice = gtk_widget_get_last_child(overlay);
        ASSERT_TRUE(notice && GTK_IS_BOX(notice));
        EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(gtk_widget_get_first_child(notice))), "Stopped");
        EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(gtk_widget_get_last_child(notice))), "\"b.bin\" is paused.");
    }
    // The notifier took its notice with it.
    EXPECT_FALSE(GTK_IS_BOX(gtk_widget_get_last_child(overlay)));
    gtk_window_destroy(GTK_WINDOW(window));
}

} // namespace
