"""A person handles the widget under headless sway (layer-shell), with a
virtual pointer: a secondary click opens the menu (a popup of the layer
surface, seen on screen and saved as menu-wayland.png); a drag moves the
layer surface by the pointer's offset (its image follows the pointer on an
overlay while the button is held, saved as screen-mid-drag.png), opens no link, and the place is kept
in desktop.ini with the output's connector name; with a second output,
`--monitor HEADLESS-2` (its connector name, which GTK 3 does not give: the
host asks the compositor) shows the widget on it, and so does `--monitor 1`.
"""

import configparser
import json
import os
import time

import scenario
from desktop_session import poll
from virtual_pointer import BUTTON_RIGHT, VirtualPointer
from widget_checks import (SIZES, Image, ScenarioFailure, expected_position, kept_frame, render_reference, require_running,
                           sample_snapshot, start_host, stop_host, wait_for_pixels, wayland_region)

SCREEN = (1280, 720)
MARGIN = 24
DRAG = (-420, 260)
# The menu's items and separators, in pixels at scale 1.
MENU_HEIGHT = 210


def swaymsg(session, *arguments):
    ipc = next(session.root.glob("sway-runtime/sway-ipc.*.sock"))
    return session.run(["swaymsg", "-s", str(ipc), *arguments])


def changed_box(before, after, ignore):
    """The bounding box of the pixels that differ between two screenshots,
    outside the rectangle `ignore`; None when none do."""
    ix, iy, iw, ih = ignore
    left = top = None
    right = bottom = -1
    for y in range(before.height):
        start, end = 4 * y * before.width, 4 * (y + 1) * before.width
        if before.rgba[start:end] == after.rgba[start:end]:
            continue
        for x in range(before.width):
            if ix <= x < ix + iw and iy <= y < iy + ih:
                continue
            if before.pixel(x, y) != after.pixel(x, y):
                left = x if left is None else min(left, x)
                top = y if top is None else top
                right, bottom = max(right, x), y
    return None if left is None else (left, top, right - left + 1, bottom - top + 1)


def open_menu(session, host, pointer, region):
    """A secondary click in the middle of the widget shows something
    outside it; returns the menu's box on screen, and the screen before and
    after."""
    centre = (region[0] + region[2] // 2, region[1] + region[3] // 2)
    # The pointer onto the widget first: the cursor, drawn into the
    # screenshots, then stays inside the widget's rectangle, which is not
    # compared.
    pointer.move_to(*centre, SCREEN)
    time.sleep(0.5)
    before = wayland_region(session, 0, 0, *SCREEN)
    pointer.click(BUTTON_RIGHT)

    def menu_box():
        require_running(session, host)
        return changed_box(before, wayland_region(session, 0, 0, *SCREEN), region)

    poll(menu_box, 5, interval=0.1, what="a menu after a secondary click on the widget")
    # The menu may still be drawing: the screen once two looks agree.
    looks = [wayland_region(session, 0, 0, *SCREEN)]

    def settled():
        looks.append(wayland_region(session, 0, 0, *SCREEN))
        return looks[-1].rgba == looks[-2].rgba

    poll(settled, 5, interval=0.1, what="the menu drawn in full")
    return changed_box(before, looks[-1], region), before, looks[-1]


def under_cursor_as(image, reference, grip):
    """The image with the cursor's box (the pointer at `grip` in it, the
    arrow below and right of it) taken from the reference: while a button is
    held, sway draws the cursor into the screenshots."""
    rgba = bytearray(image.rgba)
    left, right = max(0, grip[0] - 6), min(image.width, grip[0] + 30)
    for y in range(max(0, grip[1] - 6), min(image.height, grip[1] + 30)):
        start, end = 4 * (y * image.width + left), 4 * (y * image.width + right)
        rgba[start:end] = reference.rgba[start:end]
    return Image(image.width, image.height, bytes(rgba))


def check_mid_drag(session, host, reference, region, grip):
    """With the pointer held halfway, the widget's image is where the
    pointer holds it, and no longer at its place before the press."""
    moved = (region[0] + DRAG[0] // 2, region[1] + DRAG[1] // 2, region[2], region[3])
    try:
        wait_for_pixels(session, None, reference, 10, "medium-light-mid-drag", host=host,
                        grab=lambda: under_cursor_as(wayland_region(session, *moved), reference, grip))
        background = wayland_region(session, 0, SCREEN[1] - 1, 1, 1).pixel(0, 0)
        poll(lambda: wayland_region(session, region[0] + region[2] - 30, region[1] + 30, 1, 1).pixel(0, 0)
             == background, 5, interval=0.05, what="the widget's place before the press to show the desktop mid-drag")
    finally:
        wayland_region(session, 0, 0, *SCREEN).save(session.artifacts / "screen-mid-drag.png")
    print(f"mid-drag: the widget's image shows under the pointer at {moved[0]},{moved[1]}, its old place is empty")


def kept(session):
    parser = configparser.ConfigParser(interpolation=None)
    parser.read_string((session.config_home / "app.kelpo.widget" / "desktop.ini").read_text())
    return {name: dict(parser[name]) for name in parser.sections()}


def body(session):
    session.start_desktop(*SCREEN, wayland=True)
    session.register_link_handler()
    snapshot = sample_snapshot(session, gold=False)
    session.write_snapshot(snapshot)
    reference = render_reference(session, snapshot, "medium", "light", 1, "medium-light")
    # The pointer device first: a host that starts with it on the seat binds
    # it as it starts, not at some later change of the seat.
    pointer = VirtualPointer(session.env["WAYLAND_DISPLAY"])
    host = start_host(session, ["medium"])
    region = expected_position(SCREEN, SIZES["medium"], "top-right", MARGIN, 1)
    wait_for_pixels(session, None, reference, 10, "medium-light", host=host,
                    grab=lambda: wayland_region(session, *region))

    try:
        # The menu: something of menu size shows beside the pointer.
        box, before, after = open_menu(session, host, pointer, region)
        if box[2] < 80 or box[3] < 150:
            raise ScenarioFailure(f"what showed on the secondary click is {box[2]}x{box[3]}, no menu")
        after.crop(*box).save(session.artifacts / "menu-wayland.png")
        print(f"secondary click: a menu of {box[2]}x{box[3]} shows at {box[0]},{box[1]}")
        # Its first item, "Ouvrir kelpo", opens the widget's link and
        # closes it: the screen shows what it did before. (The menu's
        # shadow is as wide above as below its items.)
        pointer.move_to(box[0] + box[2] // 2, box[1] + (box[3] - MENU_HEIGHT) // 2 + 16, SCREEN)
        pointer.click()
        # The cursor back onto the widget, where it was in `before`.
        pointer.move_to(region[0] + region[2] // 2, region[1] + region[3] // 2, SCREEN)
        try:
            poll(lambda: changed_box(before, wayland_region(session, 0, 0, *SCREEN), region) is None, 10,
                 interval=0.1, what="the menu to close when its first item is chosen")
        except ScenarioFailure:
            wayland_region(session, 0, 0, *SCREEN).save(session.artifacts / "menu-still-open.png")
            raise
        opened = poll(session.opened_urls, 5, what="the widget's link from Ouvrir kelpo")
        if opened != ["kelpo://inbox"]:
            raise ScenarioFailure(f"Ouvrir kelpo opened {opened}, not the widget's link kelpo://inbox")
        print("Ouvrir kelpo: the menu closed and the widget's link opened")

        # The drag, in steps: halfway, with the button held, the widget's
        # image shows under the pointer (the layer surface itself stays
        # until the drop, its own drawing hidden); dropped, the layer
        # surface moves there.
        grab = (region[0] + 40, region[1] + 40)
        pointer.move_to(*grab, SCREEN)
        pointer.press()
        steps = 20
        for step in range(1, steps + 1):
            pointer.move_to(grab[0] + DRAG[0] * step / steps, grab[1] + DRAG[1] * step / steps, SCREEN)
            time.sleep(0.03)
            if step == steps // 2:
                check_mid_drag(session, host, reference, region, (grab[0] - region[0], grab[1] - region[1]))
        pointer.release()
    finally:
        pointer.close()
    dragged = (region[0] + DRAG[0], region[1] + DRAG[1], region[2], region[3])
    try:
        wait_for_pixels(session, None, reference, 10, "medium-light-dragged", host=host,
                        grab=lambda: wayland_region(session, *dragged))
    except ScenarioFailure:
        wayland_region(session, 0, 0, *SCREEN).save(session.artifacts / "screen-after-drag.png")
        raise
    background = wayland_region(session, 0, SCREEN[1] - 1, 1, 1).pixel(0, 0)
    old = wayland_region(session, region[0] + region[2] - 30, region[1] + 30, 1, 1).pixel(0, 0)
    if old != background:
        raise ScenarioFailure("the widget still shows at its place before the drag")
    time.sleep(1)  # a link opened by the release would have reached the handler by now
    if session.opened_urls()[1:]:
        raise ScenarioFailure(f"the drag opened {session.opened_urls()[1:]}")
    place = poll(lambda: kept(session).get("instance 1", {}).get("offset-x") and
                 kept_frame(kept(session)["instance 1"], (0, 0, *SCREEN), SIZES["medium"]) == dragged and
                 kept(session)["instance 1"], 5, what="desktop.ini to keep the dropped place")
    print(f"drag by {DRAG}: the layer surface shows at {dragged[0]},{dragged[1]}, no link opened; kept as {place}")
    stop_host(session, host)

    # A second output, to the right of the first.
    swaymsg(session, "create_output")
    outputs = poll(lambda: [o for o in json.loads(swaymsg(session, "-t", "get_outputs")) if o["active"]]
                   if len(json.loads(swaymsg(session, "-t", "get_outputs"))) == 2 else None,
                   10, what="the second output")
    second = next(o for o in outputs if o["name"] != "HEADLESS-1")
    rect = second["rect"]
    print("outputs: " + ", ".join(f"{o['name']} ({o['make']} {o['model']}) at {o['rect']}" for o in outputs))
    on_second = expected_position((rect["width"], rect["height"]), SIZES["medium"], "top-right", MARGIN, 1)
    on_second = (rect["x"] + on_second[0], rect["y"] + on_second[1], *on_second[2:])
    for monitor in (second["name"], "1"):
        host = start_host(session, ["medium"], ["--monitor", monitor], label=f"host-monitor-{monitor}")
        wait_for_pixels(session, None, reference, 10, f"medium-light-on-{monitor}", host=host,
                        grab=lambda: wayland_region(session, *on_second))
        print(f"--monitor {monitor}: the widget shows on {second['name']} at {on_second[0]},{on_second[1]}")
        stop_host(session, host, label=f"host-monitor-{monitor}")


if __name__ == "__main__":
    # Two starts of the host, and a menu found by comparing screenshots.
    os.environ.setdefault("KELPO_DESKTOP_SCENARIO_SECONDS", "110")
    scenario.run("wayland_handling", body)
