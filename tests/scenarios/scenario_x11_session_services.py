"""The first frame owes nothing to the session's services: on a session bus
that never answers, on one that refuses everything, and beside a Settings
portal that is stopped, the widget shows at once, accessibility bridge and
all; SIGINT or SIGTERM while it
still waits for them ends it with status 0. The portal, when it comes back,
and a second host (asked to reload, it leaves) join later."""

import os
import signal
import subprocess
import time

import scenario
from desktop_session import REFUSING_BUS_CONFIG
from widget_checks import (WIDGET, ScenarioFailure, first_frame_seconds, host_windows, mean_luminance, poll,
                           render_reference, sample_snapshot, start_host, stop_host, window_pixels)

# The faults this guards against held the first frame 25 s (a stopped
# portal), 50 s (a refusing bus) or for ever (a silent bus). A start takes
# some 0.3 s; the bound leaves room for a loaded machine.
FIRST_FRAME_BOUND = 5.0  # seconds


def started_host(session, what):
    started = time.monotonic()
    host = start_host(session, ["medium"], ["--corner", "top-left"])
    took = first_frame_seconds(session, host, started, FIRST_FRAME_BOUND)
    print(f"{what}: first frame after {took:.2f} s")
    return host


def body(session):
    # The accessibility bridge on, as in a user's session: it too looks for
    # its bus through the session bus.
    del session.env["NO_AT_BRIDGE"]
    session.start_xvfb(800, 600)
    snapshot = sample_snapshot(session, gold=False)
    light = mean_luminance(render_reference(session, snapshot, "medium", "light", 1, "light"))
    dark = mean_luminance(render_reference(session, snapshot, "medium", "dark", 1, "dark"))
    session.write_snapshot(snapshot)

    def looks_dark(window):
        return abs(mean_luminance(window_pixels(session, window)) - dark) < abs(light - dark) / 4

    # 1. A bus that takes the connection and never answers; SIGINT ends it.
    session.start_silent_bus()
    host = started_host(session, "silent bus")
    stop_host(session, host, signal.SIGINT)
    # `reload` on that bus gives up instead of waiting with it.
    started = time.monotonic()
    reloaded = subprocess.run([WIDGET, "reload"], env=session.env, capture_output=True, timeout=20)
    if reloaded.returncode != 1 or b"no session bus" not in reloaded.stderr:
        raise ScenarioFailure(f"reload on a silent bus: {reloaded.returncode} {reloaded.stderr!r}")
    print(f"reload on a silent bus: refused after {time.monotonic() - started:.2f} s")
    # SIGTERM as soon as the command has handed over to the host program,
    # while GTK and the bus are still on their way.
    host = start_host(session, ["medium"])
    poll(lambda: os.path.realpath(f"/proc/{host.pid}/exe").endswith("kelpo-widget-desktop"), 10,
         interval=0.001, what="the hand-over to the host program")
    stop_host(session, host)

    # 2. A bus whose policy refuses every name, call and signal.
    bus = session.start_session_bus(REFUSING_BUS_CONFIG, label="refusing-dbus")
    host = started_host(session, "refusing bus")
    stop_host(session, host)
    session.stop(bus)

    # 3. The usual bus, and a portal (dark) that owns its name but is stopped.
    session.start_session_bus()
    session.start_portal(1)
    os.kill(session.portal.pid, signal.SIGSTOP)
    try:
        host = started_host(session, "stopped portal")
        (window,) = host_windows(session, host, 1)
        if looks_dark(window):
            raise ScenarioFailure("the widget is dark before the portal said so")
    finally:
        os.kill(session.portal.pid, signal.SIGCONT)
    # Once it runs again, its answer comes through.
    poll(lambda: looks_dark(window), 5, what="the resumed portal's dark scheme")

    # 4. `reload` reaches the host; a second host finds the first, asks it
    #    to reload and leaves with 1.
    session.run([WIDGET, "reload"])
    second = session.start("second-host", host.args)
    try:
        status = second.wait(10)
    except Exception:
        raise ScenarioFailure("the second host did not leave:\n" + session.log_text("second-host")) from None
    if status != 1 or "already shows" not in session.log_text("second-host"):
        raise ScenarioFailure(f"the second host left with {status}:\n" + session.log_text("second-host"))
    if host.poll() is not None:
        raise ScenarioFailure("the first host went away when the second came")
    stop_host(session, host)


if __name__ == "__main__":
    scenario.run("x11-session-services", body)
