"""Wayland: under headless sway, which offers layer-shell, the medium widget
is a layer surface drawn at the anchored corner, transparent outside its
rounded shape, with the pixels `kelpo-widget render` draws; a click on its
second row, from a virtual pointer, opens that item's link. With --scale
1.5, on an output sway scales by 1.5: the widget keeps its place and size in
logical units, and shows as sharp as `render` draws it at 1.5 (GTK 3 draws at
2, which sway shrinks), not a drawing at 1 enlarged."""

import argparse

import scenario
from virtual_pointer import VirtualPointer
from widget_checks import (SIZES, ScenarioFailure, check_monitor_scale, click_opens, corners_show_root,
                           expected_position, sample_shown_medium, start_host, stop_host, tree_links,
                           wait_for_pixels, wait_for_sharp, wayland_region)

SCREEN = (1280, 720)  # logical


def body(session, scale):
    session.start_desktop(*SCREEN, wayland=True, scale=scale)
    snapshot, reference = sample_shown_medium(session)
    # The pointer device first: a host that starts with it on the seat binds
    # it as it starts, not at some later change of the seat.
    pointer = VirtualPointer(session.env["WAYLAND_DISPLAY"])
    try:
        check_widget(session, snapshot, reference, pointer, scale)
    finally:
        pointer.close()


def check_widget(session, snapshot, reference, pointer, scale):
    host = start_host(session, ["medium"], ["--corner", "top-right", "--margin", "24"])
    region = expected_position(SCREEN, SIZES["medium"], "top-right", 24, 1)
    if scale != 1:
        check_fractional(session, host, snapshot, region, scale)
    else:
        found = wait_for_pixels(session, None, reference, 10, "medium-light", host=host,
                                grab=lambda: wayland_region(session, *region))
        shown = wayland_region(session, *region)
        background = wayland_region(session, 0, SCREEN[1] - 1, 1, 1).pixel(0, 0)[:3]
        outside = corners_show_root(shown, 1, background)
        if outside:
            raise ScenarioFailure(f"the surface paints outside its rounded shape at {outside}")
        print(f"layer surface at {region[0]},{region[1]}: {found}")

    links, _ = tree_links(session, snapshot, "medium")
    x, y = links[1].centre()

    def click():
        pointer.move_to(region[0] + x, region[1] + y, SCREEN)
        pointer.click()

    click_opens(session, host, click, links[1].url)
    stop_host(session, host)


def check_fractional(session, host, snapshot, region, scale):
    shown, found = wait_for_sharp(session, host, snapshot, scale, lambda: wayland_region(session, *region))
    background = wayland_region(session, 0, SCREEN[1] - 1, 1, 1).pixel(0, 0)[:3]
    outside = corners_show_root(shown, 1, background)
    if outside:
        raise ScenarioFailure(f"the surface paints outside its rounded shape at {outside}")
    print(f"scale {scale}: the widget at {region[0]},{region[1]} (logical), {shown.width}x{shown.height} pixels, "
          f"sharp ({found})")
    check_monitor_scale(session, host, scale)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--scale", type=float, default=1.0)
    scale = parser.parse_args().scale
    scale = int(scale) if scale.is_integer() else scale
    scenario.run("wayland-layer" if scale == 1 else f"wayland-layer-scale{scale}", lambda session: body(session, scale))
