"""The pointer under X11: entering the gold badge replays its sheen, a click
on the second row of the medium widget opens that item's topic link with the
desktop's kelpo:// handler, a click away from the rows the mode's link."""

import re

import scenario
from widget_checks import (ScenarioFailure, click, difference, hit, host_windows, poll, sample_shown_medium,
                           start_host, stop_host, tree_links, wait_for_pixels, window_pixels)

TOPIC_LINK = re.compile(r"^kelpo://topic/[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$")
# A point of the week ring's column, away from every row: in points.
AWAY_FROM_ROWS = (60, 60)


def body(session):
    session.start_desktop(1280, 800)
    snapshot, reference = sample_shown_medium(session)
    links, mode_link = tree_links(session, snapshot, "medium")
    if len(links) < 2 or not TOPIC_LINK.match(links[1].url):
        raise ScenarioFailure(f"the sample's tree has no second topic row: {links}")
    if mode_link != "kelpo://inbox":
        raise ScenarioFailure(f"the sample is not in mode toSort: its link is {mode_link}")
    if hit(session, snapshot, "medium", *AWAY_FROM_ROWS) != mode_link:
        raise ScenarioFailure(f"{AWAY_FROM_ROWS} is on a row of the laid-out tree")

    host = start_host(session, ["medium"], ["--corner", "bottom-right"])
    (window,) = host_windows(session, host, 1)
    wait_for_pixels(session, window, reference, 5, "medium-light")

    # The first row's badge is gold: entering it plays the sheen, then the
    # widget comes back to rest.
    session.run(["xdotool", "mousemove", "0", "0"])
    badge_x, badge_y = links[0].x + 11, links[0].centre()[1]
    session.run(["xdotool", "mousemove", str(window.x + round(badge_x)), str(window.y + round(badge_y))])
    poll(lambda: difference(window_pixels(session, window), reference).differing > 0, 1,
         what="the sheen to play when the pointer enters the gold badge")
    wait_for_pixels(session, window, reference, 3, "medium-light-after-sheen")
    print("pointer on the gold badge: the sheen played, then the widget came back to rest")

    for label, (x, y), expected in [("second row", links[1].centre(), links[1].url),
                                    ("ring column", AWAY_FROM_ROWS, mode_link)]:
        before = len(session.opened_urls())
        click(session, window.x + round(x), window.y + round(y))
        opened = poll(lambda: session.opened_urls()[before:], 5, what=f"the handler to get the {label}'s link")
        if opened != [expected]:
            raise ScenarioFailure(f"a click on the {label} opened {opened}, expected {expected}")
        print(f"click on the {label} at {round(x)},{round(y)} opened {opened[0]}")
    if host.poll() is not None:
        raise ScenarioFailure("the host stopped after the clicks")
    stop_host(session, host)


if __name__ == "__main__":
    scenario.run("x11-clicks", body)
