"""What the host cannot use is refused at once, in one line, instead of
hanging or dying without a word: GDK_SCALE values GTK cannot draw at. A FIFO
in desktop.ini's place neither hangs the start nor costs the widget: the
defaults show, and --remove-autostart, which needs no settings, works."""

import os
import subprocess
import time

import scenario
from widget_checks import WIDGET, ScenarioFailure, host_windows, poll, start_host, stop_host

# A refusal takes some 0.05 s; the faults hung for ever or ran without a window.
BOUND = 10.0  # seconds


def run_widget(session, arguments, env):
    started = time.monotonic()
    try:
        result = subprocess.run([WIDGET, *arguments], env=env, capture_output=True, timeout=BOUND)
    except subprocess.TimeoutExpired:
        raise ScenarioFailure(f"kelpo-widget {' '.join(arguments)} still ran after {BOUND} s") from None
    return result.returncode, result.stdout.decode(errors="replace"), result.stderr.decode(errors="replace"), \
        time.monotonic() - started


def expect_refused(session, what, arguments, env, naming):
    status, _, stderr, took = run_widget(session, arguments, env)
    lines = stderr.strip().splitlines()
    if status == 0 or len(lines) != 1 or naming not in lines[0]:
        raise ScenarioFailure(f"{what}: status {status}, stderr {stderr!r}")
    print(f"{what}: refused after {took:.2f} s: {lines[0]}")


def body(session):
    session.start_xvfb(800, 600)
    session.start_session_bus()

    # 1. A FIFO as desktop.ini.
    settings = session.config_home / "app.kelpo.widget" / "desktop.ini"
    settings.parent.mkdir(parents=True)
    os.mkfifo(settings)
    host = start_host(session, [], [], label="host-fifo")
    host_windows(session, host, 1, timeout=BOUND)
    said = poll(lambda: "ignored" in session.log_text("host-fifo") and session.log_text("host-fifo"), BOUND,
                what="the host to say it ignored desktop.ini")
    if str(settings) not in said:
        raise ScenarioFailure(f"a FIFO as desktop.ini: the host did not name it:\n{said}")
    stop_host(session, host, label="host-fifo")
    print("a FIFO as desktop.ini: the defaults show, and the host says so")
    autostart = session.config_home / "autostart" / "kelpo-widget.desktop"
    autostart.parent.mkdir()
    os.mkfifo(autostart)
    status, stdout, stderr, took = run_widget(session, ["desktop", "--remove-autostart"], session.env)
    if status != 0 or autostart.exists():
        raise ScenarioFailure(f"--remove-autostart beside a FIFO desktop.ini: status {status}, {stderr!r}")
    print(f"--remove-autostart: done after {took:.2f} s: {stdout.strip()}")
    settings.unlink()

    # 2. Scales GTK cannot draw at.
    for scale in ("-1", "0", "91", "1000"):
        expect_refused(session, f"GDK_SCALE={scale}", ["desktop"], dict(session.env, GDK_SCALE=scale),
                       f'GDK_SCALE="{scale}"')


if __name__ == "__main__":
    scenario.run("x11-refusals", body)
