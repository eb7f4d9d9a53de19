"""kwin_wayland (KDE Plasma's compositor) as the scenario's compositor, from
a plain copy of its binary (the packaged one carries a file capability a
container cannot grant; the copy keeps the name, which KWin's own Qt platform
plugin checks), with its permission checks off so that the scenario may use
fake input. KWin 5 runs headless (--virtual) and shows its screen through its
screenshot interface; KWin 6 has that interface only with OpenGL, which a
headless machine lacks, so it runs as a window on a private Xvfb (its X11
windowed backend), whose screen is read instead. KWin 5 scales its window's
output by --scale; KWin 6 ignores it and takes the scale from its saved
output configuration (kwinoutputconfig.json in XDG_CONFIG_HOME), which is
written for it beforehand."""

import json
import os
import re
import shutil
import socket
import struct
import subprocess

from desktop_session import ScenarioFailure, poll, require_tools
from virtual_pointer import BUTTON_LEFT, DISPLAY_ID, REGISTRY_ID, VirtualPointer, _string
from widget_checks import Image, screenshot

KWIN_TOOLS = {"kwin_wayland": "kwin-wayland"}


def kwin_version(binary, runtime):
    """KWin's major version (5 on Debian 12, 6 on Debian 13), from the copy,
    which alone may run."""
    words = subprocess.run([str(binary), "--version"], capture_output=True, text=True, timeout=20,
                           env={"PATH": os.environ.get("PATH", "/usr/bin:/bin"),
                                "XDG_RUNTIME_DIR": str(runtime)}).stdout
    found = re.search(r"(\d+)\.\d+", words)
    if not found:
        raise ScenarioFailure(f"kwin_wayland --version said {words!r}")
    return int(found.group(1))


# The output of KWin's X11 windowed backend.
WINDOWED_OUTPUT = "X11-0"


def write_output_scale(config_home, output, scale):
    """KWin 6's saved output configuration, as KWin writes it: a list of
    outputs it has seen (matched by EDID, then by connector name) and of
    setups, each a set of those outputs with their places; a setup with
    every current output is applied at start. KWin adds what it leaves out
    here and keeps the file (copied into the artifacts)."""
    config = [
        {"name": "outputs", "data": [{"connectorName": output, "scale": scale}]},
        {"name": "setups", "data": [{"lidClosed": False, "outputs": [
            {"enabled": True, "outputIndex": 0, "priority": 0, "position": {"x": 0, "y": 0}}]}]},
    ]
    (config_home / "kwinoutputconfig.json").write_text(json.dumps(config, indent=2))


class KWinWayland:
    def __init__(self, session, width, height, scale=1):
        require_tools(KWIN_TOOLS)
        self.session = session
        self.scale = scale
        binary = session.root / "kwin_wayland"
        shutil.copyfile(shutil.which("kwin_wayland"), binary)  # a copy drops the capability
        binary.chmod(0o755)
        runtime = session.root / "kwin-runtime"
        runtime.mkdir(mode=0o700)
        self.version = kwin_version(binary, runtime)
        # --virtual ignores --scale: a scaled output is a window too.
        self.nested = scale != 1 or self.version >= 6
        if self.nested:
            # The Xvfb's screen is KWin's window, in pixels.
            session.start_xvfb(round(width * scale), round(height * scale))
            self.x_env = dict(session.env)
            backend = ["--x11-display", session.env["DISPLAY"], "--scale", str(scale)]
            if self.version >= 6:
                # --scale still sizes the window (the output's mode, in
                # pixels), not the output's scale.
                write_output_scale(session.config_home, WINDOWED_OUTPUT, scale)
        else:
            backend = ["--virtual"]
        session.start_session_bus()
        env = dict(session.env, XDG_RUNTIME_DIR=str(runtime), QT_QPA_PLATFORM="wayland",
                   KWIN_WAYLAND_NO_PERMISSION_CHECKS="1", KWIN_SCREENSHOT_NO_PERMISSION_CHECKS="1")
        # What a Plasma session sets makes KWin 6 look for Plasma's parts.
        for plasma in ("KDE_FULL_SESSION", "KDE_SESSION_VERSION"):
            env.pop(plasma, None)
        if not self.nested:
            env.pop("DISPLAY", None)
        self.process = session.start(
            "kwin", [str(binary), *backend, "--width", str(width), "--height", str(height), "--no-lockscreen",
                     "--no-global-shortcuts", "--no-kactivities", "--socket", "kelpo-kwin"], env=env)

        def started():
            if self.process.poll() is not None:
                raise ScenarioFailure("kwin_wayland exited: " + session.log_text("kwin")[-2000:])
            return (runtime / "kelpo-kwin").exists() and self._on_bus()

        poll(started, 20, interval=0.1, what="kwin_wayland's socket and D-Bus name")
        # What KWin made of its outputs, as it saved them.
        saved = session.config_home / "kwinoutputconfig.json"
        if saved.exists():
            shutil.copyfile(saved, session.artifacts / "kwinoutputconfig.json")
        session.env.pop("DISPLAY", None)
        session.env.update({"WAYLAND_DISPLAY": str(runtime / "kelpo-kwin"), "GDK_BACKEND": "wayland"})
        session.screen = (width, height)

    def _bus(self):
        from gi.repository import Gio
        return Gio.DBusConnection.new_for_address_sync(
            self.session.env["DBUS_SESSION_BUS_ADDRESS"],
            Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)

    def _on_bus(self):
        from gi.repository import Gio, GLib
        try:
            owner = self._bus().call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                          "NameHasOwner", GLib.Variant("(s)", ("org.kde.KWin",)),
                                          GLib.VariantType("(b)"), Gio.DBusCallFlags.NONE, 2000, None)
            return owner.unpack()[0]
        except Exception:  # the bus is still starting
            return False

    def show_desktop(self, showing):
        """KWin's "Show Desktop": every window but the desktop's own hides."""
        from gi.repository import Gio, GLib
        self._bus().call_sync("org.kde.KWin", "/KWin", "org.kde.KWin", "showDesktop",
                              GLib.Variant("(b)", (showing,)), None, Gio.DBusCallFlags.NONE, 5000, None)

    def region(self, x, y, width, height):
        """What KWin shows in a rectangle given in logical units, in pixels."""
        if self.nested:
            scale = self.scale
            saved, self.session.env = self.session.env, self.x_env
            try:
                screen = screenshot(self.session)
            finally:
                self.session.env = saved
            return screen.crop(round(x * scale), round(y * scale), round(width * scale), round(height * scale))
        return self._captured_area(x, y, width, height)

    def _captured_area(self, x, y, width, height):
        """Through org.kde.KWin.ScreenShot2 (raw premultiplied ARGB32, written
        into a pipe)."""
        from gi.repository import Gio, GLib
        read_end, write_end = os.pipe()
        fds = Gio.UnixFDList.new()
        fds.append(write_end)
        os.close(write_end)
        try:
            reply, _ = self._bus().call_with_unix_fd_list_sync(
                "org.kde.KWin", "/org/kde/KWin/ScreenShot2", "org.kde.KWin.ScreenShot2", "CaptureArea",
                GLib.Variant("(iiuua{sv}h)", (x, y, width, height, {}, 0)), GLib.VariantType("(a{sv})"),
                Gio.DBusCallFlags.NONE, 10000, fds, None)
        finally:
            for fd in fds.steal_fds():
                os.close(fd)
        meta = reply.unpack()[0]
        with os.fdopen(read_end, "rb") as pipe:
            data = pipe.read()
        stride, w, h = meta["stride"], meta["width"], meta["height"]
        rgba = bytearray(4 * w * h)
        for row in range(h):
            line = data[row * stride:row * stride + 4 * w]
            target = 4 * w * row
            rgba[target + 0:target + 4 * w:4] = line[2::4]
            rgba[target + 1:target + 4 * w:4] = line[1::4]
            rgba[target + 2:target + 4 * w:4] = line[0::4]
            rgba[target + 3:target + 4 * w:4] = b"\xff" * w
        return Image(w, h, bytes(rgba))


class FakeInput(VirtualPointer):
    """A pointer through KWin's org_kde_kwin_fake_input, spoken on the wire
    as the wlroots virtual pointer is."""

    def __init__(self, wayland_display):
        self._socket = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self._socket.connect(wayland_display)
        self._next_id = REGISTRY_ID + 1
        self._buffer = b""
        self._send(DISPLAY_ID, 1, struct.pack("<I", REGISTRY_ID))
        self._pointer = self._bind(self._globals(), "org_kde_kwin_fake_input", 4)
        reason = "kelpo scenario"
        self._send(self._pointer, 0, _string(reason) + _string(reason))  # authenticate
        self._roundtrip()

    def move_to(self, x, y, screen=None):
        fixed = lambda value: round(value * 256)  # noqa: E731  wl_fixed_t
        self._send(self._pointer, 9, struct.pack("<ii", fixed(x), fixed(y)))  # pointer_motion_absolute
        self._roundtrip()

    def click(self):
        for state in (1, 0):
            self._send(self._pointer, 2, struct.pack("<II", BUTTON_LEFT, state))  # button
        self._roundtrip()
