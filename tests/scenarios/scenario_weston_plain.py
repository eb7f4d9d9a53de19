"""weston (no layer-shell), with no X server behind DISPLAY: the widget falls
back to a plain Wayland window, keeps running, and says once on stderr what
the person loses there. A stale DISPLAY must not send it to XWayland."""

import os

import scenario
from desktop_session import poll, require_tools
from widget_checks import ENTRY_OPTIONS, WIDGET, ScenarioFailure, require_running, sample_snapshot, stop_host

PREFIX = "kelpo-widget desktop: "


def start_weston(session, width, height):
    require_tools({"weston": "weston"})
    runtime = session.root / "weston-runtime"
    runtime.mkdir(mode=0o700)
    env = dict(session.env, XDG_RUNTIME_DIR=str(runtime))
    env.pop("DISPLAY", None)
    weston = session.start("weston", ["weston", "--backend=headless-backend.so", "--socket=kelpo-weston",
                                      f"--width={width}", f"--height={height}", "--idle-time=0"], env=env)

    def socket():
        if weston.poll() is not None:
            raise ScenarioFailure("weston exited: " + session.log_text("weston")[-2000:])
        return (runtime / "kelpo-weston").exists()

    poll(socket, 10, interval=0.05, what="weston's socket")
    session.env.pop("GDK_BACKEND", None)
    session.env["WAYLAND_DISPLAY"] = str(runtime / "kelpo-weston")
    # A display number no server listens on.
    session.env["DISPLAY"] = ":4242"
    if os.path.exists("/tmp/.X11-unix/X4242"):
        raise ScenarioFailure("an X server listens on :4242; the scenario needs it free")


def body(session):
    start_weston(session, 1280, 800)
    session.start_session_bus()
    session.start_portal()
    session.write_snapshot(sample_snapshot(session))
    stdout = session.root / "host-stdout.txt"
    with open(stdout, "wb") as out:
        host = session.start("host", [WIDGET, "desktop", *ENTRY_OPTIONS, "--family", "medium"], stdout=out)
    said = poll(lambda: require_running(session, host) or "shown" in stdout.read_text() and stdout.read_text(), 15,
                interval=0.1, what="the host to say it shows the widget")
    if "as a plain window" not in said:
        raise ScenarioFailure(f"the host did not say it is a plain window: {said!r}")
    told = [line for line in session.log_text("host").splitlines() if line.startswith(PREFIX)]
    if len(told) != 1 or "no layer-shell" not in told[0]:
        raise ScenarioFailure(f"expected one line on stderr about the lost layer-shell, got {told}")
    print(f"plain window; stderr: {told[0][len(PREFIX):]}")
    stop_host(session, host)


if __name__ == "__main__":
    scenario.run("weston-plain", body)
