"""The widget stays live under X11: an atomic rewrite of widget.json shows
within a second, so does a dark colour scheme announced by the Settings
portal, and a broken snapshot leaves the window up with the default record."""

import json
import time

import scenario
from widget_checks import (ScenarioFailure, default_snapshot, difference, host_windows, mean_luminance, poll,
                           render_reference, sample_snapshot, start_host, stop_host, wait_for_pixels,
                           window_pixels)

WITHIN = 1.0  # seconds


def rewritten(snapshot):
    """The same record after the application sorted one item and the user
    chose another accent: a different heading, row list and theme."""
    record = json.loads(snapshot)
    record["toSort"] = record["toSort"][1:]
    record["toSortCount"] = len(record["toSort"])
    record["accent"] = "Lagune"
    return json.dumps(record, ensure_ascii=False, indent=2)


def seconds_until(check, what):
    start = time.monotonic()
    poll(check, WITHIN, interval=0.02, what=what)
    return time.monotonic() - start


def body(session):
    session.start_desktop(1280, 800)
    first = sample_snapshot(session)
    second = rewritten(first)
    references = {
        "first-light": render_reference(session, first, "medium", "light", 1, "first-light"),
        "second-light": render_reference(session, second, "medium", "light", 1, "second-light"),
        "second-dark": render_reference(session, second, "medium", "dark", 1, "second-dark"),
        "default-dark": render_reference(session, default_snapshot(), "medium", "dark", 1, "default-dark"),
    }
    session.write_snapshot(first)
    host = start_host(session, ["medium"], ["--corner", "top-left", "--appearance", "auto"])
    (window,) = host_windows(session, host, 1)
    wait_for_pixels(session, window, references["first-light"], 5, "first-light")

    # 1. The application replaces the file by a rename.
    shown = window_pixels(session, window)
    session.write_snapshot(second)
    took = seconds_until(lambda: difference(window_pixels(session, window), shown).differing > 0,
                         "the rewritten snapshot to change the pixels")
    wait_for_pixels(session, window, references["second-light"], 3, "second-light")
    print(f"rewrite shown after {took:.2f} s")

    # 2. The desktop turns dark: closer to the dark render than to the light one.
    session.set_color_scheme(1)
    dark, light = mean_luminance(references["second-dark"]), mean_luminance(references["second-light"])
    took = seconds_until(lambda: abs(mean_luminance(window_pixels(session, window)) - dark) < abs(dark - light) / 4,
                         "the portal's dark scheme to turn the widget dark")
    wait_for_pixels(session, window, references["second-dark"], 3, "second-dark")
    print(f"dark scheme shown after {took:.2f} s")

    # 3. A broken snapshot: the default record, the window still there.
    session.write_snapshot(default_snapshot())
    wait_for_pixels(session, window, references["default-dark"], 3, "default-dark")
    time.sleep(0.3)  # a host that dies on it would be gone by now
    if host.poll() is not None:
        raise ScenarioFailure(f"the host exited with {host.returncode} on a broken snapshot")
    host_windows(session, host, 1, timeout=1)
    print("broken snapshot: default record shown, window still mapped")
    stop_host(session, host)


if __name__ == "__main__":
    scenario.run("x11-live", body)
