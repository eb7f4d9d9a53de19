"""GNOME on Wayland: monitors are named as GNOME names them. Through
XWayland the X server calls the monitor XWAYLAND0; the widget asks mutter
for the connector ("Meta-0" headless), takes `--monitor` by that name
without a word and keeps it in desktop.ini after a drag, while a name no
monitor has is said in the host's report, never passed over in silence."""

import subprocess

import scenario
from desktop_session import poll
from gnome_shell import GnomeShell
from widget_checks import SIZES, ScenarioFailure, host_windows, sample_shown_medium, start_host, stop_host

SCREEN = (1280, 800)
MARGIN = 24


def connectors(shell):
    """mutter's connector names, from its display configuration."""
    from gi.repository import Gio, GLib
    state = shell._bus().call_sync("org.gnome.Mutter.DisplayConfig", "/org/gnome/Mutter/DisplayConfig",
                                   "org.gnome.Mutter.DisplayConfig", "GetCurrentState", None, None,
                                   Gio.DBusCallFlags.NONE, 10000, None).unpack()
    return [monitor[0][0] for monitor in state[1]]


def pointer_over(session):
    """Where XWayland has the pointer, and the window it is over."""
    fields = dict(line.split("=", 1) for line in subprocess.run(
        ["xdotool", "getmouselocation", "--shell"], env=session.env, capture_output=True, text=True,
        timeout=10).stdout.split())
    return (int(fields.get("X", -1)), int(fields.get("Y", -1))), fields.get("WINDOW")


def press(shell, state):
    shell.eval(shell.POINTER + f"p.notify_button(now, Clutter.BUTTON_PRIMARY, Clutter.ButtonState.{state});"
               "return true;")


def shown_window(shell, host):
    def found():
        if host.poll() is not None:
            raise ScenarioFailure(f"the host ended with {host.returncode}")
        windows = [window for window in shell.windows() if window["title"] == "kelpo"]
        return windows[0] if windows else None
    return poll(found, 15, interval=0.1, what="the widget's window")


def body(session):
    shell = GnomeShell(session, *SCREEN)
    session.start_portal()
    sample_shown_medium(session)
    names = poll(lambda: connectors(shell) or None, 10, interval=0.1, what="mutter's connectors")
    area = poll(lambda: (lambda found: found if found[1] > 0 else None)(shell.work_area()), 10, interval=0.1,
                what="the shell's top bar to reserve its rows")
    expected = (area[0] + area[2] - MARGIN - SIZES["medium"][0], area[1] + MARGIN)

    host = start_host(session, ["medium"], ["--monitor", names[0], "--margin", str(MARGIN)], label="by-name")
    window = shown_window(shell, host)
    poll(lambda: "shown" in session.log_text("by-name"), 10, what="the host's report")
    stop_host(session, host)
    if (window["x"], window["y"]) != expected:
        raise ScenarioFailure(f"--monitor {names[0]}: at {window['x']},{window['y']}, expected {expected}")
    if "monitor" in session.log_text("by-name").replace("shown", ""):
        raise ScenarioFailure(f"--monitor {names[0]} was reported:\n" + session.log_text("by-name"))
    print(f"--monitor {names[0]} (mutter's connector): shown at {expected}, nothing said")

    # A drag keeps the monitor under GNOME's name for it.
    host = start_host(session, ["medium"], ["--margin", str(MARGIN)], label="dragged")
    shown_window(shell, host)
    # The window maps before its first frame, and takes the pointer only
    # from then on.
    poll(lambda: "shown" in session.log_text("dragged"), 10, what="the widget's first frame")
    grab = (expected[0] + 40, expected[1] + 40)
    (widget,) = host_windows(session, host, 1)
    shell.move_pointer(*grab)
    # The press counts once XWayland has the pointer over the widget: mutter
    # hands a new position over to it a moment after the shell has it.
    poll(lambda: pointer_over(session) == (grab, widget.id), 5, interval=0.05,
         what="XWayland to see the pointer over the widget")
    press(shell, "PRESSED")
    for step in range(1, 13):
        shell.move_pointer(grab[0] - 300 * step // 12, grab[1] + 200 * step // 12)
    # As a hand lets go once it sees the widget under the pointer: the
    # window follows the drag, well on its way, before the release. It
    # follows the pointer as XWayland tells it, which can run ahead of the
    # shell's by the window's last move while the window moves (XWayland
    # adds the window's new place to a position mutter took from the old
    # one): so the widget is checked against XWayland's pointer.
    def following():
        where, _ = pointer_over(session)
        (shown,) = host_windows(session, host, 1)
        return (shown.x, shown.y) == (where[0] - 40, where[1] - 40) and where[0] < grab[0] - 200 and where

    try:
        held = poll(following, 10, interval=0.05, what="the widget to follow the drag")
    except ScenarioFailure as failure:
        (shown,) = host_windows(session, host, 1)
        raise ScenarioFailure(f"{failure}: it is at {shown.x},{shown.y}; "
                              f"XWayland has the pointer at {pointer_over(session)}") from None
    print(f"mid-drag: the widget follows XWayland's pointer at {held}")
    press(shell, "RELEASED")
    kept = session.config_home / "app.kelpo.widget" / "desktop.ini"
    try:
        monitor = poll(lambda: next((line.split("=", 1)[1] for line in
                                     (kept.read_text().splitlines() if kept.exists() else [])
                                     if line.startswith("monitor=")), None), 10,
                       what="desktop.ini to keep the dragged widget's monitor")
    except ScenarioFailure as failure:
        (moved,) = host_windows(session, host, 1)
        raise ScenarioFailure(f"{failure}; the widget is at {moved.x},{moved.y}, XWayland has the pointer "
                              f"at {pointer_over(session)}, desktop.ini holds "
                              f"{kept.read_text() if kept.exists() else 'nothing'!r}") from None
    stop_host(session, host)
    if monitor != names[0]:
        raise ScenarioFailure(f"the dragged widget's monitor is kept as {monitor!r}, not GNOME's {names[0]!r}")
    print(f"drag: desktop.ini keeps monitor={monitor}")

    host = start_host(session, ["medium"], ["--monitor", "Nope-7", "--margin", str(MARGIN)], label="unknown")
    window = shown_window(shell, host)
    said = poll(lambda: next((line for line in session.log_text("unknown").splitlines() if "Nope-7" in line), None),
                10, what="the host to say no monitor is named Nope-7")
    stop_host(session, host)
    if (window["x"], window["y"]) != expected:
        raise ScenarioFailure(f"--monitor Nope-7: at {window['x']},{window['y']}, expected the primary's {expected}")
    print(f"--monitor Nope-7: on the primary monitor, and said: {said}")


if __name__ == "__main__":
    scenario.run("gnome-monitors", body)
