"""Stands in for the desktop portal on a private bus: `fake_portal.py readone|read-only|silent` answers the accent
by ReadOne, by Read alone, or never, and the engine's own portal calls too; prints "ready" once it owns the name."""
import sys

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

MODE, V = sys.argv[1], GLib.Variant
ACCENT = V("(ddd)", (0.0, 120 / 255, 215 / 255))
PROPERTIES = {"version": V("u", 2), "power-saver-enabled": V("b", False)}
NETWORK = {"available": V("b", True), "metered": V("b", False), "connectivity": V("u", 4)}
# Every method the engine or the reader calls, by name: its answer's type and value.
ANSWERS = {"ReadAll": ("(a{sa{sv}})", ({},)), "Lookup": ("(as)", (["direct://"],)), "GetAvailable": ("(b)", (True,)),
           "CanReach": ("(b)", (True,)), "GetMetered": ("(b)", (False,)), "GetConnectivity": ("(u)", (4,)),
           "GetStatus": ("(a{sv})", (NETWORK,)), "GetAll": ("(a{sv})", (PROPERTIES,)),
           "ReadOne": ("(v)", (ACCENT,)), "Read": ("(v)", (V("v", ACCENT),))}


def on_message(bus, message, incoming, _):
    if not incoming or message.get_message_type() != Gio.DBusMessageType.METHOD_CALL:
        return message
    method, args = message.get_member(), message.get_body()
    reading = method in ("Read", "ReadOne")
    if method == "ReadOne" and MODE == "read-only" or method not in ANSWERS and method != "Get":
        reply = message.new_method_error_literal("org.freedesktop.DBus.Error.UnknownMethod", method)
    elif reading and args.unpack() != ("org.freedesktop.appearance", "accent-color"):
        reply = message.new_method_error_literal("org.freedesktop.portal.Error.NotFound", "not found")
    elif reading and MODE == "silent":
        return None  # never answered
    else:
        reply = message.new_method_reply()
        reply.set_body(V("(v)", (PROPERTIES[args.unpack()[1]],)) if method == "Get" else V(*ANSWERS[method]))
    bus.send_message(reply, Gio.DBusSendMessageFlags.NONE)
    return None


bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
bus.add_filter(on_message, None)
loop = GLib.MainLoop()
Gio.bus_own_name_on_connection(bus, "org.freedesktop.portal.Desktop", Gio.BusNameOwnerFlags.NONE,
                               lambda *_: print("ready", flush=True), lambda *_: loop.quit())
loop.run()
