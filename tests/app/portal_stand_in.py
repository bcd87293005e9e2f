#!/usr/bin/python3
"""A stand-in for the desktop portal's colour picking, for the tests, on their own session bus.

As the frontend (the default) it owns org.freedesktop.portal.Desktop, serves
org.freedesktop.portal.Screenshot (the property `version`, the method PickColor) at
/org/freedesktop/portal/desktop and answers a PickColor through the Response signal of its
Request object, as the real portal does. With --backend it is instead a portal backend behind the
real frontend (xdg-desktop-portal): it owns org.freedesktop.impl.portal.desktop.pigmora and serves
org.freedesktop.impl.portal.Screenshot, whose PickColor replies with the response code and
results, the frontend making the Request. The first argument says how it answers:

    colour R G B   code 0 with `color` (R, G, B) as doubles ("nan", "1.7" ...)
    cancel         code 1
    fail           code 2
    missing        code 0 without `color`
    text           code 0 with `color` as a string
    ints           code 0 with `color` as three integers
    version1       interface version 1, so no PickColor
    never          takes the call and never replies to it (a Request.Close is printed)
    refuse NAME    replies to PickColor with the error NAME and an English message

It prints "ready" once it owns the name, "PickColor" with the parent window and the handle token
for every call, and "Close" with the request's path when a request is closed.
"""
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

PATH = "/org/freedesktop/portal/desktop"
backend = "--backend" in sys.argv
args = [a for a in sys.argv[1:] if a != "--backend"]
mode = args[0]
if backend:
    NAME = "org.freedesktop.impl.portal.desktop.pigmora"
    SCREENSHOT = "org.freedesktop.impl.portal.Screenshot"
    REQUEST = "org.freedesktop.impl.portal.Request"
else:
    NAME = "org.freedesktop.portal.Desktop"
    SCREENSHOT = "org.freedesktop.portal.Screenshot"
    REQUEST = "org.freedesktop.portal.Request"


class Request(dbus.service.Object):
    @dbus.service.signal(REQUEST, signature="ua{sv}")
    def Response(self, code, results):
        pass

    @dbus.service.method(REQUEST, in_signature="", out_signature="")
    def Close(self):
        print("Close %s" % self._object_path, flush=True)
        self.remove_from_connection()


def answer():
    if mode == "colour":
        values = [float(v) for v in args[1:4]]
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
        if mode == "refuse":
            error(dbus.exceptions.DBusException("the stand-in refuses, in English",
                                                name=args[1]))
            return
        path = "%s/request/%s/%s" % (PATH, sender[1:].replace(".", "_"), token)
        request = Request(self.bus, path)
        self.requests.append(request)
        reply(dbus.ObjectPath(path))
        if mode == "never":
            return
        code, results = answer()
        GLib.timeout_add(20, lambda: request.Response(dbus.UInt32(code),
                                                      dbus.Dictionary(results, signature="sv"))
                         and False)


class Backend(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, PATH)
        self.bus = bus
        self.requests = []

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return dbus.UInt32(2)

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return {"version": dbus.UInt32(2)}

    # The frontend offers its Screenshot portal only beside an Access backend.
    @dbus.service.method("org.freedesktop.impl.portal.Access", in_signature="osssssa{sv}",
                         out_signature="ua{sv}")
    def AccessDialog(self, handle, app_id, parent_window, title, subtitle, body, options):
        return dbus.UInt32(0), dbus.Dictionary({}, signature="sv")

    @dbus.service.method(SCREENSHOT, in_signature="ossa{sv}", out_signature="ua{sv}",
                         async_callbacks=("reply", "error"))
    def PickColor(self, handle, app_id, parent_window, options, reply, error):
        print("PickColor [%s] %s" % (parent_window, handle.rsplit("/", 1)[-1]), flush=True)
        self.requests.append(Request(self.bus, handle))
        if mode == "never":
            return
        code, results = answer()
        GLib.timeout_add(20, lambda: reply(dbus.UInt32(code),
                                           dbus.Dictionary(results, signature="sv")) and False)


DBusGMainLoop(set_as_default=True)
session = dbus.SessionBus()
portal = Backend(session) if backend else Portal(session)
name = dbus.service.BusName(NAME, session, do_not_queue=True)
print("ready", flush=True)
GLib.MainLoop().run()
