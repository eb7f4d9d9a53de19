"""desktop.ini edited by hand while the widget shows: the widget follows it.
A kept instance made small and moved to the bottom-left corner by another
program changes at once; a file with a typo is left alone and changes
nothing; the host's own writes never make it move. A file with one good and
one bad instance at the start shows the good one and says what it ignored,
and a drag keeps the comments a person wrote inside the instance."""

import time

import scenario
from widget_checks import ScenarioFailure, host_windows, poll, sample_snapshot, start_host, stop_host

SCREEN = (1280, 800)


def body(session):
    session.start_desktop(*SCREEN)
    session.write_snapshot(sample_snapshot(session, gold=False))
    settings = session.config_home / "app.kelpo.widget" / "desktop.ini"
    settings.parent.mkdir(parents=True, exist_ok=True)
    settings.write_text("# kept by hand\n[instance 1]\nsize=medium\ncorner=top-left\noffset-x=40\noffset-y=30\n")
    host = start_host(session, [], [])
    (window,) = host_windows(session, host, 1)
    if (window.x, window.y, window.width) != (40, 30, 364):
        raise ScenarioFailure(f"the kept instance shows at {window}, expected 364 wide at 40,30")

    # Another program rewrites the file, by a rename as editors do.
    temporary = settings.with_name("desktop.ini.new")
    temporary.write_text("# kept by hand\n[instance 1]\nsize=small\ncorner=bottom-left\noffset-x=0\noffset-y=0\n")
    temporary.rename(settings)
    started = time.monotonic()
    moved = poll(lambda: [w for w in host_windows(session, host, 1) if (w.x, w.y, w.width) == (0, 800 - 170, 170)],
                 3, what="the widget to follow desktop.ini to small, bottom-left")
    print(f"desktop.ini followed after {time.monotonic() - started:.2f} s: {moved[0]}")

    # A typo: the file is left as written and nothing moves.
    settings.write_text("[instance 1\nsize=medium\n")
    time.sleep(1)
    (still,) = host_windows(session, host, 1)
    if (still.x, still.y, still.width) != (0, 630, 170):
        raise ScenarioFailure(f"a desktop.ini with a typo moved the widget to {still}")
    if settings.read_text() != "[instance 1\nsize=medium\n":
        raise ScenarioFailure("the host rewrote a desktop.ini it could not read")
    print("a desktop.ini with a typo: left as written, the widget stays")
    stop_host(session, host)
    start_with_a_bad_instance(session, settings)


def start_with_a_bad_instance(session, settings):
    bad = "\n# the spare\n[instance 2]\nsize=meduim\n"
    settings.write_text("[instance 1]\n# my laptop's\nsize=small\nnote=kept\ncorner=top-left\n"
                        "offset-x=40\noffset-y=30\n" + bad)
    host = start_host(session, [], [], label="host-bad-instance")
    (window,) = host_windows(session, host, 1)
    if (window.x, window.y, window.width) != (40, 30, 170):
        raise ScenarioFailure(f"the good instance shows at {window}, expected 170 wide at 40,30")
    said = poll(lambda: "shown" in session.log_text("host-bad-instance") and session.log_text("host-bad-instance"),
                5, what="the host to report the widget shown")
    if "[instance 2] size" not in said:
        raise ScenarioFailure(f"the host did not say the bad instance was ignored:\n{said}")
    print("one good and one bad instance: the good one shows, the bad one is reported")

    grab = (window.x + 40, window.y + 40)
    drag = (200, 150)
    steps = 12
    session.run(["xdotool", "mousemove", str(grab[0]), str(grab[1]), "mousedown", "1"])
    for step in range(1, steps + 1):
        session.run(["xdotool", "mousemove", str(grab[0] + drag[0] * step // steps),
                     str(grab[1] + drag[1] * step // steps)])
        time.sleep(0.03)
    session.run(["xdotool", "mouseup", "1"])
    saved = poll(lambda: "offset-x=240" in settings.read_text() and settings.read_text(), 5,
                 what="desktop.ini to keep the dropped place")
    # The host adds the monitor it was dropped on and its [desktop] keys.
    expected = ("[instance 1]\n# my laptop's\nsize=small\nnote=kept\ncorner=top-left\n"
                "offset-x=240\noffset-y=180\n")
    if not saved.startswith(expected) or bad not in saved:
        raise ScenarioFailure(f"the drag rewrote desktop.ini as {saved!r}, expected {expected!r}...{bad!r}")
    print("a drag: only the offsets changed; the comment, the unknown key and the bad instance stay")
    stop_host(session, host, label="host-bad-instance")


if __name__ == "__main__":
    scenario.run("x11-settings-follow", body)
