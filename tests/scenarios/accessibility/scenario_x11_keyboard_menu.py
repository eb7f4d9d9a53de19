"""The widget's menu from the keyboard, under openbox on Xvfb, with the
accessibility bridge on. A small GTK window stands for the window a person
types in. Checks, for one medium instance:
- the widget shows without taking the focus, and a click on it (which opens
  its link) leaves the focus on the other window;
- its frame, found through AT-SPI, is focusable; grabFocus() on it answers
  true, and the frame becomes focused with the X keyboard focus on it;
- the Menu key opens its menu (found through AT-SPI) with the first item
  selected; Escape closes it, the focus staying on the widget; Shift+F10
  opens it again; Return opens the widget's own link;
- once the focus goes back to the other window, a click on the widget no
  longer takes it.
"""

import os
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent))

import scenario  # noqa: E402
from scenario_x11_accessibility import client, start_accessibility_bus, stop_accessibility_bus  # noqa: E402
from scenario_x11_menu import close_menu, shown_menu, start_menu_session, the_window, wait_for_geometry  # noqa: E402
from widget_checks import (SIZES, ScenarioFailure, expected_position, hit, poll, require_running,  # noqa: E402
                           sample_snapshot, start_host, stop_host)
from x11_desktops import start_manager  # noqa: E402

SCREEN = (1280, 800)
WIDGET_LINK = "kelpo://inbox"  # the sample's, which the frame's click action opens too
MARGIN = 24
PYTHON = os.environ.get("KELPO_TEST_PYTHON", sys.executable)
TYPIST_TITLE = "kelpo-typist"
# A GTK window a person would type in, away from the widget's corner.
TYPIST = f"""
import gi
gi.require_version("Gtk", "3.0")
from gi.repository import Gtk
window = Gtk.Window(title="{TYPIST_TITLE}")
window.set_default_size(320, 200)
window.move(80, 400)
window.add(Gtk.Entry())
window.connect("destroy", Gtk.main_quit)
window.show_all()
Gtk.main()
"""
# Where the widget is clicked: a point of the medium widget with a link, so
# that the link reaching the handler tells the click was handled.
CLICK_CANDIDATES = [(40, 40), (85, 120), (182, 85), (300, 40), (200, 120)]


def focused_window(session):
    """The X keyboard focus, as the top-level window xdotool reports."""
    return session.run(["xdotool", "getwindowfocus"]).decode().strip()


def active_window(session):
    """The window manager's _NET_ACTIVE_WINDOW, in decimal, or None."""
    text = session.run(["xprop", "-root", "_NET_ACTIVE_WINDOW"]).decode()
    word = text.rsplit(" ", 1)[-1].strip()
    return str(int(word, 16)) if word.startswith("0x") and int(word, 16) != 0 else None


def wait_for_focus(session, window_id, what, host=None):
    last = {}

    def check():
        if host is not None:
            require_running(session, host)
        last["seen"] = (focused_window(session), active_window(session))
        return last["seen"] == (window_id, window_id)

    try:
        poll(check, 10, interval=0.05, what=what)
    except ScenarioFailure as failure:
        raise ScenarioFailure(f"{failure}: the focus (X, manager) is on {last.get('seen')}, "
                              f"expected {window_id}") from None


def require_focus(session, window_id, what):
    """The focus is on `window_id` now: for a focus that must not have moved,
    checked once after the fact that would have moved it."""
    seen = (focused_window(session), active_window(session))
    if seen != (window_id, window_id):
        raise ScenarioFailure(f"{what}: the focus (X, manager) is on {seen}, expected {window_id}")


def start_typist(session):
    process = session.start("typist", [PYTHON, "-c", TYPIST])

    def mapped():
        if process.poll() is not None:
            raise ScenarioFailure("the typist window exited: " + session.log_text("typist"))
        result = session.run(["xdotool", "search", "--onlyvisible", "--name", TYPIST_TITLE], check=False)
        ids = result.decode().split()
        return ids[0] if ids else None

    typist = poll(mapped, 10, interval=0.05, what="the typist window to map")
    wait_for_focus(session, typist, "openbox to focus the new typist window")
    return process, typist


def frame_path(session, host):
    """The index of the widget's frame among the host's accessible windows."""
    windows = poll(lambda: client(session, "tree", str(host.pid)), 10, interval=0.2,
                   what="the host's windows through AT-SPI")
    frames = [index for index, window in enumerate(windows) if window["role"] == "frame"]
    if len(frames) != 1:
        raise ScenarioFailure(f"AT-SPI finds {len(frames)} frames: {[w['role'] for w in windows]}")
    return str(frames[0]), windows[frames[0]]


def frame_states(session, host, path):
    return client(session, "tree", str(host.pid))[int(path)]["states"]


def click_widget(session, window, point, clicks_before):
    """A primary click at `point` of the widget; returns once its link is at
    the handler, so the click has been handled."""
    session.run(["xdotool", "mousemove", str(window.x + point[0]), str(window.y + point[1]), "click", "1"])
    poll(lambda: len(session.opened_urls()) > clicks_before, 10, interval=0.05, what="the click's link at the handler")


def open_by_key(session, host, key):
    session.run(["xdotool", "key", key])
    found = shown_menu(session, host)
    selected = [entry["names"] for entry in found if "selected" in entry["states"]]
    if selected != [["Ouvrir kelpo"]]:
        raise ScenarioFailure(f"{key}: the menu opened with {selected} selected, expected the first item")
    print(f"{key}: the menu shows, its first item selected")


def body(session):
    snapshot, (launcher, registry, daemons) = start_menu_session(session)
    start_manager(session, "openbox")
    typist_process, typist = start_typist(session)

    host = start_host(session, ["medium"])
    window = the_window(session, host)
    expected = expected_position(SCREEN, SIZES["medium"], "top-right", MARGIN, 1)
    wait_for_geometry(session, window.id, host, expected, "the medium widget at the top right")
    point = next((p for p in CLICK_CANDIDATES if hit(session, snapshot, "medium", *p).startswith("kelpo://")), None)
    if point is None:
        raise ScenarioFailure(f"the medium widget has no link at any of {CLICK_CANDIDATES}")

    # Shown, then clicked: the focus stays where a person types.
    path, frame = frame_path(session, host)
    require_focus(session, typist, "the widget shown")
    click_widget(session, window, point, 0)
    require_focus(session, typist, "a click on the widget")
    print(f"a click at {point} opened {session.opened_urls()[-1]}, the focus stays on the typist window")

    # A screen reader puts the focus on the widget.
    if "focusable" not in frame["states"]:
        raise ScenarioFailure(f"the widget's frame is not focusable: {frame['states']}")
    answer = client(session, "focus", str(host.pid), path)
    if not answer.get("granted"):
        raise ScenarioFailure(f"grabFocus() on the widget's frame answered {answer}")
    wait_for_focus(session, window.id, "the widget window to get the keyboard focus", host)
    poll(lambda: "focused" in frame_states(session, host, path), 10, interval=0.1,
         what="the widget's frame to read as focused")
    print("grabFocus(): granted; the widget window has the focus, its frame reads as focused")

    # The keyboard's menu.
    open_by_key(session, host, "Menu")
    close_menu(session, host)
    wait_for_focus(session, window.id, "the focus to stay on the widget after Escape", host)
    poll(lambda: "focused" in frame_states(session, host, path), 10, interval=0.1,
         what="the widget's frame to read as focused again")
    print("Escape: the menu closed, the focus is back on the widget")
    open_by_key(session, host, "shift+F10")
    close_menu(session, host)
    wait_for_focus(session, window.id, "the focus to stay on the widget after the second Escape", host)
    session.run(["xdotool", "key", "Return"])
    poll(lambda: len(session.opened_urls()) == 2, 10, interval=0.05, what="Return's link at the handler")
    if session.opened_urls()[-1] != WIDGET_LINK:
        raise ScenarioFailure(f"Return opened {session.opened_urls()[-1]}, expected {WIDGET_LINK}")
    print(f"Return on the focused widget: opened {WIDGET_LINK}")

    # The focus back on the typist window: clicks on the widget leave it there.
    typist_geometry = session.run(["xdotool", "getwindowgeometry", "--shell", typist]).decode()
    values = dict(line.split("=", 1) for line in typist_geometry.split())
    session.run(["xdotool", "mousemove", str(int(values["X"]) + 40), str(int(values["Y"]) + 40), "click", "1"])
    wait_for_focus(session, typist, "a click on the typist window to take the focus back", host)
    poll(lambda: "focused" not in frame_states(session, host, path), 10, interval=0.1,
         what="the widget's frame to read as no longer focused")
    click_widget(session, window, point, 2)
    require_focus(session, typist, "a click on the widget after the focus went back")
    print("after the focus went back: a click on the widget leaves the focus on the typist window")

    stop_host(session, host)
    session.stop(typist_process)
    stop_accessibility_bus(session, launcher, registry, daemons)


if __name__ == "__main__":
    os.environ.setdefault("KELPO_DESKTOP_SCENARIO_SECONDS", "80")
    scenario.run("x11_keyboard_menu", body)
