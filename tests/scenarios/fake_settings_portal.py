"""A Settings portal for the desktop tests, on their private session bus.

It owns org.freedesktop.portal.Desktop and answers like Debian 12's
xdg-desktop-portal 1.16: Read (value wrapped twice) and ReadAll, no ReadOne.
The only setting is org.freedesktop.appearance color-scheme. A line
"color-scheme N" on stdin changes it and emits SettingChanged; "burst N S"
emits N signals alternating, the last announcing S. The portal prints
"ready" once it owns its name and "changed S" after each command.
"""

import sys

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

INTERFACE_XML = """
<node>
  <interface name="org.freedesktop.portal.Settings">
    <method name="ReadAll">
      <arg type="as" name="namespaces" direction="in"/>
      <arg type="a{sa{sv}}" name="value" direction="out"/>
    </method>
    <method name="Read">
      <arg type="s" name="namespace" direction="in"/>
      <arg type="s" name="key" direction="in"/>
      <arg type="v" name="value" direction="out"/>
    </method>
    <signal name="SettingChanged">
      <arg type="s" name="namespace"/>
      <arg type="s" name="key"/>
      <arg type="v" name="value"/>
    </signal>
    <property name="version" type="u" access="read"/>
  </interface>
</node>
"""

NAMESPACE = "org.freedesktop.appearance"
KEY = "color-scheme"
OBJECT_PATH = "/org/freedesktop/portal/desktop"
INTERFACE = "org.freedesktop.portal.Settings"


class Portal:
    def __init__(self, scheme):
        self.scheme = scheme
        self.connection = None

    def on_call(self, connection, sender, path, interface, method, parameters, invocation):
        if method == "Read":
            namespace, key = parameters.unpack()
            if (namespace, key) != (NAMESPACE, KEY):
                invocation.return_dbus_error(
                    "org.freedesktop.portal.Error.NotFound", "Requested setting not found"
                )
                return
            # The out argument is a variant holding the value's variant.
            inner = GLib.Variant("v", GLib.Variant("u", self.scheme))
            invocation.return_value(GLib.Variant.new_tuple(GLib.Variant("v", inner)))
        elif method == "ReadAll":
            (namespaces,) = parameters.unpack()
            answer = {}
            if not namespaces or NAMESPACE in namespaces or "" in namespaces:
                answer[NAMESPACE] = {KEY: GLib.Variant("u", self.scheme)}
            invocation.return_value(GLib.Variant("(a{sa{sv}})", (answer,)))
        else:
            invocation.return_dbus_error("org.freedesktop.DBus.Error.UnknownMethod", method)

    def on_get_property(self, connection, sender, path, interface, name):
        return GLib.Variant("u", 1) if name == "version" else None

    def emit(self, scheme):
        self.scheme = scheme
        self.connection.emit_signal(
            None,
            OBJECT_PATH,
            INTERFACE,
            "SettingChanged",
            GLib.Variant("(ssv)", (NAMESPACE, KEY, GLib.Variant("u", scheme))),
        )

    def change(self, scheme):
        self.emit(scheme)
        self.connection.flush_sync(None)
        print(f"changed {scheme}", flush=True)

    def burst(self, count, last):
        """count signals alternating between dark (1) and light (2), the
        last one announcing last: a desktop flipping faster than frames."""
        other = 2 if last == 1 else 1
        for index in range(count):
            self.emit(last if (count - 1 - index) % 2 == 0 else other)
        self.connection.flush_sync(None)
        print(f"changed {last}", flush=True)


def main():
    scheme = int(sys.argv[1]) if len(sys.argv) > 1 else 0
    portal = Portal(scheme)
    loop = GLib.MainLoop()
    info = Gio.DBusNodeInfo.new_for_xml(INTERFACE_XML).interfaces[0]

    def on_bus(connection, name):
        portal.connection = connection
        connection.register_object(OBJECT_PATH, info, portal.on_call, portal.on_get_property, None)

    def on_name(connection, name):
        print("ready", flush=True)

    def on_lost(connection, name):
        print("portal: could not own " + name, file=sys.stderr, flush=True)
        loop.quit()

    Gio.bus_own_name(
        Gio.BusType.SESSION,
        "org.freedesktop.portal.Desktop",
        Gio.BusNameOwnerFlags.DO_NOT_QUEUE,
        on_bus,
        on_name,
        on_lost,
    )

    def on_line(channel, condition):
        line = channel.readline()
        if not line:
            loop.quit()
            return False
        words = line.split()
        if len(words) == 2 and words[0] == KEY and words[1].isdigit():
            portal.change(int(words[1]))
        elif len(words) == 3 and words[0] == "burst" and words[1].isdigit() and words[2].isdigit():
            portal.burst(int(words[1]), int(words[2]))
        else:
            print("portal: unknown command " + line.strip(), file=sys.stderr, flush=True)
        return True

    stdin = GLib.IOChannel.unix_new(sys.stdin.fileno())
    GLib.io_add_watch(stdin, GLib.PRIORITY_DEFAULT, GLib.IOCondition.IN | GLib.IOCondition.HUP, on_line)
    loop.run()


if __name__ == "__main__":
    main()
