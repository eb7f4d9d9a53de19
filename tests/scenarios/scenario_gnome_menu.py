"""GNOME on Wayland: the widget's menu closes as menus do, although the
widget is an X11 window whose menu's grab mutter keeps from the shell and
from Wayland clients. A secondary click on the widget opens the menu; it
closes on a click on the desktop, on a click on another window (a Wayland
one), on a click on the top bar and on Escape; after each, the next primary
click on the second row opens its link. Once it closed, a click on another
window gives that window the focus. Screenshots of the menu open and
closed are kept beside the logs."""

import subprocess
import sys
import time

import scenario
from desktop_session import poll
from gnome_shell import GnomeShell
from widget_checks import (SIZES, ScenarioFailure, read_image, sample_shown_medium, start_host, tree_links,
                           wait_for_report)

SCREEN = (1280, 800)
MARGIN = 24
# mutter's type for a popup menu (MetaWindowType).
POPUP_MENU = 10
OTHER = "kelpo scenario window"
# A Wayland client of the shell's: an ordinary GTK window, placed by mutter.
OTHER_WINDOW = ("import gi; gi.require_version('Gtk', '3.0'); from gi.repository import Gtk;"
                f"w = Gtk.Window(title={OTHER!r}); w.set_default_size(240, 160);"
                "w.connect('destroy', Gtk.main_quit); w.show_all(); Gtk.main()")


def window_titled(shell, title):
    found = [window for window in shell.windows() if window["title"] == title]
    return found[0] if found else None


def menu_shows(shell):
    return any(window["type"] == POPUP_MENU for window in shell.windows())


def focused_title(shell):
    return shell.eval("const w = global.display.focus_window; return w ? w.get_title() : null;")


def save_screen(shell, session, name):
    path = session.artifacts / f"{name}.png"
    read_image(shell.screenshot(name).read_bytes()).save(path)
    return path


def body(session):
    shell = GnomeShell(session, *SCREEN)
    session.start_portal()
    snapshot, _ = sample_shown_medium(session)
    links, _ = tree_links(session, snapshot, "medium")
    other = session.start("other-window", [sys.executable, "-c", OTHER_WINDOW],
                          env=dict(session.env, GDK_BACKEND="wayland"))
    host = start_host(session, ["medium"], ["--corner", "top-right", "--margin", str(MARGIN)])
    widget = poll(lambda: host.poll() is None and window_titled(shell, "kelpo"), 15, interval=0.1,
                  what="the widget's window")
    # Placed, not only known: mutter lists a new window at 0,0 with no size
    # until it has placed it, and a click there would land on the top bar.
    window = poll(lambda: other.poll() is None and (lambda found: found if found and found["width"] > 0 and
                                                    found["y"] > 0 else None)(window_titled(shell, OTHER)),
                  15, interval=0.1, what="the other window placed")
    width, height = SIZES["medium"]
    if window["x"] + window["width"] > widget["x"] and window["y"] < widget["y"] + height:
        raise ScenarioFailure(f"the other window {window} covers the widget {widget}")
    row = widget["x"] + round(links[1].centre()[0]), widget["y"] + round(links[1].centre()[1])
    middle = widget["x"] + width // 2, widget["y"] + height // 2

    def open_row(what):
        """A primary click on the second row opens its link, once."""
        before = len(session.opened_urls())
        shell.click(*row)
        try:
            opened = poll(lambda: session.opened_urls()[before:], 3, interval=0.05,
                          what=f"the second row's link after {what}")
        except ScenarioFailure:
            save_screen(shell, session, "row-missed")
            raise ScenarioFailure(f"after {what}, the click on the second row opened nothing "
                                  "(screen in row-missed.png)") from None
        if opened != [links[1].url]:
            raise ScenarioFailure(f"after {what}, the second row opened {opened}, expected {links[1].url}")

    # The window maps before its first frame and input shape: the first
    # click waits for the host's word that its first frame is on screen.
    wait_for_report(session, host)
    open_row("the widget showed")

    closers = (
        ("a click on the desktop", "desktop", lambda: shell.click(SCREEN[0] // 2, SCREEN[1] - 100)),
        ("a click on another window", "other-window",
         lambda: shell.click(window["x"] + window["width"] // 2, window["y"] + window["height"] // 2)),
        ("a click on the top bar", "top-bar", lambda: shell.click(SCREEN[0] // 2, 10)),
        ("Escape", "escape", lambda: shell.key("Escape")),
    )
    for what, label, close in closers:
        shell.click(*middle, button="SECONDARY")
        try:
            poll(lambda: menu_shows(shell), 5, interval=0.05, what=f"the menu to open before {what}")
        except ScenarioFailure:
            save_screen(shell, session, "no-menu")
            raise
        print(f"menu open ({save_screen(shell, session, f'menu-open-{label}')})")
        close()
        try:
            poll(lambda: not menu_shows(shell), 3, interval=0.05, what=f"the menu to close on {what}")
        finally:
            print(f"after {what}: {save_screen(shell, session, f'menu-closed-{label}')}")
        open_row(what)
        print(f"the menu closed on {what}; the next click on the second row opened its link")
    # The widget held the focus only while its menu showed: a click on
    # another window still gives that window the focus.
    shell.click(window["x"] + window["width"] // 2, window["y"] + window["height"] // 2)
    poll(lambda: focused_title(shell) == OTHER, 3, interval=0.05,
         what="the focus on the other window after a click on it")
    if "XWayland" not in session.log_text("host"):
        raise ScenarioFailure("the host did not take the XWayland route:\n" + session.log_text("host"))


if __name__ == "__main__":
    scenario.run("gnome-menu", body)
