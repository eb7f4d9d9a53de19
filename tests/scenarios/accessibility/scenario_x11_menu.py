"""A person handles the widget under X11: its menu, a drag, a restart.

The host runs under Xvfb (no window manager: the work area is the screen)
with the accessibility bridge on, so that the menu's items are found by name
through AT-SPI, as a screen reader finds them, and chosen by their click
action. Checks, for one medium instance:
- a secondary click opens the menu, showing its items by name (screenshots
  of it, light and dark, beside the logs);
- "Taille" › "Petit" makes the window 170x170 at once, and at the next start;
- "Position" › "En bas à gauche" puts it in that corner of the work area,
  24 points from its edges;
- a drag moves it by the pointer's offset and opens no link; a click
  without moving opens the link under the pointer;
- the next start shows it with the same size at the same place;
- "Lancer à l’ouverture de session" writes the autostart entry; "Retirer le
  widget" on the last instance ends the host with status 0 and removes it.
"""

import configparser
import os
import subprocess
import sys
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent))

import scenario  # noqa: E402
from scenario_x11_accessibility import client, start_accessibility_bus, stop_accessibility_bus  # noqa: E402
from widget_checks import (SIZES, ScenarioFailure, expected_position, hit, host_windows, mean_luminance,  # noqa: E402
                           poll, require_running, sample_snapshot, screenshot, start_host, stop_host,
                           wait_for_geometry, window_geometry)

SCREEN = (1280, 800)
MARGIN = 24
TOP_ITEMS = ["Ouvrir kelpo", "Actualiser", "Taille", "Apparence", "Position", "Ajouter un widget",
             "Lancer à l’ouverture de session", "Retirer le widget"]
# The drag: from a point of the widget, by this many pixels, in steps.
DRAG = (230, -180)


def settings_file(session):
    return session.config_home / "app.kelpo.widget" / "desktop.ini"


def kept(session):
    """desktop.ini's groups, as a dict of dicts."""
    parser = configparser.ConfigParser(interpolation=None)
    parser.read_string(settings_file(session).read_text())
    return {name: dict(parser[name]) for name in parser.sections()}


def autostart_entry(session):
    return session.config_home / "autostart" / "kelpo-widget.desktop"


def the_window(session, host):
    (window,) = host_windows(session, host, 1)
    return window


# -- the menu --------------------------------------------------------------


def shown_menu(session, host):
    """After a secondary click: the menu and its items, once AT-SPI shows the
    menu on screen with every top item."""
    last = {}

    def check():
        require_running(session, host)
        found = client(session, "menus", str(host.pid)) or []
        last["found"] = found
        showing = [entry for entry in found if entry["role"] == "menu" and "showing" in entry["states"]
                   and not entry["names"]]
        top = [entry["names"][0] for entry in found if len(entry["names"]) == 1]
        return found if showing and all(name in top for name in TOP_ITEMS) else None

    try:
        return poll(check, 10, interval=0.2, what="the menu to show with its items")
    except ScenarioFailure as failure:
        screenshot(session).save(session.artifacts / "no-menu.png")
        names = [" › ".join(entry["names"]) or entry["role"] for entry in last.get("found", [])]
        raise ScenarioFailure(f"{failure}; AT-SPI finds {names}") from None


def open_menu(session, host, window):
    """A secondary click in the middle of the widget."""
    x, y = window.x + window.width // 2, window.y + window.height // 2
    session.run(["xdotool", "mousemove", str(x), str(y), "click", "3"])
    return shown_menu(session, host)


def menu_item(found, *names):
    matches = [entry for entry in found if entry["names"] == list(names)]
    if len(matches) != 1:
        raise ScenarioFailure(f"the menu has {len(matches)} items named {' › '.join(names)}")
    return matches[0]


def choose(session, host, *names):
    """Chooses an item as a person does: the pointer onto each item of the
    path in turn (each submenu opens as the pointer rests on its item), then
    a primary click on the last one. The items are found by name."""
    for depth in range(1, len(names) + 1):
        path = names[:depth]

        def shown_item():
            require_running(session, host)
            try:
                entry = menu_item(client(session, "menus", str(host.pid)) or [], *path)
            except ScenarioFailure:
                return None  # not there yet
            return entry if "showing" in entry["states"] and entry["extents"][2] > 0 else None

        entry = poll(shown_item, 10, interval=0.1, what=f"{' › '.join(path)} to show")
        x, y, width, height = entry["extents"]
        session.run(["xdotool", "mousemove", str(x + width // 2), str(y + height // 2)])
    session.run(["xdotool", "click", "1"])


def close_menu(session, host):
    session.run(["xdotool", "key", "Escape"])

    def closed():
        found = client(session, "menus", str(host.pid)) or []
        return not any(entry["role"] == "menu" and "showing" in entry["states"] for entry in found)

    poll(closed, 10, interval=0.2, what="the menu to close on Escape")


def save_menu_screenshot(session, found, label):
    """The top menu's rectangle on screen, saved as menu-<label>.png; returns
    the image."""
    (menu,) = [entry for entry in found if entry["role"] == "menu" and not entry["names"]]
    x, y, width, height = menu["extents"]
    if width < 50 or height < 100:
        raise ScenarioFailure(f"the menu's extents are {menu['extents']}")
    image = screenshot(session).crop(x, y, min(width, SCREEN[0] - x), min(height, SCREEN[1] - y))
    image.save(session.artifacts / f"menu-{label}.png")
    return image


def check_choices_shown(found, size, appearance):
    """The radio items mark the current size and appearance."""
    for names in (("Taille", size), ("Apparence", appearance)):
        item = menu_item(found, *names)
        if "checked" not in item["states"]:
            raise ScenarioFailure(f"{' › '.join(names)} is not marked as chosen: {item['states']}")
    for other in ("Petit", "Moyen"):
        if other != size and "checked" in menu_item(found, "Taille", other)["states"]:
            raise ScenarioFailure(f"Taille › {other} is marked as chosen too")


# -- the scenario ----------------------------------------------------------


def start_menu_session(session, framebuffer=False):
    """Xvfb, the session bus, a light portal, the accessibility bus (the
    product finds it as in a real session), the link handler and a sample
    snapshot: what the menu scenarios share. Returns the snapshot and the
    accessibility bus's processes, for stop_accessibility_bus."""
    session.start_xvfb(*SCREEN, framebuffer=framebuffer)
    session.start_session_bus()
    session.start_portal(0)
    del session.env["NO_AT_BRIDGE"]
    bus = start_accessibility_bus(session)
    session.register_link_handler()
    snapshot = sample_snapshot(session, gold=False)
    session.write_snapshot(snapshot)
    return snapshot, bus


def body(session):
    snapshot, (launcher, registry, daemons) = start_menu_session(session)

    host = start_host(session, ["medium"])
    window = the_window(session, host)
    expected = expected_position(SCREEN, SIZES["medium"], "top-right", MARGIN, 1)
    wait_for_geometry(session, window.id, host, expected, "the medium widget at the top right")

    # The menu, light: every item found by name, the current choices marked.
    found = open_menu(session, host, window)
    check_choices_shown(found, "Moyen", "Automatique")
    for names in (("Taille", "Petit"), ("Apparence", "Sombre"), ("Position", "En bas à gauche"),
                  ("Ajouter un widget", "Moyen")):
        menu_item(found, *names)
    light = save_menu_screenshot(session, found, "light")
    print(f"secondary click: the menu shows {len(found)} menus and items")

    # Taille › Petit: the same window becomes small at once, in its corner.
    choose(session, host, "Taille", "Petit")
    expected = expected_position(SCREEN, SIZES["small"], "top-right", MARGIN, 1)
    window = the_window(session, host)
    wait_for_geometry(session, window.id, host, expected, "the widget to become small")
    poll(lambda: kept(session).get("instance 1", {}).get("size") == "small", 5,
         what="desktop.ini to keep the small size")
    print(f"Taille › Petit: the window is {expected[2]}x{expected[3]} at {expected[0]},{expected[1]}")

    # Position › En bas à gauche.
    found = open_menu(session, host, window)
    check_choices_shown(found, "Petit", "Automatique")
    choose(session, host, "Position", "En bas à gauche")
    expected = expected_position(SCREEN, SIZES["small"], "bottom-left", MARGIN, 1)
    wait_for_geometry(session, window.id, host, expected, "the widget to move to the bottom left")
    print(f"Position › En bas à gauche: the window is at {expected[0]},{expected[1]}")

    # A drag moves it by the pointer's offset and opens nothing.
    grab = (expected[0] + 40, expected[1] + 40)
    steps = 12
    session.run(["xdotool", "mousemove", str(grab[0]), str(grab[1]), "mousedown", "1"])
    for step in range(1, steps + 1):
        session.run(["xdotool", "mousemove", str(grab[0] + DRAG[0] * step // steps),
                     str(grab[1] + DRAG[1] * step // steps)])
        time.sleep(0.03)
    session.run(["xdotool", "mouseup", "1"])
    dragged = (expected[0] + DRAG[0], expected[1] + DRAG[1], *SIZES["small"])
    wait_for_geometry(session, window.id, host, dragged, "the dragged widget to follow the pointer")
    time.sleep(1)  # a link opened by the release would have reached the handler by now
    if session.opened_urls():
        raise ScenarioFailure(f"the drag opened {session.opened_urls()}")
    # Dropped at 254,426 on 1280x800, its centre in the lower left quarter.
    dropped_place = {"corner": "bottom-left", "offset-x": "254", "offset-y": "204"}
    place = poll(lambda: all(kept(session).get("instance 1", {}).get(key) == value
                             for key, value in dropped_place.items()) and kept(session)["instance 1"],
                 5, what=f"desktop.ini to keep the dropped place {dropped_place}")
    print(f"drag by {DRAG}: the window is at {dragged[0]},{dragged[1]}, no link opened; kept as {place}")

    # A click without moving opens the link under the pointer.
    point = (85, 120)
    url = hit(session, snapshot, "small", *point)
    if not url.startswith("kelpo://"):
        raise ScenarioFailure(f"the small widget has no link at {point}: {url!r}")
    session.run(["xdotool", "mousemove", str(dragged[0] + point[0]), str(dragged[1] + point[1]), "click", "1"])
    opened = poll(session.opened_urls, 5, what="the click's link at the handler")
    if opened != [url]:
        raise ScenarioFailure(f"the click opened {opened}, expected {url}")
    wait_for_geometry(session, window.id, host, dragged, "the clicked widget to stay")
    print(f"click at {point} without moving: opened {url}")
    stop_host(session, host)

    # The next start, with no instance on the command line: the kept size
    # and place.
    host = start_host(session, [], label="host-again")
    window = the_window(session, host)
    wait_for_geometry(session, window.id, host, dragged, "the restarted widget at its kept size and place")
    print(f"restart: {dragged[2]}x{dragged[3]} at {dragged[0]},{dragged[1]}")

    # The menu, dark.
    found = open_menu(session, host, window)
    check_choices_shown(found, "Petit", "Automatique")
    choose(session, host, "Apparence", "Sombre")
    poll(lambda: kept(session).get("desktop", {}).get("appearance") == "dark", 5,
         what="desktop.ini to keep the dark appearance")
    found = open_menu(session, host, window)
    check_choices_shown(found, "Petit", "Sombre")
    dark = save_menu_screenshot(session, found, "dark")
    if not mean_luminance(dark) < mean_luminance(light) - 60:
        raise ScenarioFailure(f"the dark menu is not darker than the light one: mean luminance "
                              f"{mean_luminance(dark):.0f} against {mean_luminance(light):.0f}")
    print(f"menu luminance: light {mean_luminance(light):.0f}, dark {mean_luminance(dark):.0f}")
    close_menu(session, host)

    # Start at login, then remove the last widget.
    found = open_menu(session, host, window)
    login = menu_item(found, "Lancer à l’ouverture de session")
    if "checked" in login["states"]:
        raise ScenarioFailure("start at login is marked before it was chosen")
    choose(session, host, "Lancer à l’ouverture de session")
    entry = poll(lambda: autostart_entry(session).exists() and autostart_entry(session), 5,
                 what="the autostart entry")
    if "kelpo-widget" not in entry.read_text() or "desktop" not in entry.read_text():
        raise ScenarioFailure(f"the autostart entry does not start the host:\n{entry.read_text()}")
    found = open_menu(session, host, window)
    if "checked" not in menu_item(found, "Lancer à l’ouverture de session")["states"]:
        raise ScenarioFailure("start at login is not marked once the entry exists")
    choose(session, host, "Retirer le widget")
    try:
        status = host.wait(10)
    except subprocess.TimeoutExpired:
        raise ScenarioFailure("the host still runs 10 s after its last widget was removed") from None
    session.stop(host)
    if status != 0:
        raise ScenarioFailure(f"the host ended with status {status}:\n" + session.log_text("host-again"))
    if autostart_entry(session).exists():
        raise ScenarioFailure("the autostart entry is left after the last widget was removed")
    print("Retirer le widget: the host ended with status 0, the autostart entry is gone")
    stop_accessibility_bus(session, launcher, registry, daemons)


if __name__ == "__main__":
    # More steps than the other scenarios, and two starts of the host.
    os.environ.setdefault("KELPO_DESKTOP_SCENARIO_SECONDS", "170")
    scenario.run("x11_menu", body)
