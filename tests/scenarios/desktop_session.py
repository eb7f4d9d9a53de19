"""A private desktop for one scenario: display server, session bus, portal,
link handler and directories, none of them shared with the developer's own
session. Every process started here is stopped by its PID when the session
ends, also when a step fails or the scenario runs out of time.
"""

import fcntl
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent

# Tools a scenario needs; a missing one fails the test with its package name.
TOOLS = {
    "Xvfb": "xvfb",
    "xdotool": "xdotool",
    "xwininfo": "x11-utils",
    "xwd": "x11-apps",
    "xsetroot": "x11-xserver-utils",
    "convert": "imagemagick",
    "dbus-daemon": "dbus-daemon",
    "setpriv": "util-linux",
}
WAYLAND_TOOLS = {"sway": "sway", "grim": "grim", "swaymsg": "sway"}

BUS_CONFIG = Path(__file__).parent / "bus" / "session_bus.conf"
# A session bus whose policy refuses every call, name and signal.
REFUSING_BUS_CONFIG = Path(__file__).parent / "bus" / "session_bus_refusing.conf"

# The root window's colour: neither black nor white, so that corners drawn
# instead of left to the root show up.
ROOT_COLOUR = (0x33, 0x66, 0x99)

# sway refuses to run as root; it runs as nobody.
NOBODY = 65534


class ScenarioFailure(Exception):
    pass


def require_tools(tools):
    missing = [f"{tool} (package {package})" for tool, package in tools.items() if shutil.which(tool) is None]
    if missing:
        raise ScenarioFailure("missing tools: " + ", ".join(missing))


def poll(check, timeout, interval=0.02, what="condition"):
    """Calls check() until it returns something truthy or timeout seconds pass."""
    deadline = time.monotonic() + timeout
    while True:
        value = check()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise ScenarioFailure(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


def _die_with_parent():
    # The driver may be killed outright (a ctest timeout): take the children
    # along instead of leaving a display server behind.
    import ctypes

    ctypes.CDLL(None).prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG


class Session:
    def _artifacts_directory(self, name):
        """The scenario's own folder of screenshots and logs. A second copy of
        the same scenario running at once gets a folder of its own rather
        than removing the first one's: the lock on the name is held for as
        long as this process lives."""
        base = Path(os.environ.get("KELPO_DESKTOP_ARTIFACTS", Path.cwd() / "desktop-artifacts"))
        base.mkdir(parents=True, exist_ok=True)
        self._artifacts_lock = open(base / f".{name}.lock", "w")
        try:
            fcntl.flock(self._artifacts_lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
            return base / name
        except BlockingIOError:
            return base / f"{name}-{os.getpid()}"

    def __init__(self, name):
        self.name = name
        self.root = Path(tempfile.mkdtemp(prefix=f"kelpo-{name}-"))
        self.artifacts = self._artifacts_directory(name)
        shutil.rmtree(self.artifacts, ignore_errors=True)
        self.artifacts.mkdir(parents=True)
        self.processes = []  # (label, Popen), stopped in reverse order
        self.home = self.root / "home"
        self.data_home = self.root / "data"
        self.config_home = self.root / "config"
        self.cache_home = self.root / "cache"
        self.runtime_dir = self.root / "runtime"
        for directory in (self.home, self.data_home, self.config_home, self.cache_home, self.runtime_dir):
            directory.mkdir(mode=0o700)
        self.shared_dir = self.data_home / "group.app.kelpo"
        self.shared_dir.mkdir()
        self.env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": str(self.home),
            "XDG_DATA_HOME": str(self.data_home),
            "XDG_CONFIG_HOME": str(self.config_home),
            "XDG_CACHE_HOME": str(self.cache_home),
            "XDG_RUNTIME_DIR": str(self.runtime_dir),
            "XDG_DATA_DIRS": "/usr/local/share:/usr/share",
            "NO_AT_BRIDGE": "1",
            "LANG": "C.UTF-8",
        }
        for passed in ("KELPO_RESOURCE_DIR", "ASAN_OPTIONS", "UBSAN_OPTIONS"):
            if passed in os.environ:
                self.env[passed] = os.environ[passed]
        self.url_log = self.root / "opened-urls.txt"
        self.portal = None

    # -- lifetime ---------------------------------------------------------

    def __enter__(self):
        signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
        signal.signal(signal.SIGALRM, self._out_of_time)
        signal.alarm(int(os.environ.get("KELPO_DESKTOP_SCENARIO_SECONDS", "50")))
        return self

    def __exit__(self, *_):
        signal.alarm(0)
        self.stop_all()
        shutil.rmtree(self.root, ignore_errors=True)
        return False

    def _out_of_time(self, *_):
        raise ScenarioFailure("scenario ran out of time")

    def start(self, label, argv, env=None, stdout=None, stdin=None, preexec=True):
        log = open(self.artifacts / f"{label}.log", "wb")
        process = subprocess.Popen(
            argv,
            env=env if env is not None else self.env,
            stdin=stdin if stdin is not None else subprocess.DEVNULL,
            stdout=stdout if stdout is not None else log,
            stderr=log,
            preexec_fn=_die_with_parent if preexec else None,
            pass_fds=getattr(self, "_pass_fds", ()),
        )
        log.close()
        self.processes.append((label, process))
        return process

    def stop(self, process, timeout=5.0, how=signal.SIGTERM):
        """SIGTERM (or how), then SIGKILL after timeout; returns the exit status."""
        if process.poll() is None:
            process.send_signal(how)
            try:
                process.wait(timeout)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        self.processes = [(label, p) for label, p in self.processes if p is not process]
        return process.returncode

    def stop_all(self):
        for _, process in reversed(list(self.processes)):
            self.stop(process, timeout=2.0)
            for stream in (process.stdin, process.stdout):
                if stream:
                    stream.close()

    def log_text(self, label):
        path = self.artifacts / f"{label}.log"
        return path.read_text(errors="replace") if path.exists() else ""

    # -- display server ---------------------------------------------------

    def start_xvfb(self, width, height, framebuffer=False):
        """Xvfb; with framebuffer, its screen also in a file (XWD), which
        shows what a compositor paints where `xwd -root` does not."""
        require_tools(TOOLS)
        read_end, write_end = os.pipe()
        self._pass_fds = (write_end,)
        extra = []
        if framebuffer:
            self.framebuffer_dir = self.root / "framebuffer"
            self.framebuffer_dir.mkdir()
            extra = ["-fbdir", str(self.framebuffer_dir)]
        try:
            self.start(
                "xvfb",
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24",
                 "-nolisten", "tcp", "-noreset", "-auth", "/dev/null", *extra],
            )
        finally:
            self._pass_fds = ()
            os.close(write_end)
        with os.fdopen(read_end) as reader:
            number = reader.readline().strip()
        if not number.isdigit():
            raise ScenarioFailure("Xvfb did not start: " + self.log_text("xvfb"))
        self.env["DISPLAY"] = f":{number}"
        self.env["GDK_BACKEND"] = "x11"
        self.screen = (width, height)
        self.run(["xsetroot", "-solid", "#%02x%02x%02x" % ROOT_COLOUR])

    def start_sway(self, width, height, scale=1):
        """Headless sway with layer-shell, as the unprivileged user 65534 (sway
        refuses root), on a runtime directory of its own; width and height
        are logical, the output has them times scale in pixels."""
        require_tools(WAYLAND_TOOLS)
        self.root.chmod(0o711)  # let user 65534 reach its runtime directory and config
        runtime = self.root / "sway-runtime"
        runtime.mkdir(mode=0o700)
        os.chown(runtime, NOBODY, NOBODY)
        config = self.root / "sway.conf"
        config.write_text("xwayland disable\n"
                          f"output HEADLESS-1 resolution {round(width * scale)}x{round(height * scale)} scale {scale}\n")
        config.chmod(0o644)
        env = {
            "PATH": self.env["PATH"], "HOME": str(runtime), "XDG_RUNTIME_DIR": str(runtime),
            "WLR_BACKENDS": "headless", "WLR_LIBINPUT_NO_DEVICES": "1", "WLR_RENDERER": "pixman",
        }
        sway = self.start(
            "sway",
            ["setpriv", f"--reuid={NOBODY}", f"--regid={NOBODY}", "--clear-groups", "--pdeathsig", "TERM",
             "sway", "--config", str(config)],
            env=env,
        )

        def socket():
            if sway.poll() is not None:
                raise ScenarioFailure("sway exited: " + self.log_text("sway"))
            found = [path for path in runtime.glob("wayland-*") if not path.name.endswith(".lock")]
            ipc = list(runtime.glob("sway-ipc.*.sock"))
            return found[0] if found and ipc else None

        self.env["WAYLAND_DISPLAY"] = str(poll(socket, 10, what="sway's Wayland socket"))
        self.env["GDK_BACKEND"] = "wayland"
        self.screen = (width, height)

    def run(self, argv, input=None, check=True):
        result = subprocess.run(argv, env=self.env, input=input, capture_output=True, timeout=20)
        if check and result.returncode != 0:
            raise ScenarioFailure(f"{argv[0]} failed ({result.returncode}): {result.stderr.decode(errors='replace')}")
        return result.stdout

    # -- session bus and portal -------------------------------------------

    def start_session_bus(self, config_template=BUS_CONFIG, label="dbus", any_user=False):
        """A dbus-daemon of its own; config_template may be another policy
        (REFUSING_BUS_CONFIG); with any_user, a compositor running as another
        user (gnome-shell as nobody) may connect too. Returns its process."""
        bus_dir = self.root / label
        bus_dir.mkdir()
        config = self.root / f"{label}.conf"
        # No <servicedir>: nothing on this bus gets started by activation.
        text = config_template.read_text().replace("@BUS_DIR@", str(bus_dir))
        if any_user:
            text = text.replace('<policy context="default">', '<policy context="default">\n    <allow user="*"/>')
        config.write_text(text)
        bus = self.start(
            label, ["dbus-daemon", f"--config-file={config}", "--nofork", "--print-address=1"],
            stdout=subprocess.PIPE,
        )
        address = bus.stdout.readline().decode().strip()
        if not address:
            raise ScenarioFailure("dbus-daemon did not start: " + self.log_text("dbus"))
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        return bus

    def start_silent_bus(self):
        """A session bus address whose socket takes connections and never says
        a word: the connections wait in its backlog."""
        import socket

        path = self.root / "silent-bus"
        self._silent_bus = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self._silent_bus.bind(str(path))
        self._silent_bus.listen(64)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = f"unix:path={path}"

    def start_desktop(self, width, height, color_scheme=0, wayland=False, scale=1):
        """What every widget scenario runs on: a display server (Xvfb, or sway
        for Wayland, whose output may be scaled), the session bus, and the
        Settings portal answering color_scheme (1 is dark)."""
        if wayland:
            self.start_sway(width, height, scale)
        else:
            self.start_xvfb(width, height)
        self.start_session_bus()
        self.start_portal(color_scheme)

    def start_portal(self, color_scheme=0):
        python = os.environ.get("KELPO_TEST_PYTHON", sys.executable)
        self.portal = self.start(
            "portal", [python, str(HERE / "fake_settings_portal.py"), str(color_scheme)],
            stdout=subprocess.PIPE, stdin=subprocess.PIPE,
        )
        if self.portal.stdout.readline().decode().strip() != "ready":
            raise ScenarioFailure("the fake portal did not start: " + self.log_text("portal"))

    def burst_color_scheme(self, count, last):
        """count SettingChanged signals as fast as the portal can send them,
        alternating, the last one announcing last."""
        self.portal.stdin.write(f"burst {count} {last}\n".encode())
        self.portal.stdin.flush()
        if self.portal.stdout.readline().decode().strip() != f"changed {last}":
            raise ScenarioFailure("the fake portal did not send its burst")

    def set_color_scheme(self, scheme):
        self.portal.stdin.write(f"color-scheme {scheme}\n".encode())
        self.portal.stdin.flush()
        if self.portal.stdout.readline().decode().strip() != f"changed {scheme}":
            raise ScenarioFailure("the fake portal did not send SettingChanged")

    # -- the kelpo:// handler ---------------------------------------------

    def register_link_handler(self):
        recorder = self.root / "record-url"
        recorder.write_text(f"#!/bin/sh\nprintf '%s\\n' \"$1\" >> '{self.url_log}'\n")
        recorder.chmod(0o755)
        applications = self.data_home / "applications"
        applications.mkdir()
        (applications / "kelpo-recorder.desktop").write_text(
            "[Desktop Entry]\nType=Application\nName=Kelpo link recorder\n"
            f"Exec={recorder} %u\nMimeType=x-scheme-handler/kelpo;\nNoDisplay=true\n"
        )
        (self.config_home / "mimeapps.list").write_text(
            "[Default Applications]\nx-scheme-handler/kelpo=kelpo-recorder.desktop\n"
        )

    def opened_urls(self):
        return self.url_log.read_text().split() if self.url_log.exists() else []

    # -- the snapshot -----------------------------------------------------

    def write_snapshot(self, text):
        """Writes widget.json as the application does: a temporary file, then a rename."""
        temporary = self.shared_dir / ".widget.json.tmp"
        temporary.write_bytes(text.encode() if isinstance(text, str) else text)
        os.rename(temporary, self.shared_dir / "widget.json")
