"""The widget follows its shared directory wherever it goes: missing at
start, it is waited for without waking the host, and shown the moment it
is made; made as a symbolic link and then pointed at another directory
(`mv -T`), the new directory is followed; and a snapshot written while the
kernel's event queue overflowed is still shown."""

import json
import os
import signal
import time

import scenario
from widget_checks import (ScenarioFailure, host_windows, render_reference, sample_snapshot, start_host,
                           stop_host, wait_for_pixels, wake_ups)

WITHIN = 1.0  # seconds for a written snapshot to show; it takes some 0.3 s
QUIET = 9.0  # seconds watched for wake-ups: GLib scanned a missing path every 4 s
# A still widget has nothing to wake for; one stray wake-up is allowed, two
# scans of the missing path are not.
QUIET_WAKE_UPS = 1


def with_count(snapshot, count):
    """The same record with count items to sort: another heading."""
    record = json.loads(snapshot)
    record["toSort"] = record["toSort"][:count]
    record["toSortCount"] = count
    return json.dumps(record, ensure_ascii=False, indent=2)


def write(directory, text):
    """As the application writes: a temporary file, then a rename."""
    temporary = directory / ".widget.json.tmp"
    temporary.write_text(text)
    os.rename(temporary, directory / "widget.json")


def body(session):
    session.start_desktop(800, 600)
    sample = sample_snapshot(session, gold=False)
    snapshots = {count: with_count(sample, count) for count in (1, 2, 3)}
    references = {count: render_reference(session, text, "medium", "light", 1, f"count-{count}")
                  for count, text in snapshots.items()}
    first, second = session.root / "first", session.root / "second"
    first.mkdir()
    second.mkdir()
    write(first, snapshots[1])
    write(second, snapshots[2])

    # 1. The shared directory is missing, two levels deep.
    shared = session.root / "missing" / "group"
    env = dict(session.env, KELPO_APP_GROUP_DIR=str(shared))
    host = start_host(session, ["medium"], ["--corner", "top-left", "--appearance", "light"], env=env)
    (window,) = host_windows(session, host, 1)
    time.sleep(0.5)  # the start settles
    woke = wake_ups(host.pid, QUIET)
    print(f"missing directory: {woke} wake-ups in {QUIET:.0f} s")
    if woke > QUIET_WAKE_UPS:
        raise ScenarioFailure(f"the host woke {woke} times in {QUIET} s while its directory was missing")

    # ... made as a link to the first directory, which holds a snapshot.
    (session.root / "missing").mkdir()
    started = time.monotonic()
    os.symlink(first, shared)
    wait_for_pixels(session, window, references[1], WITHIN, "made-as-link", host=host)
    print(f"directory made: shown after {time.monotonic() - started:.2f} s")

    # 2. The link pointed at the second directory, as `mv -T` does it.
    staged = session.root / "missing" / "group.new"
    os.symlink(second, staged)
    started = time.monotonic()
    os.rename(staged, shared)
    wait_for_pixels(session, window, references[2], WITHIN, "retargeted", host=host)
    print(f"link retargeted: shown after {time.monotonic() - started:.2f} s")
    started = time.monotonic()
    write(second, snapshots[3])
    wait_for_pixels(session, window, references[3], WITHIN, "written-in-new-target", host=host)
    print(f"written in the new target: shown after {time.monotonic() - started:.2f} s")

    # 3. More events than the kernel queues, while the host is stopped; the
    #    snapshot written last is among those dropped.
    os.kill(host.pid, signal.SIGSTOP)
    try:
        other = second / "other"
        for _ in range(7000):  # created, modified, closed, deleted: 28,000 events
            other.write_text("x")
            other.unlink()
        write(second, snapshots[1])
    finally:
        os.kill(host.pid, signal.SIGCONT)
    started = time.monotonic()
    wait_for_pixels(session, window, references[1], WITHIN * 3, "after-overflow", host=host)
    print(f"after an overflow: shown after {time.monotonic() - started:.2f} s")
    stop_host(session, host)


if __name__ == "__main__":
    scenario.run("x11-directory-follow", body)
