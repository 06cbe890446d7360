"""A stand-in for the desktop portal on the test's private session bus.

    python3 fake_portal.py MODE [R G B]

Owns org.freedesktop.portal.Desktop and answers the settings interface's
accent-color as MODE says: "readone" (ReadOne and Read), "read-only" (only
Read, its answer wrapped in one more variant, as older portals do),
"not-found", "wrong-type", "out-of-range", "silent" (never answers). Once
anything owns the portal's name the web engine asks it for proxies, the
network state and power saving, and pages stay unloaded while those go
unanswered: the fake answers them too. Prints "ready" when the name is owned.
"""
import sys

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

XML = """
<node>
  <interface name="org.freedesktop.portal.Settings">
    <method name="ReadAll"><arg type="as" direction="in"/><arg type="a{sa{sv}}" direction="out"/></method>
    <method name="Read"><arg type="s" direction="in"/><arg type="s" direction="in"/>
      <arg type="v" direction="out"/></method>
    <method name="ReadOne"><arg type="s" direction="in"/><arg type="s" direction="in"/>
      <arg type="v" direction="out"/></method>
    <signal name="SettingChanged"><arg type="s"/><arg type="s"/><arg type="v"/></signal>
    <property name="version" type="u" access="read"/>
  </interface>
  <interface name="org.freedesktop.portal.ProxyResolver">
    <method name="Lookup"><arg type="s" direction="in"/><arg type="as" direction="out"/></method>
    <property name="version" type="u" access="read"/>
  </interface>
  <interface name="org.freedesktop.portal.NetworkMonitor">
    <method name="GetAvailable"><arg type="b" direction="out"/></method>
    <method name="GetMetered"><arg type="b" direction="out"/></method>
    <method name="GetConnectivity"><arg type="u" direction="out"/></method>
    <method name="GetStatus"><arg type="a{sv}" direction="out"/></method>
    <method name="CanReach"><arg type="s" direction="in"/><arg type="u" direction="in"/>
      <arg type="b" direction="out"/></method>
    <signal name="changed"/>
    <property name="version" type="u" access="read"/>
  </interface>
  <interface name="org.freedesktop.portal.PowerProfileMonitor">
    <property name="power-saver-enabled" type="b" access="read"/>
    <property name="version" type="u" access="read"/>
  </interface>
</node>
"""

MODE = sys.argv[1] if len(sys.argv) > 1 else "readone"
RGB = tuple(float(v) for v in sys.argv[2:5]) if len(sys.argv) >= 5 else (0.0, 120 / 255, 215 / 255)
held = []  # unanswered calls of the silent mode stay alive here


def accent_value():
    if MODE == "wrong-type":
        return GLib.Variant("s", "blue")
    if MODE == "out-of-range":
        return GLib.Variant("(ddd)", (1.5, 0.0, 0.0))
    return GLib.Variant("(ddd)", RGB)


def on_call(connection, sender, path, interface, method, params, invocation):
    if interface == "org.freedesktop.portal.Settings" and method in ("Read", "ReadOne"):
        if method == "ReadOne" and MODE == "read-only":
            invocation.return_dbus_error("org.freedesktop.DBus.Error.UnknownMethod", "No such method")
            return
        namespace, key = params.unpack()
        if (namespace, key) != ("org.freedesktop.appearance", "accent-color") or MODE == "not-found":
            invocation.return_dbus_error("org.freedesktop.portal.Error.NotFound", "Requested setting not found")
            return
        if MODE == "silent":
            held.append(invocation)
            return
        value = accent_value()
        if method == "Read":
            value = GLib.Variant("v", value)
        invocation.return_value(GLib.Variant("(v)", (value,)))
    elif method == "ReadAll":
        invocation.return_value(GLib.Variant("(a{sa{sv}})", ({},)))
    elif method == "Lookup":
        invocation.return_value(GLib.Variant("(as)", (["direct://"],)))
    elif method in ("GetAvailable", "CanReach"):
        invocation.return_value(GLib.Variant("(b)", (True,)))
    elif method == "GetMetered":
        invocation.return_value(GLib.Variant("(b)", (False,)))
    elif method == "GetConnectivity":
        invocation.return_value(GLib.Variant("(u)", (4,)))
    elif method == "GetStatus":
        invocation.return_value(GLib.Variant("(a{sv})", ({
            "available": GLib.Variant("b", True), "metered": GLib.Variant("b", False),
            "connectivity": GLib.Variant("u", 4)},)))
    else:
        invocation.return_dbus_error("org.freedesktop.DBus.Error.UnknownMethod", method)


def on_get_property(connection, sender, path, interface, name):
    if name == "power-saver-enabled":
        return GLib.Variant("b", False)
    return GLib.Variant("u", 2 if interface == "org.freedesktop.portal.Settings" else 3)


def main():
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    for interface in Gio.DBusNodeInfo.new_for_xml(XML).interfaces:
        bus.register_object("/org/freedesktop/portal/desktop", interface, on_call, on_get_property, None)
    loop = GLib.MainLoop()

    def acquired(*_):
        print("ready", flush=True)

    Gio.bus_own_name_on_connection(bus, "org.freedesktop.portal.Desktop", Gio.BusNameOwnerFlags.NONE,
                                   acquired, lambda *_: loop.quit())
    loop.run()


if __name__ == "__main__":
    main()
