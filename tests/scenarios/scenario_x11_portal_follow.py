"""The widget follows the Settings portal by its name: a portal that starts
after the widget, and one that is restarted, are read as they appear; a
SettingChanged sent by any other connection is ignored; a burst of a
thousand genuine changes costs a few frames, not one each."""

import time

import scenario
from widget_checks import (ScenarioFailure, cpu_seconds, host_windows, mean_luminance, poll,
                           render_reference, sample_snapshot, start_host, stop_host, window_pixels)

WITHIN = 3.0  # seconds for a change to show; it takes some 0.1 s
# The fault drew each of the 1,000 changes in full, some 8 s of processor
# time; gathered into frames they take a fraction of a second.
BURST_CPU_BOUND = 2.5  # seconds


def body(session):
    session.start_xvfb(800, 600)
    session.start_session_bus()  # and no portal yet
    snapshot = sample_snapshot(session, gold=False)
    light = mean_luminance(render_reference(session, snapshot, "medium", "light", 1, "light"))
    dark = mean_luminance(render_reference(session, snapshot, "medium", "dark", 1, "dark"))
    session.write_snapshot(snapshot)
    host = start_host(session, ["medium"], ["--corner", "top-left"])
    (window,) = host_windows(session, host, 1)

    def scheme():
        shown = mean_luminance(window_pixels(session, window))
        return "dark" if abs(shown - dark) < abs(shown - light) else "light"

    def expect(wanted, what, within=WITHIN):
        started = time.monotonic()
        poll(lambda: scheme() == wanted, within, interval=0.05, what=f"{what}: the widget {wanted}")
        print(f"{what}: {wanted} after {time.monotonic() - started:.2f} s")

    expect("light", "no portal")

    # 1. The portal starts after the widget.
    session.start_portal(1)
    expect("dark", "a late portal")

    # 2. Restarted with another answer: read again as it takes its name.
    session.stop(session.portal)
    session.start_portal(2)
    expect("light", "a restarted portal")

    # 3. Another connection sends a SettingChanged that looks like the portal's.
    session.run(["gdbus", "emit", "--session", "--object-path", "/org/freedesktop/portal/desktop",
                 "--signal", "org.freedesktop.portal.Settings.SettingChanged",
                 "'org.freedesktop.appearance'", "'color-scheme'", "<uint32 1>"])
    time.sleep(1.0)
    if scheme() != "light":
        raise ScenarioFailure("a signal from another connection than the portal's turned the widget dark")
    print("a foreign SettingChanged: ignored")

    # 4. A burst of genuine changes, ending dark.
    before = cpu_seconds(host.pid)
    session.burst_color_scheme(1000, 1)
    expect("dark", "after a burst of 1000 changes")
    time.sleep(0.5)  # whatever the burst left to do
    spent = cpu_seconds(host.pid) - before
    print(f"a burst of 1000 changes: {spent:.2f} s of processor time")
    if spent > BURST_CPU_BOUND:
        raise ScenarioFailure(f"a burst of 1000 changes took {spent:.2f} s of processor time")
    stop_host(session, host)


if __name__ == "__main__":
    scenario.run("x11-portal-follow", body)
