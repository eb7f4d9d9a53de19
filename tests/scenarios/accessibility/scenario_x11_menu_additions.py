"""A person adds widgets from one widget's menu under X11, six times.

The host starts with `desktop --family small --family medium` on a 1280x800
Xvfb (no window manager: the work area is the screen), the accessibility
bridge on so that the menu's items are found by name. "Ajouter un widget" ›
"Petit" is chosen six times from the first (small) widget's menu. Checks:
- each choice maps one more window, and desktop.ini keeps one more instance;
- no two of the eight windows overlap or come closer than the margin, all
  wholly on the screen;
- desktop.ini's places give the windows' rectangles;
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
from scenario_x11_menu import choose, kept, open_menu, wait_for_geometry  # noqa: E402
from widget_checks import (SIZES, ScenarioFailure, expected_position, host_windows, kept_frame,  # noqa: E402
                           poll, read_xwd, sample_snapshot, start_host, stop_host, window_geometry)

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


def kept_rectangles(session):
    """The rectangles desktop.ini's instances give: their own place, else
    stacked at the top right below the ones before them."""
    found = []
    stacked = 0
    for name, group in sorted(kept(session).items()):
        if not name.startswith("instance "):
            continue
        size = SIZES[group["size"]]
        if "offset-x" in group:
            found.append(kept_frame(group, (0, 0, *SCREEN), size))
            continue
        x, y, width, height = expected_position(SCREEN, size, "top-right", MARGIN, 1)
        found.append((x, y + stacked, width, height))
        stacked += height + MARGIN
    return found


def body(session):
    session.start_xvfb(*SCREEN, framebuffer=True)
    session.start_session_bus()
    session.start_portal(0)
    del session.env["NO_AT_BRIDGE"]
    launcher, registry, daemons = start_accessibility_bus(session)
    session.register_link_handler()
    session.write_snapshot(sample_snapshot(session, gold=False))

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
        poll(lambda: len(kept_rectangles(session)) == count, 5,
             what=f"desktop.ini to keep {count} instances")
        # The new window may map before it moves to its place: the check is
        # on where the windows settle, as desktop.ini says.
        last = {}

        def settled():
            shown = sorted(rectangle(window) for window in host_windows(session, host, count))
            last["shown"] = shown
            return shown if len(shown) == count and shown == sorted(kept_rectangles(session)) else None

        try:
            shown = poll(settled, 10, interval=0.05, what=f"{count} windows where desktop.ini puts them")
        except ScenarioFailure as failure:
            raise ScenarioFailure(f"{failure}: shown {last.get('shown')}, kept "
                                  f"{sorted(kept_rectangles(session))}") from None
        if faults := crowded(shown):
            raise ScenarioFailure(f"after addition {count - 2}: " + "; ".join(faults))
        print(f"addition {count - 2}: {count} windows, none within {MARGIN} of another: {shown}")

    shutil.copy(session.framebuffer_dir / "Xvfb_screen0", session.artifacts / "additions.xwd")
    read_xwd((session.framebuffer_dir / "Xvfb_screen0").read_bytes()).save(session.artifacts / "additions.png")
    stop_host(session, host)
    stop_accessibility_bus(session, launcher, registry, daemons)


if __name__ == "__main__":
    os.environ.setdefault("KELPO_DESKTOP_SCENARIO_SECONDS", "170")
    scenario.run("x11_menu_additions", body)
