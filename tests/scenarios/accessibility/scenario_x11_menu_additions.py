"""A person adds widgets from one widget's menu under X11, six times.

The host starts with `desktop --family small --family medium` on a 1280x800
Xvfb (no window manager: the work area is the screen), the accessibility
bridge on so that the menu's items are found by name. "Ajouter un widget" ›
"Petit" is chosen six times from the first (small) widget's menu. Checks:
- each choice maps one more window, and desktop.ini keeps one more instance;
- no two of the eight windows overlap or come closer than the margin, all
  wholly on the screen;
- "Taille" › "Moyen" on the first widget, which has a neighbour on its
  left where it would grow: it grows elsewhere, and the eight are still
  apart;
- the next start shows the eight widgets where they were: desktop.ini kept
  their places;
- the screen as Xvfb shows it is saved as additions.png.
"""

import os
import shutil
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent))

import scenario  # noqa: E402
from scenario_x11_accessibility import start_accessibility_bus, stop_accessibility_bus  # noqa: E402
from scenario_x11_menu import choose, kept, open_menu, start_menu_session, wait_for_geometry  # noqa: E402
from widget_checks import (SIZES, ScenarioFailure, expected_position, host_windows, poll, read_xwd,  # noqa: E402
                           sample_snapshot, start_host, stop_host, window_geometry)

SCREEN = (1280, 800)
MARGIN = 24
ADDITIONS = 6


def rectangle(window):
    return window.x, window.y, window.width, window.height


def apart(a, b):
    """At least the margin between two rectangles (x, y, width, height)."""
    return (a[0] + a[2] + MARGIN <= b[0] or b[0] + b[2] + MARGIN <= a[0] or
            a[1] + a[3] + MARGIN <= b[1] or b[1] + b[3] + MARGIN <= a[1])


def crowded(rectangles):
    """The pairs closer than the margin, and the rectangles off the screen."""
    faults = [f"{a} and {b} closer than {MARGIN}" for i, a in enumerate(rectangles)
              for b in rectangles[:i] if not apart(a, b)]
    faults += [f"{r} off the screen" for r in rectangles
               if r[0] < 0 or r[1] < 0 or r[0] + r[2] > SCREEN[0] or r[1] + r[3] > SCREEN[1]]
    return faults


def instances_kept(session):
    return sum(1 for name in kept(session) if name.startswith("instance "))


def settled_apart(session, host, count):
    """The `count` windows once none is closer than the margin to another: a
    new window may map before it moves to its place, and lands apart only
    there."""
    last = {}

    def apart_now():
        shown = sorted(rectangle(window) for window in host_windows(session, host, count))
        last["shown"] = shown
        return shown if len(shown) == count and not crowded(shown) else None

    try:
        return poll(apart_now, 10, interval=0.05, what=f"{count} windows apart from each other")
    except ScenarioFailure as failure:
        shown = last.get("shown", [])
        raise ScenarioFailure(f"{failure}: " + "; ".join(crowded(shown) or [str(shown)])) from None


def body(session):
    _, (launcher, registry, daemons) = start_menu_session(session, framebuffer=True)

    host = start_host(session, ["small", "medium"])
    small_at = expected_position(SCREEN, SIZES["small"], "top-right", MARGIN, 1)
    first = next(window for window in host_windows(session, host, 2) if window.width == SIZES["small"][0])
    wait_for_geometry(session, first.id, host, small_at, "the small widget at the top right")

    for count in range(3, 3 + ADDITIONS):
        found = open_menu(session, host, window_geometry(session, first.id))
        if "sensitive" not in next(entry for entry in found
                                   if entry["names"] == ["Ajouter un widget", "Petit"])["states"]:
            raise ScenarioFailure(f"Ajouter un widget › Petit cannot be chosen with {count - 1} widgets")
        choose(session, host, "Ajouter un widget", "Petit")
        host_windows(session, host, count)
        poll(lambda: instances_kept(session) == count, 5, what=f"desktop.ini to keep {count} instances")
        shown = settled_apart(session, host, count)
        print(f"addition {count - 2}: {count} windows, none within {MARGIN} of another: {shown}")

    # The first widget made medium: in its corner it would grow over the
    # first addition, on its left.
    open_menu(session, host, window_geometry(session, first.id))
    choose(session, host, "Taille", "Moyen")
    poll(lambda: window_geometry(session, first.id).width == SIZES["medium"][0], 5,
         what="the first widget to be medium")
    shown = settled_apart(session, host, count)
    print(f"the first widget made medium: at {rectangle(window_geometry(session, first.id))}, "
          f"none within {MARGIN} of another")

    shutil.copy(session.framebuffer_dir / "Xvfb_screen0", session.artifacts / "additions.xwd")
    read_xwd((session.framebuffer_dir / "Xvfb_screen0").read_bytes()).save(session.artifacts / "additions.png")
    stop_host(session, host)

    # The next start, from desktop.ini alone: every widget where it was.
    host = start_host(session, [], label="host-again")
    count = 2 + ADDITIONS
    try:
        poll(lambda: sorted(rectangle(window) for window in host_windows(session, host, count)) == shown,
             10, interval=0.05, what="the restarted widgets where they were")
    except ScenarioFailure as failure:
        again = sorted(rectangle(window) for window in host_windows(session, host, count))
        raise ScenarioFailure(f"{failure}: before {shown}, after {again}") from None
    print(f"restart: the {count} widgets where they were")
    stop_host(session, host)
    stop_accessibility_bus(session, launcher, registry, daemons)


if __name__ == "__main__":
    os.environ.setdefault("KELPO_DESKTOP_SCENARIO_SECONDS", "170")
    scenario.run("x11_menu_additions", body)
