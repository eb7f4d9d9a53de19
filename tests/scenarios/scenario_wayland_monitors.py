"""A widget under headless sway (layer-shell) with two outputs: dragged from
the first output onto the second, it shows there and desktop.ini keeps
`monitor=HEADLESS-2`; with HEADLESS-2 turned off it shows on HEADLESS-1 at
its kept place, desktop.ini unchanged; with HEADLESS-2 back on it goes back
(where sway can turn a headless output off and paint it again: sway 1.7
cannot turn it off, sway 1.10 now and then leaves it unpainted; each time
the scenario says so).
A `--monitor` no output is named is said in the host's report, not silently
dropped."""

import configparser
import json
import os
import subprocess
import time

import scenario
from desktop_session import poll
from virtual_pointer import VirtualPointer
from widget_checks import (SIZES, ScenarioFailure, expected_position, kept_frame, matches, render_reference,
                           require_running, sample_snapshot, start_host, stop_host, wait_for_pixels, wayland_region)

SCREEN = (1280, 720)
MARGIN = 24
# Where the widget's top-left corner is dropped on the second output, away
# from its edges (no snapping).
DROP_ON_SECOND = (300, 200)
# What sway logs when it cannot turn an output off.
REFUSED_OFF = "Failed to commit output HEADLESS-2"
# How long a widget may take to move to another output after a change.
MOVE_SECONDS = 3


def swaymsg(session, *arguments):
    ipc = next(session.root.glob("sway-runtime/sway-ipc.*.sock"))
    return session.run(["swaymsg", "-s", str(ipc), *arguments])


def outputs(session):
    return {o["name"]: o for o in json.loads(swaymsg(session, "-t", "get_outputs"))}


def active_rect(session, name):
    output = outputs(session).get(name)
    if not output or not output["active"]:
        return None
    r = output["rect"]
    return r["x"], r["y"], r["width"], r["height"]


def paints(session, rect, seconds=3):
    """Whether sway paints the output at rect: grim gets a frame of it only
    once sway has committed one there."""
    x, y, width, height = rect
    try:
        subprocess.run(["grim", "-t", "ppm", "-g", f"{x},{y} {width}x{height}", "-"], env=session.env,
                       capture_output=True, timeout=seconds, check=True)
        return True
    except subprocess.TimeoutExpired:
        return False


def turn_on(session, name, host, reference, stand_in):
    """Turns the output on again; its rectangle once the widget has left its
    stand-in place on HEADLESS-1 and sway paints the output, or None when
    sway does not. Now and then sway 1.10 leaves a headless output it turned
    on again unpainted: its first commit there fails ("Page-flip failed":
    the headless backend refuses the gamma reset sway adds) and no later
    frame of that output completes, whatever moves on it (the cursor
    included), while the other output paints on. Such an output is dark for
    every client and person alike. It happened more often when grim asked
    for the output at once, so the output is asked for only once the widget
    has left HEADLESS-1."""
    swaymsg(session, "output", name, "enable")
    rect = poll(lambda: active_rect(session, name), 5, what=f"{name} to turn on again")

    def left_stand_in():
        require_running(session, host)
        return not matches(wayland_region(session, *stand_in), reference)[0]

    poll(left_stand_in, MOVE_SECONDS, interval=0.03, what="the widget to leave its place on HEADLESS-1")
    return rect if paints(session, rect) else None


def kept(session):
    parser = configparser.ConfigParser(interpolation=None)
    parser.read_string((session.config_home / "app.kelpo.widget" / "desktop.ini").read_text())
    return {name: dict(parser[name]) for name in parser.sections()}


def kept_instance(session):
    path = session.config_home / "app.kelpo.widget" / "desktop.ini"
    return kept(session).get("instance 1") if path.exists() else None


def drag(session, pointer, start, end, layout):
    pointer.move_to(*start, layout)
    time.sleep(0.3)
    pointer.press()
    steps = 20
    for step in range(1, steps + 1):
        pointer.move_to(start[0] + (end[0] - start[0]) * step / steps,
                        start[1] + (end[1] - start[1]) * step / steps, layout)
        time.sleep(0.03)
    pointer.release()


def shows_at(session, host, reference, frame, label, seconds=MOVE_SECONDS):
    try:
        wait_for_pixels(session, None, reference, seconds, label, host=host,
                        grab=lambda: wayland_region(session, *frame))
    except ScenarioFailure:
        for name in ("HEADLESS-1", "HEADLESS-2"):
            if rect := active_rect(session, name):
                wayland_region(session, *rect).save(session.artifacts / f"{label}-{name}.png")
        raise


def check_output_off_and_on(session, host, reference, place, first):
    stand_in = kept_frame(place, first, SIZES["medium"])
    shows_at(session, host, reference, stand_in, "medium-stands-in-on-first")
    require_running(session, host)
    if kept_instance(session) != place:
        raise ScenarioFailure(f"desktop.ini changed while HEADLESS-2 was off: {kept_instance(session)}")
    print(f"HEADLESS-2 off: the widget shows on HEADLESS-1 at {stand_in[0]},{stand_in[1]}; desktop.ini unchanged")

    # Back on: the widget goes back.
    second = turn_on(session, "HEADLESS-2", host, reference, stand_in)
    if second is None:
        print("not checked here: this sway left HEADLESS-2 unpainted once turned on again "
              "(its commits there fail), so the widget's return cannot be seen")
        return
    back = kept_frame(place, second, SIZES["medium"])
    shows_at(session, host, reference, back, "medium-back-on-second")
    if kept_instance(session) != place:
        raise ScenarioFailure(f"desktop.ini changed when HEADLESS-2 came back: {kept_instance(session)}")
    print(f"HEADLESS-2 on: the widget is back at {back[0]},{back[1]}")


def body(session):
    session.start_desktop(*SCREEN, wayland=True)
    swaymsg(session, "create_output")
    second = poll(lambda: active_rect(session, "HEADLESS-2"), 10, what="the second output")
    first = active_rect(session, "HEADLESS-1")
    layout = (max(first[0] + first[2], second[0] + second[2]), max(first[1] + first[3], second[1] + second[3]))
    print(f"outputs: HEADLESS-1 at {first}, HEADLESS-2 at {second}")

    snapshot = sample_snapshot(session, gold=False)
    session.write_snapshot(snapshot)
    reference = render_reference(session, snapshot, "medium", "light", 1, "medium-light")
    host = start_host(session, ["medium"])
    at_start = expected_position(first[2:], SIZES["medium"], "top-right", MARGIN, 1)
    at_start = (first[0] + at_start[0], first[1] + at_start[1], *at_start[2:])
    shows_at(session, host, reference, at_start, "medium-on-first", 10)

    # The drag, grabbing the widget 40 points in, onto the second output.
    dropped = (second[0] + DROP_ON_SECOND[0], second[1] + DROP_ON_SECOND[1], *at_start[2:])
    pointer = VirtualPointer(session.env["WAYLAND_DISPLAY"])
    try:
        drag(session, pointer, (at_start[0] + 40, at_start[1] + 40), (dropped[0] + 40, dropped[1] + 40), layout)
        # The pointer away from both places, so no cursor is in the screenshots.
        pointer.move_to(layout[0] // 2, layout[1] - 5, layout)
    finally:
        pointer.close()
    shows_at(session, host, reference, dropped, "medium-dragged-to-second")
    place = poll(lambda: (i := kept_instance(session)) and i.get("monitor") == "HEADLESS-2" and
                 kept_frame(i, second, SIZES["medium"]) == dropped and i, 5,
                 what="desktop.ini to keep the drop on HEADLESS-2")
    print(f"drag onto HEADLESS-2: the widget shows at {dropped[0]},{dropped[1]}; kept as {place}")

    # The second output off: the widget shows on the first at its kept
    # place, which desktop.ini keeps for HEADLESS-2.
    swaymsg(session, "output", "HEADLESS-2", "disable")
    turned_off = poll(lambda: ("off" if active_rect(session, "HEADLESS-2") is None else
                               "refused" if REFUSED_OFF in session.log_text("sway") else None),
                      5, what="HEADLESS-2 to turn off")
    if turned_off == "refused":
        # wlroots 0.15's headless outputs (sway 1.7) cannot be turned off:
        # said, not passed over.
        print("not checked here: this sway cannot turn a headless output off ("
              f"{REFUSED_OFF}); the widget's move to the primary output and back is left unchecked")
    else:
        check_output_off_and_on(session, host, reference, place, first)
    stop_host(session, host)

    # A monitor no output is named: the widget shows on the primary, and the
    # report says why.
    host = start_host(session, ["medium"], ["--monitor", "DP-9"], label="host-unknown-monitor")
    shows_at(session, host, reference, at_start, "medium-unknown-monitor", 10)
    said = poll(lambda: [line for line in session.log_text("host-unknown-monitor").splitlines()
                         if "DP-9" in line], 5, what="the report to name the monitor not found")
    print(f"--monitor DP-9: the widget shows on HEADLESS-1, and the host says: {said[0]}")
    stop_host(session, host, label="host-unknown-monitor")


if __name__ == "__main__":
    os.environ.setdefault("KELPO_DESKTOP_SCENARIO_SECONDS", "90")
    scenario.run("wayland_monitors", body)
