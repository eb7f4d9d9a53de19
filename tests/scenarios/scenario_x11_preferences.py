"""The accent drawn is the snapshot's even when the widget's preferences
cannot be saved: a preferences.ini that is a directory, or a lock on the
preferences held by another process. A held lock never freezes the window:
a rewrite still shows within a second and a click still opens its link."""

import fcntl
import json
import os
import time

import scenario
from widget_checks import (click, host_windows, poll, render_reference, sample_snapshot, start_host,
                           stop_host, tree_links, wait_for_pixels)

WITHIN = 1.0  # seconds


def with_accent(snapshot, accent, sorted_items=0):
    record = json.loads(snapshot)
    record["accent"] = accent
    record["toSort"] = record["toSort"][sorted_items:]
    record["toSortCount"] = len(record["toSort"])
    return json.dumps(record, ensure_ascii=False, indent=2)


def body(session):
    session.start_desktop(1280, 800)
    session.register_link_handler()
    sample = sample_snapshot(session, gold=False)
    lagune = with_accent(sample, "Lagune")
    indigo = with_accent(sample, "Indigo", sorted_items=1)
    references = {name: render_reference(session, text, "medium", "light", 1, name)
                  for name, text in (("lagune", lagune), ("indigo", indigo))}

    # 1. preferences.ini is a directory: nothing can be saved.
    preferences = session.config_home / "app.kelpo.widget" / "preferences.ini"
    preferences.mkdir(parents=True)
    session.write_snapshot(lagune)
    host = start_host(session, ["medium"], ["--corner", "top-left", "--appearance", "light"])
    (window,) = host_windows(session, host, 1)
    wait_for_pixels(session, window, references["lagune"], 5, "lagune-unsaved")
    print("preferences.ini a directory: the snapshot's Lagune is drawn")
    stop_host(session, host)
    preferences.rmdir()

    # 2. Another process holds the preferences' lock for the whole run.
    holder = os.open(preferences.parent, os.O_RDONLY | os.O_DIRECTORY)
    fcntl.flock(holder, fcntl.LOCK_EX)
    try:
        host = start_host(session, ["medium"], ["--corner", "top-left", "--appearance", "light"])
        (window,) = host_windows(session, host, 1)
        wait_for_pixels(session, window, references["lagune"], 5, "lagune-locked")
        started = time.monotonic()
        session.write_snapshot(indigo)
        wait_for_pixels(session, window, references["indigo"], WITHIN, "indigo-locked")
        print(f"lock held: the Indigo rewrite shown after {time.monotonic() - started:.2f} s")

        links, _ = tree_links(session, indigo, "medium")
        x, y = links[1].centre()
        clicked = time.monotonic()
        session.write_snapshot(indigo)  # a reload in flight while the click lands
        click(session, window.x + round(x), window.y + round(y))
        poll(lambda: links[1].url in session.opened_urls(), WITHIN, what="the second row's link")
        print(f"lock held: a click opened its link after {time.monotonic() - clicked:.2f} s")
    finally:
        os.close(holder)
    stop_host(session, host)


if __name__ == "__main__":
    scenario.run("x11-preferences", body)
