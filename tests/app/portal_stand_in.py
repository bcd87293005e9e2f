#!/usr/bin/python3
"""A stand-in for the desktop portal's colour picking, for the tests, on their own session bus.

It owns org.freedesktop.portal.Desktop, serves org.freedesktop.portal.Screenshot (the property
`version`, the method PickColor) at /org/freedesktop/portal/desktop and answers a PickColor
through the Response signal of its Request object, as the real portal does. The first argument
says how it answers:

    colour R G B   code 0 with `color` (R, G, B) as doubles ("nan", "1.7" ...)
    cancel         code 1
    fail           code 2
    missing        code 0 without `color`
    text           code 0 with `color` as a string
    ints           code 0 with `color` as three integers
    version1       interface version 1, so no PickColor
    never          takes the call and never replies to it
    refuse NAME    replies to PickColor with the error NAME and an English message

It prints "ready" once it owns the name, and "PickColor" with the parent window and the
handle token for every call.
"""
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

DESKTOP = "org.freedesktop.portal.Desktop"
PATH = "/org/freedesktop/portal/desktop"
SCREENSHOT = "org.freedesktop.portal.Screenshot"
REQUEST = "org.freedesktop.portal.Request"

mode = sys.argv[1]


class Request(dbus.service.Object):
    @dbus.service.signal(REQUEST, signature="ua{sv}")
    def Response(self, code, results):
        pass


def answer():
    if mode == "colour":
        values = [float(v) for v in sys.argv[2:5]]
        return 0, {"color": dbus.Struct(values, signature="ddd")}
    if mode == "cancel":
        return 1, {}
    if mode == "fail":
        return 2, {}
    if mode == "missing":
        return 0, {"uri": "file:///tmp/x.png"}
    if mode == "text":
        return 0, {"color": dbus.String("red")}
    if mode == "ints":
        return 0, {"color": dbus.Struct((255, 0, 0), signature="iii")}
    raise SystemExit("unknown mode " + mode)


class Portal(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, PATH)
        self.bus = bus
        self.requests = []

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        if interface != SCREENSHOT or name != "version":
            raise dbus.exceptions.DBusException(
                "no such property", name="org.freedesktop.DBus.Error.UnknownProperty")
        return dbus.UInt32(1 if mode == "version1" else 2)

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return {"version": self.Get(interface, "version")}

    @dbus.service.method(SCREENSHOT, in_signature="sa{sv}", out_signature="o",
                         sender_keyword="sender", async_callbacks=("reply", "error"))
    def PickColor(self, parent_window, options, sender, reply, error):
        token = str(options.get("handle_token", "t"))
        print("PickColor [%s] %s" % (parent_window, token), flush=True)
        if mode == "version1":
            error(dbus.exceptions.DBusException(
                "no PickColor", name="org.freedesktop.DBus.Error.UnknownMethod"))
            return
        if mode == "never":
            return
        if mode == "refuse":
            error(dbus.exceptions.DBusException("the stand-in refuses, in English",
                                                name=sys.argv[2]))
            return
        path = "%s/request/%s/%s" % (PATH, sender[1:].replace(".", "_"), token)
        request = Request(self.bus, path)
        self.requests.append(request)
        reply(dbus.ObjectPath(path))
        code, results = answer()
        GLib.timeout_add(20, lambda: request.Response(dbus.UInt32(code),
                                                      dbus.Dictionary(results, signature="sv"))
                         and False)


DBusGMainLoop(set_as_default=True)
session = dbus.SessionBus()
portal = Portal(session)
name = dbus.service.BusName(DESKTOP, session, do_not_queue=True)
print("ready", flush=True)
GLib.MainLoop().run()
