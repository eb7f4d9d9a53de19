"""gnome-shell as the scenario's compositor: headless, on Wayland, with
XWayland, as the unprivileged user 65534 (it is no session's shell, and CI
runs as root), on the scenario's private bus, which also stands in for the
system bus it asks logind on. A test extension turns on the shell's unsafe
mode, so the scenario can ask the shell itself (org.gnome.Shell.Eval) where
windows are, how they stack, and have it click."""

import json
import os
import time
from pathlib import Path

from desktop_session import NOBODY, ScenarioFailure, poll, require_tools

GNOME_TOOLS = {"gnome-shell": "gnome-shell", "Xwayland": "xwayland", "xlogo": "x11-apps", "convert": "imagemagick"}
EXTENSION = "kelpo-test@kelpo.app"


def _owned_by_nobody(path, mode=0o700):
    path.mkdir(mode=mode, parents=True, exist_ok=True)
    for directory in [path, *path.rglob("*")]:
        os.chown(directory, NOBODY, NOBODY)


def shell_version():
    """gnome-shell's major version: 43 on Debian 12, 48 on Debian 13."""
    import re
    import subprocess

    words = subprocess.run(["gnome-shell", "--version"], capture_output=True, text=True, timeout=20).stdout
    found = re.search(r"(\d+)\.", words)
    if not found:
        raise ScenarioFailure(f"gnome-shell --version said {words!r}")
    return int(found.group(1))


def _write_extension(data_home, version):
    """The test extension, as the shell's version takes one: a script with
    init() until 44, an ES module since 45. Either way it also leaves the
    shell's main module where Eval finds it (global._kelpoMain), as Eval's
    scripts can no longer import it since 45."""
    folder = data_home / "gnome-shell" / "extensions" / EXTENSION
    folder.mkdir(parents=True)
    (folder / "metadata.json").write_text(json.dumps(
        {"uuid": EXTENSION, "name": "kelpo scenario", "description": "unsafe mode for tests",
         "shell-version": [str(version)]}))
    if version < 45:
        script = ("function init() {\n"
                  "  return { enable() { global.context.unsafe_mode = true; global._kelpoMain = imports.ui.main; },\n"
                  "           disable() {} };\n"
                  "}\n")
    else:
        script = ("import * as Main from 'resource:///org/gnome/shell/ui/main.js';\n"
                  "import {Extension} from 'resource:///org/gnome/shell/extensions/extension.js';\n"
                  "export default class KelpoTest extends Extension {\n"
                  "  enable() { global.context.unsafe_mode = true; global._kelpoMain = Main; }\n"
                  "  disable() {}\n"
                  "}\n")
    (folder / "extension.js").write_text(script)


def _xwayland_display(shell_pid):
    """The display number XWayland was started on, read from the command
    line of the shell's XWayland child."""
    for proc in Path("/proc").iterdir():
        if not proc.name.isdigit():
            continue
        try:
            status = (proc / "status").read_text()
            words = (proc / "cmdline").read_bytes().split(b"\0")
        except OSError:
            continue
        parent = [line.split()[1] for line in status.splitlines() if line.startswith("PPid:")]
        if parent == [str(shell_pid)] and words[0].endswith(b"Xwayland") and len(words) > 1:
            return words[1].decode()
    return None




def fractional_features(version):
    """mutter's fractional scales on Wayland, and, since 47, X11 windows
    drawn at the next whole scale rather than enlarged."""
    return ["scale-monitor-framebuffer"] + (["xwayland-native-scaling"] if version >= 47 else [])


class GnomeShell:
    def __init__(self, session, width, height, scale=1):
        require_tools(GNOME_TOOLS)
        self.session = session
        session.root.chmod(0o711)
        home = session.root / "shell-home"
        runtime = session.root / "shell-runtime"
        config = home / "config"
        data = home / "data"
        self.version = shell_version()
        _write_extension(data, self.version)
        keyfile = config / "glib-2.0" / "settings" / "keyfile"
        keyfile.parent.mkdir(parents=True)
        # Enables the extension; no animations, so that what is asked is
        # already on screen; no banners (such as "Screen Lock disabled") over
        # the desktop.
        settings = (f"[org/gnome/shell]\nenabled-extensions=['{EXTENSION}']\n\n"
                    "[org/gnome/desktop/interface]\nenable-animations=false\n\n"
                    "[org/gnome/desktop/notifications]\nshow-banners=false\n")
        if scale != 1:
            settings += f"\n[org/gnome/mutter]\nexperimental-features={fractional_features(self.version)}\n"
        keyfile.write_text(settings)
        _owned_by_nobody(home)
        _owned_by_nobody(runtime)
        self.shots = session.root / "shots"
        self.shots.mkdir(mode=0o777)
        self.shots.chmod(0o777)
        # mutter 48 starts XWayland only where the shell (user 65534) may
        # write its socket: the directory every X server shares, made as an
        # X server makes it when no display has run yet (a fresh /tmp).
        x11_sockets = Path("/tmp/.X11-unix")
        if not x11_sockets.exists():
            x11_sockets.mkdir(exist_ok=True)
            x11_sockets.chmod(0o1777)
        session.start_session_bus(any_user=True)
        bus = session.env["DBUS_SESSION_BUS_ADDRESS"]
        env = {
            "PATH": session.env["PATH"], "HOME": str(home), "XDG_RUNTIME_DIR": str(runtime),
            "XDG_CONFIG_HOME": str(config), "XDG_DATA_HOME": str(data), "XDG_CACHE_HOME": str(home / "cache"),
            "DBUS_SESSION_BUS_ADDRESS": bus, "DBUS_SYSTEM_BUS_ADDRESS": bus,
            "GSETTINGS_BACKEND": "keyfile", "LANG": "C.UTF-8", "NO_AT_BRIDGE": "1",
        }
        self.process = session.start(
            "gnome-shell",
            ["setpriv", f"--reuid={NOBODY}", f"--regid={NOBODY}", "--clear-groups", "--pdeathsig", "TERM",
             "gnome-shell", "--headless", "--wayland", "--virtual-monitor",
             f"{round(width * scale)}x{round(height * scale)}"],
            env=env,
        )
        self._connection = None

        def started():
            if self.process.poll() is not None:
                raise ScenarioFailure("gnome-shell exited: " + session.log_text("gnome-shell")[-3000:])
            sockets = [path for path in runtime.glob("wayland-*") if not path.name.endswith(".lock")]
            auth = list(runtime.glob(".mutter-Xwaylandauth.*"))
            display = _xwayland_display(self.process.pid)
            if not (sockets and auth and display):
                return None
            return sockets[0], auth[0], display

        socket, auth, display = poll(started, 20, interval=0.1, what="gnome-shell's Wayland socket and XWayland")
        session.env.pop("GDK_BACKEND", None)
        session.env.update({"WAYLAND_DISPLAY": str(socket), "DISPLAY": display, "XAUTHORITY": str(auth)})
        session.screen = (width, height)
        poll(lambda: self._answers(), 20, interval=0.1, what="the shell's unsafe mode (the test extension)")
        # The shell opens on its overview, as at login; the scenarios are
        # about the desktop under the windows. The monitor is scaled after:
        # changed while the shell starts, a slow machine saw the start not
        # end within ten seconds.
        seen = {}

        def left_overview():
            seen.update(self.eval("const main = global._kelpoMain; const o = main.overview;"
                                  "const startingUp = main.layoutManager._startingUp;"
                                  "if (!startingUp && o.visible) o.hide();"
                                  "return {startingUp, visible: o.visible, animating: o.animationInProgress};"))
            return not (seen["startingUp"] or seen["visible"] or seen["animating"])

        try:
            poll(left_overview, 10, interval=0.1, what="the shell to start and leave its overview")
        except ScenarioFailure as failure:
            raise ScenarioFailure(f"{failure} (last seen: {seen})") from None
        if scale != 1:
            self.scale_monitor(scale)
        # The virtual pointer and keyboard exist from the start, each used
        # once mutter's seat lists it: the seat adds a new device a moment
        # after it is made (in its input thread), and drops the events sent
        # before; a seat that gains a device later also reaches XWayland
        # only after a while.
        for device in ("POINTER_DEVICE", "KEYBOARD_DEVICE"):
            self._add_virtual_device(device)
        self.move_pointer(1, 1)

    def _bus(self):
        if self._connection is None:
            from gi.repository import Gio
            self._connection = Gio.DBusConnection.new_for_address_sync(
                self.session.env["DBUS_SESSION_BUS_ADDRESS"],
                Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION,
                None, None)
        return self._connection

    def call(self, interface, path, method, arguments, reply_type):
        from gi.repository import Gio, GLib
        return self._bus().call_sync("org.gnome.Shell", path, interface, method,
                                     GLib.Variant(*arguments) if arguments else None,
                                     GLib.VariantType(reply_type), Gio.DBusCallFlags.NONE, 10000, None).unpack()

    def display_config(self, method, arguments, reply_type):
        from gi.repository import Gio, GLib
        return self._bus().call_sync(
            "org.gnome.Mutter.DisplayConfig", "/org/gnome/Mutter/DisplayConfig", "org.gnome.Mutter.DisplayConfig",
            method, GLib.Variant(*arguments) if arguments else None, GLib.VariantType(reply_type) if reply_type else None,
            Gio.DBusCallFlags.NONE, 10000, None).unpack()

    CURRENT_STATE = "(ua((ssss)a(siiddada{sv})a{sv})a(iiduba(ssss)a{sv})a{sv})"

    def scale_monitor(self, scale):
        """Gives the one virtual monitor `scale`, as Settings would, for this
        run only (method 1, temporary: no dialog asks to keep it), and waits
        until mutter shows it so. Fails, saying what mutter offers, where its
        current mode does not take `scale`."""
        serial, monitors, _, properties = self.display_config("GetCurrentState", None, self.CURRENT_STATE)
        if len(monitors) != 1:
            raise ScenarioFailure(f"mutter shows {len(monitors)} monitors, expected the one virtual monitor")
        (connector, _, _, _), modes, _ = monitors[0]
        current = [mode for mode in modes if mode[6].get("is-current")]
        if not current:
            raise ScenarioFailure(f"mutter's monitor {connector} has no current mode: {modes}")
        mode_id, width, height, _, _, supported, _ = current[0]
        if not any(abs(offered - scale) < 0.01 for offered in supported):
            raise ScenarioFailure(f"mutter offers the scales {[round(s, 3) for s in supported]} for {width}x{height} "
                                  f"on {connector}, not {scale} (its properties: {properties})")
        offered = min(supported, key=lambda offered: abs(offered - scale))
        self.display_config("ApplyMonitorsConfig",
                            ("(uua(iiduba(ssa{sv}))a{sv})",
                             (serial, 1, [(0, 0, offered, 0, True, [(connector, mode_id, {})])], {})), None)

        def scaled():
            _, _, logical, _ = self.display_config("GetCurrentState", None, self.CURRENT_STATE)
            return len(logical) == 1 and abs(logical[0][2] - scale) < 0.01
        poll(scaled, 10, interval=0.1, what=f"mutter to scale its monitor by {scale}")

    def _answers(self):
        try:
            ok, _ = self.call("org.gnome.Shell", "/org/gnome/Shell", "Eval", ("(s)", ("1",)), "(bs)")
            return ok
        except Exception:  # not on the bus yet, or unsafe mode still off
            return False

    def _add_virtual_device(self, device):
        """Makes the shell's virtual device of Clutter.InputDeviceType.<device>
        and waits until the seat lists it."""
        listed = ("const Clutter = imports.gi.Clutter;"
                  "const seat = Clutter.get_default_backend().get_default_seat();"
                  f"const type = Clutter.InputDeviceType.{device};"
                  "const listed = seat.list_devices().filter(d => d.get_device_type() === type).length;")
        before = self.eval(listed + "return listed;")
        made = {"POINTER_DEVICE": "_kelpoPointer", "KEYBOARD_DEVICE": "_kelpoKeyboard"}[device]
        self.eval(f"const Clutter = imports.gi.Clutter; global.{made} = Clutter.get_default_backend()"
                  f".get_default_seat().create_virtual_device(Clutter.InputDeviceType.{device}); return true;")
        poll(lambda: self.eval(listed + "return listed;") > before, 5, interval=0.02,
             what=f"the shell's seat to list its virtual {device.split('_')[0].lower()}")

    def eval(self, script):
        """Runs script in the shell and returns its value, passed through JSON."""
        ok, answer = self.call("org.gnome.Shell", "/org/gnome/Shell", "Eval",
                               ("(s)", (f"JSON.stringify((() => {{ {script} }})())",)), "(bs)")
        if not ok:
            raise ScenarioFailure(f"the shell failed to run {script!r}: {answer}")
        return json.loads(json.loads(answer)) if answer else None

    def windows(self):
        """Every window the shell manages, bottom to top: title, type (1 is
        desktop, 0 normal), frame rectangle, whether the task switcher lists it."""
        return self.eval(
            "const tabs = global.display.get_tab_list(0, null);"
            "const all = global.display.sort_windows_by_stacking("
            "  global.get_window_actors().map(a => a.meta_window));"
            "return all.map(w => { const r = w.get_frame_rect(); return {"
            "  title: w.get_title(), type: w.get_window_type(), x: r.x, y: r.y, width: r.width,"
            "  height: r.height, tab: tabs.includes(w), sticky: w.is_on_all_workspaces()}; });")

    def work_area(self):
        return self.eval("const a = global.display.get_workspace_manager().get_active_workspace()"
                         ".get_work_area_for_monitor(0); return [a.x, a.y, a.width, a.height];")

    POINTER = ("const Clutter = imports.gi.Clutter; const GLib = imports.gi.GLib;"
               "if (!global._kelpoPointer) global._kelpoPointer = Clutter.get_default_backend()"
               "  .get_default_seat().create_virtual_device(Clutter.InputDeviceType.POINTER_DEVICE);"
               "const p = global._kelpoPointer; const now = GLib.get_monotonic_time();")

    def move_pointer(self, x, y):
        self.eval(self.POINTER + f"p.notify_absolute_motion(now, {x}, {y}); return true;")

    def click(self, x, y, button="PRIMARY"):
        """A click at x, y from the shell's virtual pointer (button:
        PRIMARY, SECONDARY): the motion first, then the press and the
        release, each its own event, as a hand would give them."""
        self.move_pointer(x, y)
        time.sleep(0.15)
        for state in ("PRESSED", "RELEASED"):
            self.eval(self.POINTER + f"p.notify_button(now, Clutter.BUTTON_{button}, Clutter.ButtonState.{state});"
                      "return true;")
            time.sleep(0.05)

    KEYBOARD = ("const Clutter = imports.gi.Clutter; const GLib = imports.gi.GLib;"
                "if (!global._kelpoKeyboard) global._kelpoKeyboard = Clutter.get_default_backend()"
                "  .get_default_seat().create_virtual_device(Clutter.InputDeviceType.KEYBOARD_DEVICE);"
                "const k = global._kelpoKeyboard; const now = GLib.get_monotonic_time();")

    def key(self, name):
        """A press and release of the key Clutter.KEY_<name>, from the
        shell's virtual keyboard: it goes where the shell sends keys."""
        for state in ("PRESSED", "RELEASED"):
            self.eval(self.KEYBOARD + f"k.notify_keyval(now, Clutter.KEY_{name}, Clutter.KeyState.{state});"
                      "return true;")
            time.sleep(0.05)

    def screenshot(self, name):
        """What the shell shows, as a PNG file the shell writes."""
        path = self.shots / f"{name}.png"
        ok, _ = self.call("org.gnome.Shell.Screenshot", "/org/gnome/Shell/Screenshot", "Screenshot",
                          ("(bbs)", (False, False, str(path))), "(bs)")
        if not ok:
            raise ScenarioFailure("the shell took no screenshot")
        return path
