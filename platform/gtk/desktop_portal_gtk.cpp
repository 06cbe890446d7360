#include "platform/gtk/desktop_portal_gtk.h"

#include <cstring>

namespace gtkui {

namespace {

constexpr const char* PortalName = "org.freedesktop.portal.Desktop";
// A name no service provides: the bus refuses to start it at once.
constexpr const char* NoSuchService = "org.tolvane.Browser.NoPortal";

bool PortalAnswers(GDBusConnection* bus, int timeoutMs)
{
    // Every D-Bus peer answers Ping; asking also starts the portal when the
    // bus can, as the toolkit would.
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_sync(bus, PortalName, "/org/freedesktop/portal/desktop",
                                                  "org.freedesktop.DBus.Peer", "Ping", nullptr, nullptr,
                                                  G_DBUS_CALL_FLAGS_NONE, timeoutMs, nullptr, &error);
    if (reply) {
        g_variant_unref(reply);
        return true;
    }
    // A bus with no portal at all answers at once: nothing will wait on it.
    bool silent = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_TIMED_OUT);
    g_error_free(error);
    return !silent;
}

bool StartsThePortal(GDBusMessage* message)
{
    if (g_dbus_message_get_message_type(message) != G_DBUS_MESSAGE_TYPE_METHOD_CALL)
        return false;
    const char* member = g_dbus_message_get_member(message);
    const char* destination = g_dbus_message_get_destination(message);
    GVariant* body = g_dbus_message_get_body(message);
    if (!member || !destination || !body || std::strcmp(member, "StartServiceByName") != 0 ||
        std::strcmp(destination, "org.freedesktop.DBus") != 0 ||
        !g_variant_is_of_type(body, G_VARIANT_TYPE("(su)")))
        return false;
    const char* name = nullptr;
    g_variant_get_child(body, 0, "&s", &name);
    return std::strcmp(name, PortalName) == 0;
}

// Runs on GDBus's worker thread for every message; reads nothing but the message.
GDBusMessage* RefuseToStartThePortal(GDBusConnection*, GDBusMessage* message, gboolean incoming, gpointer)
{
    if (incoming || !StartsThePortal(message))
        return message;
    // The bus answers "no such service" at once instead of waiting 25 s.
    GDBusMessage* copy = g_dbus_message_copy(message, nullptr);
    g_object_unref(message);
    if (!copy)
        return nullptr;
    g_dbus_message_set_body(copy, g_variant_new("(su)", NoSuchService, 0u));
    return copy;
}

} // namespace

SilentPortalGuard::SilentPortalGuard(int timeoutMs)
{
    m_bus.Reset(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr));
    if (!m_bus || PortalAnswers(m_bus.Get(), timeoutMs))
        return;
    // The toolkit has no switch to keep it off the portal (GTK_USE_PORTAL
    // and GDK_DEBUG only turn portals on): its start-up asks the bus to start
    // the portal, and this connection is the one it will use.
    m_filter = g_dbus_connection_add_filter(m_bus.Get(), &RefuseToStartThePortal, nullptr, nullptr);
    // The engine's sandboxed page processes always turn to the portal, and
    // reach the session bus only through this address: without it they go on
    // at once. Our own connection is open already and stays; only GDBus's
    // worker thread runs yet, and it reads no environment.
    g_unsetenv("DBUS_SESSION_BUS_ADDRESS");
    g_printerr("tolvane-browser: the desktop portal does not answer; going on without it\n");
}

SilentPortalGuard::~SilentPortalGuard()
{
    if (m_filter)
        g_dbus_connection_remove_filter(m_bus.Get(), m_filter);
}

} // namespace gtkui
