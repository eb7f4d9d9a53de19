"""Both sizes under X11 at one scale: each window has the asked size, the
first sits at the asked corner, the desktop stays visible outside the rounded
shape, and the pixels are those of `kelpo-widget render` for the same entry."""

import argparse

import scenario
from widget_checks import (SIZES, ScenarioFailure, corners_show_root, dark_fringe, expected_position, host_windows,
                           render_reference, sample_snapshot, screenshot, start_host, stop_host, wait_for_pixels,
                           screen_pixels)

SCREEN = (1600, 1000)
FAMILIES = ["medium", "small"]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--scale", type=int, default=1)
    parser.add_argument("--corner", default="top-right")
    parser.add_argument("--margin", type=int, default=24)
    # The colour scheme the portal answers at start: 1 is dark.
    parser.add_argument("--color-scheme", type=int, choices=(0, 1), default=0)
    options = parser.parse_args()

    def body(session):
        session.start_desktop(*SCREEN, color_scheme=options.color_scheme)
        appearance = "dark" if options.color_scheme == 1 else "light"
        snapshot = sample_snapshot(session)
        session.write_snapshot(snapshot)
        references = {family: render_reference(session, snapshot, family, appearance, options.scale,
                                               f"{family}-{appearance}")
                      for family in FAMILIES}
        env = dict(session.env, GDK_SCALE=str(options.scale))
        host = start_host(session, FAMILIES, ["--corner", options.corner, "--margin", str(options.margin)], env=env)
        windows = host_windows(session, host, len(FAMILIES))

        def window_of(family):
            wanted = (references[family].width, references[family].height)
            sized = [window for window in windows if (window.width, window.height) == wanted]
            if not sized:
                raise ScenarioFailure(f"no {family} window of {wanted[0]}x{wanted[1]} among {windows}")
            return sized[0]

        first = window_of(FAMILIES[0])
        x, y, _, _ = expected_position(SCREEN, SIZES[FAMILIES[0]], options.corner, options.margin, options.scale)
        if (first.x, first.y) != (x, y):
            raise ScenarioFailure(f"the {FAMILIES[0]} window is at {first.x},{first.y}, expected {x},{y}")

        for family in FAMILIES:
            window = window_of(family)
            found = wait_for_pixels(session, window, references[family], 5, f"{family}-{appearance}")
            print(f"{family} at {window.x},{window.y} {window.width}x{window.height}: {found}")
            shown = screen_pixels(session, window)
            outside = corners_show_root(shown, options.scale)
            if outside:
                raise ScenarioFailure(f"the {family} window paints outside its rounded shape at {outside}")
            fringe, edge = dark_fringe(shown, references[family])
            if fringe > edge // 50:
                shown.save(session.artifacts / f"screen-{family}-{appearance}.png")
                raise ScenarioFailure(f"{fringe} of the {edge} shown edge pixels of the {family} window are "
                                      "blended with black, not with the desktop")
            print(f"{family}: {fringe} of {edge} shown edge pixels blended with black")
        screenshot(session).save(session.artifacts / "screen.png")
        stop_host(session, host)

    scenario.run(f"x11-placement-scale{options.scale}-{'dark' if options.color_scheme else 'light'}", body)


if __name__ == "__main__":
    main()
