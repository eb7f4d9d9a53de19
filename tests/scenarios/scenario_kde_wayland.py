"""KDE Plasma on Wayland (kwin_wayland 5.27, headless): the medium widget is
a layer surface at the anchored corner, transparent outside its rounded
shape, with the pixels `kelpo-widget render` draws; a click on its second
row, through KWin's fake input, opens that item's link. With --scale 1.5,
on an output KWin scales by 1.5: the widget keeps its logical place and
size, sharp (widget_checks.wait_for_sharp)."""

import argparse

import scenario
from kwin_wayland import FakeInput, KWinWayland
from widget_checks import (SIZES, ScenarioFailure, check_monitor_scale, click_opens, corners_show_root,
                           expected_position, sample_shown_medium, start_host, stop_host, tree_links,
                           wait_for_pixels, wait_for_sharp)

SCREEN = (1280, 800)


def body(session, scale):
    kwin = KWinWayland(session, *SCREEN, scale=scale)
    session.start_portal()
    snapshot, reference = sample_shown_medium(session)
    # The pointer device first: a host that starts with it on the seat binds
    # it as it starts, not at some later change of the seat.
    pointer = FakeInput(session.env["WAYLAND_DISPLAY"])
    try:
        check_widget(session, kwin, snapshot, reference, pointer, scale)
    finally:
        pointer.close()


def check_widget(session, kwin, snapshot, reference, pointer, scale):
    host = start_host(session, ["medium"], ["--corner", "top-right", "--margin", "24"])
    region = expected_position(SCREEN, SIZES["medium"], "top-right", 24, 1)
    if scale == 1:
        found = wait_for_pixels(session, None, reference, 15, "medium-light", host=host,
                                grab=lambda: kwin.region(*region))
    else:
        _, found = wait_for_sharp(session, host, snapshot, scale, lambda: kwin.region(*region))
        check_monitor_scale(session, host, scale)
    shown = kwin.region(*region)
    background = kwin.region(0, SCREEN[1] - 1, 1, 1).pixel(0, 0)[:3]
    outside = corners_show_root(shown, 1 if scale == 1 else 2, background)
    if outside:
        raise ScenarioFailure(f"the surface paints outside its rounded shape at {outside}")
    if "layer-shell surface anchored top-right" not in session.log_text("host"):
        raise ScenarioFailure("the host did not say it is a layer surface:\n" + session.log_text("host"))
    print(f"layer surface at {region[0]},{region[1]}: {found}")

    links, _ = tree_links(session, snapshot, "medium")
    x, y = links[1].centre()

    def click():
        pointer.move_to(region[0] + x, region[1] + y)
        pointer.click()

    click_opens(session, host, click, links[1].url)
    full = kwin.region(0, 0, *SCREEN)
    full.save(session.artifacts / "screen.png")

    # "Show Desktop" hides windows, not the desktop: the widget stays. (KWin 6
    # hides a layer surface of any namespace but "desktop"; 5.27 hides none.)
    kwin.show_desktop(True)
    try:
        if scale == 1:
            wait_for_pixels(session, None, reference, 5, "medium-light-show-desktop", host=host,
                            grab=lambda: kwin.region(*region))
        else:
            wait_for_sharp(session, host, snapshot, scale, lambda: kwin.region(*region))
    finally:
        kwin.show_desktop(False)
    print("Show Desktop: the widget stays")
    stop_host(session, host)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--scale", type=float, default=1.0)
    scale = parser.parse_args().scale
    scale = int(scale) if scale.is_integer() else scale
    scenario.run("kde-wayland" if scale == 1 else f"kde-wayland-scale{scale}", lambda session: body(session, scale))
