"""X11 window managers and compositors a scenario runs under Xvfb, and what
it asks of the X server about them (through python3-xlib)."""

import os
import subprocess
import sys
from pathlib import Path

from desktop_session import ROOT_COLOUR, ScenarioFailure, poll, require_tools
from widget_checks import read_xwd

HERE = Path(__file__).resolve().parent

# How each is started, and the package it comes from.
MANAGERS = {
    "kwin": (["kwin_x11", "--replace"], "kwin-x11", {"QT_QPA_PLATFORM": "xcb"}),
    "openbox": (["openbox"], "openbox", {}),
    "xfwm4": (["xfwm4", "--compositor=off"], "xfwm4", {}),
    "mutter": (["mutter", "--x11", "--replace", "--sm-disable"], "mutter", {}),
}
COMPOSITORS = {"picom": (["picom", "--backend", "xrender"], "picom")}


def _xlib(session):
    from Xlib import display
    return display.Display(session.env["DISPLAY"])


def selection_owned(session, name):
    connection = _xlib(session)
    try:
        return connection.get_selection_owner(connection.intern_atom(name)) != 0
    finally:
        connection.close()


def manager_name(session):
    """The window manager's _NET_WM_NAME, once one manages the screen."""
    from Xlib import Xatom
    connection = _xlib(session)
    try:
        root = connection.screen().root
        check = root.get_full_property(connection.intern_atom("_NET_SUPPORTING_WM_CHECK"), Xatom.WINDOW)
        if check is None:
            return None
        window = connection.create_resource_object("window", check.value[0])
        name = window.get_full_property(connection.intern_atom("_NET_WM_NAME"), 0)
        return name.value.decode(errors="replace") if name is not None else None
    except Exception:  # the check window went away under a manager's restart
        return None
    finally:
        connection.close()


def start_manager(session, name, composited=False):
    argv, package, extra = MANAGERS[name]
    require_tools({argv[0]: package})
    env = dict(session.env, **extra)
    process = session.start(name, argv, env=env)

    def managing():
        if process.poll() is not None:
            raise ScenarioFailure(f"{name} exited: " + session.log_text(name)[-2000:])
        return manager_name(session) and (not composited or selection_owned(session, "_NET_WM_CM_S0"))

    poll(managing, 20, interval=0.1, what=f"{name} to manage the screen" + (" and composite" if composited else ""))
    return process


def start_compositor(session, name):
    argv, package = COMPOSITORS[name]
    require_tools({argv[0]: package})
    process = session.start(name, argv)
    poll(lambda: process.poll() is None and selection_owned(session, "_NET_WM_CM_S0"), 10, interval=0.05,
         what=f"{name} to take the compositing selection")
    return process


def stop_compositor(session, process):
    session.stop(process)
    poll(lambda: not selection_owned(session, "_NET_WM_CM_S0"), 5, interval=0.05,
         what="the compositing selection to be free")


def background(session, mode, label):
    """desktop_background.py in `mode`: a root pixmap (waits for it), or a
    desktop window (returns its process once the manager lists it)."""
    python = os.environ.get("KELPO_TEST_PYTHON", sys.executable)
    argv = [python, str(HERE / "desktop_background.py"), mode, *map(str, ROOT_COLOUR)]
    if mode == "root-pixmap":
        session.run(argv)
        return None
    process = session.start(label, argv, stdout=subprocess.PIPE)
    if process.stdout.readline().decode().strip() != "mapped":
        raise ScenarioFailure("the desktop window was not mapped: " + session.log_text(label))
    return process


def framebuffer(session):
    """The screen as the compositor painted it."""
    return read_xwd((session.framebuffer_dir / "Xvfb_screen0").read_bytes())
