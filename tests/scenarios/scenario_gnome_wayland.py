"""GNOME on Wayland (gnome-shell 43, no layer-shell): the widget is a
desktop window through XWayland, at the asked corner of the work area (clear
of the top bar), below an ordinary window opened before it and one opened
after it, also after a click on it, on every workspace, out of the task
switcher, with transparent corners; a click on its second row, from the
shell's own virtual pointer, opens that item's link. With --scale 1.5, on
a monitor mutter scales by 1.5: the widget keeps its logical place and size
and the host reports the monitor's scale, which it asks of mutter (X11 has
no scale per monitor). mutter 47 and later have XWayland draw X11 windows
at 2 (xwayland-native-scaling), and the widget is sharp; mutter 43 (Debian
12) has no such feature and enlarges X11 windows drawn at 1, which the
scenario checks as such."""

import argparse

import scenario
from desktop_session import poll
from gnome_shell import GnomeShell
from widget_checks import (SIZES, ScenarioFailure, check_monitor_scale, matches, read_image, sample_shown_medium,
                           start_host, stop_host, tree_links, wait_for_report, wait_for_sharp)

SCREEN = (1280, 800)
MARGIN = 24
# Ordinary windows in one solid colour, so that where they cover the widget
# shows.
COVER = (0xCC, 0x22, 0x22)


def widget_window(shell):
    found = [window for window in shell.windows() if window["title"] == "kelpo"]
    return found[0] if found else None


def open_cover(session, label, x, y):
    """An ordinary X11 window of 80x30 whose frame (a title bar of some 37
    rows, then the window) starts at x, y."""
    colour = "#%02x%02x%02x" % COVER
    session.start(label, ["xlogo", "-bg", colour, "-fg", colour, "-geometry", f"80x30+{x}+{y}"])


def check_stacking(shell, covers):
    windows = shell.windows()
    titles = [window["title"] for window in windows]
    if "kelpo" not in titles:
        raise ScenarioFailure(f"the widget is not among the shell's windows: {titles}")
    widget = titles.index("kelpo")
    listed = [window for window in windows if window["tab"]]
    if windows[widget]["tab"]:
        raise ScenarioFailure(f"the widget is in the task switcher's list: {[w['title'] for w in listed]}")
    if len(listed) < covers:
        raise ScenarioFailure(f"the task switcher lists {len(listed)} windows, expected the {covers} covers")
    above = [index for index, window in enumerate(windows) if window["title"] == "xlogo"]
    if len(above) < covers or min(above) < widget:
        raise ScenarioFailure(f"an ordinary window stacks below the widget: {titles} (bottom to top)")
    if windows[widget]["type"] != 1 or not windows[widget]["sticky"]:
        raise ScenarioFailure(f"the widget is no desktop window on every workspace: {windows[widget]}")


def body(session):
    shell = GnomeShell(session, *SCREEN)
    session.start_portal()
    snapshot, reference = sample_shown_medium(session)
    links, _ = tree_links(session, snapshot, "medium")
    # The top bar reserves its rows once the shell has laid it out.
    area = poll(lambda: (lambda found: found if found[1] > 0 else None)(shell.work_area()), 10, interval=0.1,
                what="the shell's top bar to reserve its rows")
    width, height = SIZES["medium"]
    x, y = area[0] + area[2] - MARGIN - width, area[1] + MARGIN
    link_x, link_y = links[1].centre()
    # The covers take the widget's middle band, on the half away from the
    # second row, so that its corners, and the row, stay visible.
    cover_x = x + (20 if link_x > width / 2 else width - 190)
    cover_y = y + 50
    open_cover(session, "cover-before", cover_x, cover_y)
    poll(lambda: sum(window["title"] == "xlogo" for window in shell.windows()) == 1, 10, what="the first cover")

    host = start_host(session, ["medium"], ["--corner", "top-right", "--margin", str(MARGIN)])
    shown = poll(lambda: host.poll() is None and widget_window(shell), 15, interval=0.1, what="the widget's window")
    if (shown["x"], shown["y"]) != (x, y):
        raise ScenarioFailure(f"the widget is at {shown['x']},{shown['y']}, expected {x},{y} in work area {area}")
    check_stacking(shell, 1)
    print(f"desktop window at {x},{y} in work area {area}, below the first cover, out of the task switcher")

    # The window maps before its first frame and input shape: the click
    # waits for the host's word that its first frame is on screen.
    wait_for_report(session, host)
    shell.click(x + round(link_x), y + round(link_y))
    try:
        opened = poll(session.opened_urls, 5, what="the handler to get the second row's link")
    except ScenarioFailure:
        read_image(shell.screenshot("missed-click").read_bytes()).save(session.artifacts / "missed-click.png")
        raise ScenarioFailure(f"the click at {x + round(link_x)},{y + round(link_y)} opened nothing "
                              "(screen in missed-click.png)") from None
    if opened != [links[1].url]:
        raise ScenarioFailure(f"a click on the second row opened {opened}, expected {links[1].url}")
    print(f"click on the second row opened {opened[0]}")

    open_cover(session, "cover-after", cover_x + 90, cover_y + 10)
    poll(lambda: sum(window["title"] == "xlogo" for window in shell.windows()) == 2, 10, what="the second cover")
    check_stacking(shell, 2)

    last = {}
    # A point inside each cover, over the widget: the cover shows there.
    covered = ((cover_x + 40, cover_y + 52), (cover_x + 130, cover_y + 62))

    def looks_right():
        screen = last["screen"] = read_image(shell.screenshot("screen").read_bytes())
        widget = screen.crop(x, y, width, height)
        if any(screen.pixel(cx, cy)[:3] != COVER for cx, cy in covered):
            return None
        # Outside the covers' band (their frames and shadows) the widget
        # shows as `render` draws it.
        for top, rows in ((0, 35), (height - 20, 20)):
            ok, found = matches(widget.crop(0, top, width, rows), reference.crop(0, top, width, rows))
            if not ok:
                return None
        return screen, widget

    try:
        screen, widget = poll(looks_right, 10, interval=0.2, what="the covers over the widget, which shows as rendered around them")
    finally:
        if "screen" in last:
            last["screen"].save(session.artifacts / "screen.png")
    # The shell's background is shaded: each corner is compared with the
    # desktop just beside the widget on the same row.
    outside = []
    for cx, cy in ((1, 1), (width - 2, 1), (1, height - 2), (width - 2, height - 2)):
        beside = screen.pixel(x - 3 if cx < width / 2 else x + width + 2, y + cy)
        if max(abs(a - b) for a, b in zip(widget.pixel(cx, cy)[:3], beside[:3])) > 6:
            outside.append((cx, cy))
    if outside:
        raise ScenarioFailure(f"the widget paints outside its rounded shape at {outside}")
    print("both covers above the widget, its corners show the desktop")
    if "XWayland" not in session.log_text("host"):
        raise ScenarioFailure("the host did not say it took the XWayland route:\n" + session.log_text("host"))
    stop_host(session, host)


def fractional_body(session, scale):
    shell = GnomeShell(session, *SCREEN, scale=scale)
    session.start_portal()
    snapshot, _ = sample_shown_medium(session)
    area = poll(lambda: (lambda found: found if found[1] > 0 else None)(shell.work_area()), 10, interval=0.1,
                what="the shell's top bar to reserve its rows")
    width, height = SIZES["medium"]
    x, y = area[0] + area[2] - MARGIN - width, area[1] + MARGIN
    # Since mutter 47 XWayland draws at the next whole scale; a session's
    # settings daemon tells X11 programs so (Gdk/WindowScalingFactor), none
    # runs here. Before, X11 windows are drawn at 1 and enlarged.
    native = shell.version >= 47
    host = start_host(session, ["medium"], ["--corner", "top-right", "--margin", str(MARGIN)],
                      env=dict(session.env, GDK_SCALE="2") if native else None)
    shown = poll(lambda: host.poll() is None and widget_window(shell), 15, interval=0.1, what="the widget's window")
    if (shown["x"], shown["y"], shown["width"], shown["height"]) != (x, y, width, height):
        raise ScenarioFailure(f"the widget is at {shown['x']},{shown['y']} ({shown['width']}x{shown['height']}), "
                              f"expected {x},{y} ({width}x{height}) in work area {area}")

    def grab():
        screen = read_image(shell.screenshot("screen").read_bytes())
        return screen.crop(round(x * scale), round(y * scale), round(width * scale), round(height * scale))

    _, found = wait_for_sharp(session, host, snapshot, scale, grab, enlarged_from_one=not native)
    read_image(shell.screenshot("screen").read_bytes()).save(session.artifacts / "screen.png")
    print(f"scale {scale}: the widget at {x},{y} in work area {area}, "
          f"{'sharp' if native else 'drawn at 1 and enlarged (mutter before 47)'} ({found})")
    print(check_monitor_scale(session, host, scale, drawn=2 if native else 1))
    stop_host(session, host)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--scale", type=float, default=1.0)
    scale = parser.parse_args().scale
    scale = int(scale) if scale.is_integer() else scale
    if scale == 1:
        scenario.run("gnome-wayland", body)
    else:
        scenario.run(f"gnome-wayland-scale{scale}", lambda session: fractional_body(session, scale))
