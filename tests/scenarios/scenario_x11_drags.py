"""Drags a person makes under X11 (openbox on Xvfb), each of which once left
the widget where it was:
- a flick, one 200-pixel motion between the press and the release, which
  leaves the window before any motion reaches it;
- a press 4 pixels above the bottom edge pulled slowly down, which leaves the
  window before it has moved the drag threshold;
both move the widget by the pointer's offset and keep the place in
desktop.ini; Escape during a drag puts the widget back and keeps nothing. No
drag opens a link: the only link the handler gets is a click's, after them.
"""

import configparser

import scenario
from widget_checks import (ScenarioFailure, hit, host_windows, kept_frame, poll, sample_snapshot,
                           start_host, stop_host, wait_for_geometry)
from x11_desktops import start_manager

SCREEN = (1280, 800)
SMALL = (170, 170)
GRAB = (40, 40)  # where the flick and the Escape drag hold the widget


def kept_place(session):
    """desktop.ini's place of the one instance, once it has one."""
    path = session.config_home / "app.kelpo.widget" / "desktop.ini"
    if not path.exists():
        return None
    parser = configparser.ConfigParser(interpolation=None)
    parser.read_string(path.read_text())
    group = dict(parser["instance 1"]) if parser.has_section("instance 1") else {}
    return group if "offset-x" in group else None


def kept_at(session):
    place = kept_place(session)
    return place and kept_frame(place, (0, 0, *SCREEN), SMALL)


def dropped(session, host, window_id, expected, what):
    """The widget shown at `expected` and desktop.ini keeping that place."""
    wait_for_geometry(session, window_id, host, expected, f"the {what} to move the widget")
    poll(lambda: kept_at(session) == tuple(expected), 5, what=f"desktop.ini to keep the {what}'s place")
    print(f"{what}: the widget is at {expected[0]},{expected[1]} and desktop.ini keeps it")


def body(session):
    session.start_desktop(*SCREEN)
    start_manager(session, "openbox")
    session.register_link_handler()
    snapshot = sample_snapshot(session, gold=False)
    session.write_snapshot(snapshot)
    host = start_host(session, ["small"])
    (window,) = host_windows(session, host, 1)
    start = (SCREEN[0] - 24 - SMALL[0], 24, *SMALL)
    wait_for_geometry(session, window.id, host, start, "the small widget at the top right")

    # The flick: one motion, far beyond the window, then the release.
    press = (start[0] + GRAB[0], start[1] + GRAB[1])
    session.run(["xdotool", "mousemove", *map(str, press), "mousedown", "1"])
    session.run(["xdotool", "mousemove", str(press[0] - 400), str(press[1] + 200)])
    session.run(["xdotool", "mouseup", "1"])
    flicked = (start[0] - 400, start[1] + 200, *SMALL)
    dropped(session, host, window.id, flicked, "flick")

    # Near the bottom edge, pulled down a pixel at a time.
    press = (flicked[0] + 60, flicked[1] + SMALL[1] - 4)
    session.run(["xdotool", "mousemove", *map(str, press), "mousedown", "1"])
    for step in range(1, 31):
        session.run(["xdotool", "mousemove", str(press[0]), str(press[1] + step)])
    session.run(["xdotool", "mouseup", "1"])
    pulled = (flicked[0], flicked[1] + 30, *SMALL)
    dropped(session, host, window.id, pulled, "edge drag")

    # Escape while the widget follows the pointer: back where it was.
    press = (pulled[0] + GRAB[0], pulled[1] + GRAB[1])
    session.run(["xdotool", "mousemove", *map(str, press), "mousedown", "1"])
    for step in range(1, 11):
        session.run(["xdotool", "mousemove", str(press[0] - 15 * step), str(press[1] + 8 * step)])
    wait_for_geometry(session, window.id, host, (pulled[0] - 150, pulled[1] + 80, *SMALL),
                   "the widget to follow the pointer before Escape")
    session.run(["xdotool", "key", "Escape"])
    wait_for_geometry(session, window.id, host, pulled, "Escape to put the widget back")
    session.run(["xdotool", "mousemove", str(press[0] - 200), str(press[1] + 120), "mouseup", "1"])
    print(f"Escape mid-drag: the widget is back at {pulled[0]},{pulled[1]}")

    # A click after the drags: its link is the only one the handler gets, and
    # by then the drags have kept all they were going to keep.
    point = (85, 120)
    url = hit(session, snapshot, "small", *point)
    session.run(["xdotool", "mousemove", str(pulled[0] + point[0]), str(pulled[1] + point[1]), "click", "1"])
    opened = poll(session.opened_urls, 5, what="the click's link at the handler")
    if opened != [url]:
        raise ScenarioFailure(f"the handler got {opened}, expected only the click's {url}")
    if kept_at(session) != pulled:
        raise ScenarioFailure(f"desktop.ini keeps {kept_place(session)} after Escape, not the edge drag's place")
    wait_for_geometry(session, window.id, host, pulled, "the widget to stay after the release and the click")
    print(f"no drag opened a link; the click opened {url}; desktop.ini still keeps {pulled[0]},{pulled[1]}")
    stop_host(session, host)


if __name__ == "__main__":
    scenario.run("x11_drags", body)
