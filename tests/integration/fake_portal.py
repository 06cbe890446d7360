"""Stands in for the desktop portal on the test's private session bus:

    /usr/bin/python3 fake_portal.py MODE

answers accent-color as MODE says: readone, read-only (no ReadOne; Read's
answer in one more variant, as older portals give it), not-found, wrong-type,
out-of-range, silent (never answers). Once anything owns the portal's name the
web engine asks it for proxies, the network and power saving, and pages stay
unloaded while those go unanswered: the fake answers them too. Prints "ready"
once it owns the name."""
import sys

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

P = "org.freedesktop.portal."
XML = """<node>
<interface name="%(p)sSettings"><method name="ReadAll"><arg type="as"/><arg type="a{sa{sv}}" direction="out"/></method>
  <method name="Read"><arg type="s"/><arg type="s"/><arg type="v" direction="out"/></method>
  <method name="ReadOne"><arg type="s"/><arg type="s"/><arg type="v" direction="out"/></method>
  <property name="version" type="u" access="read"/></interface>
<interface name="%(p)sProxyResolver"><method name="Lookup"><arg type="s"/><arg type="as" direction="out"/></method>
  <property name="version" type="u" access="read"/></interface>
<interface name="%(p)sNetworkMonitor"><method name="GetStatus"><arg type="a{sv}" direction="out"/></method>
  <method name="GetAvailable"><arg type="b" direction="out"/></method>
  <method name="GetMetered"><arg type="b" direction="out"/></method>
  <method name="GetConnectivity"><arg type="u" direction="out"/></method>
  <method name="CanReach"><arg type="s"/><arg type="u"/><arg type="b" direction="out"/></method>
  <property name="version" type="u" access="read"/></interface>
<interface name="%(p)sPowerProfileMonitor"><property name="power-saver-enabled" type="b" access="read"/>
  <property name="version" type="u" access="read"/></interface>
</node>""" % {"p": P}
MODE = sys.argv[1]
ACCENT = {"wrong-type": GLib.Variant("s", "blue"), "out-of-range": GLib.Variant("(ddd)", (1.5, 0.0, 0.0))}.get(
    MODE, GLib.Variant("(ddd)", (0.0, 120 / 255, 215 / 255)))
FIXED = {"ReadAll": GLib.Variant("(a{sa{sv}})", ({},)), "Lookup": GLib.Variant("(as)", (["direct://"],)),
         "GetAvailable": GLib.Variant("(b)", (True,)), "CanReach": GLib.Variant("(b)", (True,)),
         "GetMetered": GLib.Variant("(b)", (False,)), "GetConnectivity": GLib.Variant("(u)", (4,)),
         "GetStatus": GLib.Variant("(a{sv})", ({"available": GLib.Variant("b", True),
                                                "metered": GLib.Variant("b", False),
                                                "connectivity": GLib.Variant("u", 4)},))}
held = []  # the silent mode's calls, never answered


def on_call(bus, sender, path, interface, method, params, call):
    if method in FIXED:
        return call.return_value(FIXED[method])
    if method == "ReadOne" and MODE == "read-only":
        return call.return_dbus_error("org.freedesktop.DBus.Error.UnknownMethod", "No such method")
    if params.unpack() != ("org.freedesktop.appearance", "accent-color") or MODE == "not-found":
        return call.return_dbus_error(P + "Error.NotFound", "Requested setting not found")
    if MODE == "silent":
        return held.append(call)
    call.return_value(GLib.Variant("(v)", (GLib.Variant("v", ACCENT) if method == "Read" else ACCENT,)))


def on_property(bus, sender, path, interface, name):
    return GLib.Variant("b", False) if name == "power-saver-enabled" else GLib.Variant("u", 2)


bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
for interface in Gio.DBusNodeInfo.new_for_xml(XML).interfaces:
    bus.register_object("/org/freedesktop/portal/desktop", interface, on_call, on_property, None)
loop = GLib.MainLoop()
Gio.bus_own_name_on_connection(bus, P + "Desktop", Gio.BusNameOwnerFlags.NONE,
                               lambda *_: print("ready", flush=True), lambda *_: loop.quit())
loop.run()
