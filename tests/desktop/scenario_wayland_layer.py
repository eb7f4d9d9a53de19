"""Wayland: under headless sway, which offers layer-shell, the medium widget
is a layer surface drawn at the anchored corner, transparent outside its
rounded shape, with the pixels `kelpo-widget render` draws."""

import scenario
from desktop_session import poll
from widget_checks import (SIZES, ScenarioFailure, corners_show_root, expected_position, matches, render_reference,
                           sample_snapshot, start_host, stop_host, wayland_region)

SCREEN = (1280, 720)


def body(session):
    session.start_sway(*SCREEN)
    session.start_session_bus()
    session.start_portal(color_scheme=0)
    snapshot = sample_snapshot(session)
    session.write_snapshot(snapshot)
    reference = render_reference(session, snapshot, "medium", "light", 1, "medium-light")
    host = start_host(session, ["medium"], ["--corner", "top-right", "--margin", "24"])
    region = expected_position(SCREEN, SIZES["medium"], "top-right", 24, 1)
    seen = {}

    def drawn():
        if host.poll() is not None:
            raise ScenarioFailure(f"the host exited with {host.returncode}:\n" + session.log_text("host"))
        seen["image"] = wayland_region(session, *region)
        ok, seen["difference"] = matches(seen["image"], reference)
        return ok

    try:
        poll(drawn, 10, interval=0.05, what="the layer surface at the top-right corner")
    except ScenarioFailure as failure:
        found = seen.get("difference")
        raise ScenarioFailure(f"{failure}: {found}" if found else str(failure)) from None
    finally:
        if "image" in seen:
            seen["image"].save(session.artifacts / "corner-medium-light.png")
    background = wayland_region(session, 0, SCREEN[1] - 1, 1, 1).pixel(0, 0)[:3]
    outside = corners_show_root(seen["image"], 1, background)
    if outside:
        raise ScenarioFailure(f"the surface paints outside its rounded shape at {outside}")
    print(f"layer surface at {region[0]},{region[1]}: {seen['difference']}")
    stop_host(session, host)


if __name__ == "__main__":
    scenario.run("wayland-layer", body)
