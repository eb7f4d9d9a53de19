"""The widget under X11 window managers and compositors, seen in Xvfb's
framebuffer (what the compositor painted):
  kwin-corners   KWin composites and paints desktop windows opaque: the
                 corners still show the desktop window below (plasmashell's
                 stand-in), and the edge is not blended with black; so too
                 while KWin suspends compositing and after it resumes.
  toggle         picom (over openbox) stops and starts again while the widget
                 shows: each time the corners show the desktop.
  late-desktop   another program's desktop window maps after the widget: the
                 widget stays visible above it, and an ordinary window opened
                 over the widget still covers it."""

import argparse
import subprocess
import time

import scenario
from desktop_session import poll
from widget_checks import (ScenarioFailure, corners_show_root, dark_fringe, host_windows, render_reference,
                           sample_snapshot, start_host, stop_host, wait_for_pixels)
from x11_desktops import background, framebuffer, start_compositor, start_manager, stop_compositor

SCREEN = (1280, 800)
COVER = (0xCC, 0x22, 0x22)


def shown_correctly(session, host, reference, label, corners=True):
    """Waits until the framebuffer shows the widget as rendered, then checks
    its corners and edge against the desktop colour; returns its window."""
    (window,) = host_windows(session, host, 1)
    grab = lambda: framebuffer(session).crop(window.x, window.y, window.width, window.height)  # noqa: E731
    found = wait_for_pixels(session, None, reference, 10, label, grab=grab, host=host)
    if not corners:
        print(f"{label}: {found}")
        return window
    # The widget may be drawn before what lies under its corners is (a
    # desktop window that has just mapped): the corners get a few seconds.
    deadline = time.monotonic() + 5
    while True:
        shown = grab()
        outside = corners_show_root(shown, 1)
        if not outside:
            break
        if time.monotonic() > deadline:
            raise ScenarioFailure(f"{label}: the corners at {outside} do not show the desktop "
                                  f"({[shown.pixel(*point) for point in outside]})")
        time.sleep(0.05)
    fringe, edge = dark_fringe(shown, reference)
    if fringe > edge // 50:
        raise ScenarioFailure(f"{label}: {fringe} of {edge} edge pixels are blended with black")
    print(f"{label}: {found}; corners show the desktop, {fringe} of {edge} edge pixels dark")
    return window


def kwin_bus(session):
    from gi.repository import Gio
    return Gio.DBusConnection.new_for_address_sync(
        session.env["DBUS_SESSION_BUS_ADDRESS"],
        Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)


def kwin_call(bus, method):
    from gi.repository import Gio
    return bus.call_sync("org.kde.KWin", "/Compositor", "org.kde.kwin.Compositing", method, None, None,
                         Gio.DBusCallFlags.NONE, 10000, None)


def await_kwin_compositing(bus, active, what):
    """KWin keeps the compositing selection while suspended: the scenario
    waits on KWin's own word."""
    from gi.repository import Gio, GLib

    def compositing():
        return bus.call_sync("org.kde.KWin", "/Compositor", "org.freedesktop.DBus.Properties", "Get",
                             GLib.Variant("(ss)", ("org.kde.kwin.Compositing", "active")), None,
                             Gio.DBusCallFlags.NONE, 10000, None).unpack()[0]

    poll(lambda: compositing() == active, 10, interval=0.05, what=f"KWin to {what} compositing")


def suspend_kwin_compositing(session):
    """Suspends KWin's compositing, as Alt+Shift+F12 does: through KWin 5's
    D-Bus interface, else (KWin 6 offers no such method) by a window that
    asks KWin to block compositing while it lives. Returns that window's
    process (None on KWin 5), for resume_kwin_compositing."""
    from gi.repository import GLib
    bus = kwin_bus(session)
    blocker = None
    try:
        kwin_call(bus, "suspend")
    except GLib.Error as error:
        if "UnknownMethod" not in error.message:
            raise
        blocker = session.start("blocker", ["xlogo", "-name", "kelpo-blocker", "-geometry", "20x20+0+0"])
        found = subprocess.run(["xdotool", "search", "--sync", "--classname", "kelpo-blocker"], env=session.env,
                               capture_output=True, text=True, timeout=10, check=True).stdout.split()
        subprocess.run(["xprop", "-id", found[0], "-f", "_KDE_NET_WM_BLOCK_COMPOSITING", "32c", "-set",
                        "_KDE_NET_WM_BLOCK_COMPOSITING", "1"], env=session.env, check=True, timeout=10)
    await_kwin_compositing(bus, False, "suspend")
    return blocker


def resume_kwin_compositing(session, blocker):
    bus = kwin_bus(session)
    if blocker is None:
        kwin_call(bus, "resume")
    else:
        session.stop(blocker)
    await_kwin_compositing(bus, True, "resume")


def kwin_corners(session, host_start, reference):
    start_manager(session, "kwin", composited=True)
    background(session, "desktop-window", "desktop-window")
    host = host_start()
    shown_correctly(session, host, reference, "kwin-composited")
    blocker = suspend_kwin_compositing(session)
    shown_correctly(session, host, reference, "kwin-suspended")
    resume_kwin_compositing(session, blocker)
    shown_correctly(session, host, reference, "kwin-resumed")
    return host


def toggle(session, host_start, reference):
    start_manager(session, "openbox")
    background(session, "root-pixmap", "root-pixmap")
    picom = start_compositor(session, "picom")
    host = host_start()
    shown_correctly(session, host, reference, "picom-running")
    stop_compositor(session, picom)
    shown_correctly(session, host, reference, "picom-stopped")
    start_compositor(session, "picom")
    shown_correctly(session, host, reference, "picom-started-again")
    return host


def late_desktop(manager):
    def run(session, host_start, reference):
        start_manager(session, manager)
        background(session, "root-pixmap", "root-pixmap")
        host = host_start()
        # Until a desktop window maps, KWin paints black and mutter its own
        # background around the widget: only the widget itself is checked.
        window = shown_correctly(session, host, reference, f"{manager}-before-desktop", corners=False)
        background(session, "desktop-window", "desktop-window")
        shown_correctly(session, host, reference, f"{manager}-after-desktop")
        colour = "#%02x%02x%02x" % COVER
        session.start("cover", ["xlogo", "-bg", colour, "-fg", colour, "-geometry",
                                f"100x60+{window.x + 120}+{window.y + 50}"])

        def covered():
            screen = framebuffer(session)
            return all(screen.pixel(window.x + x, window.y + y)[:3] == COVER for x, y in ((150, 95), (200, 105)))

        try:
            poll(covered, 10, interval=0.1, what="an ordinary window to cover the widget")
        finally:
            framebuffer(session).save(session.artifacts / "screen-cover.png")
        print(f"{manager}: an ordinary window opened later covers the widget")
        return host
    return run


CASES = {"kwin-corners": kwin_corners, "toggle": toggle}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("case", choices=[*CASES, "late-desktop"])
    parser.add_argument("--wm", default="openbox")
    options = parser.parse_args()
    case = late_desktop(options.wm) if options.case == "late-desktop" else CASES[options.case]

    def body(session):
        session.start_xvfb(*SCREEN, framebuffer=True)
        session.start_session_bus()
        session.start_portal()
        snapshot = sample_snapshot(session)
        session.write_snapshot(snapshot)
        reference = render_reference(session, snapshot, "medium", "light", 1, "medium-light")
        host = case(session, lambda: start_host(session, ["medium"], ["--corner", "top-right"]), reference)
        framebuffer(session).save(session.artifacts / "screen.png")
        stop_host(session, host)

    name = options.case + (f"-{options.wm}" if options.case == "late-desktop" else "")
    scenario.run(f"x11-{name}", body)


if __name__ == "__main__":
    main()
