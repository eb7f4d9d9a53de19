"""A screen reader reads the widget: the host runs under Xvfb with its own
session bus and accessibility bus (the at-spi2 bus launcher and registry),
and its accessible tree is walked from outside, through AT-SPI, as Orca would.

Checks, for the medium widget in mode to-sort: the ring is one element named
"Ta semaine" whose description is the week label; each row speaks its badge,
title and detail; the mascot says nothing; the names are those `tree
--accessibility` prints; a row's click action opens its topic link at the
kelpo:// handler, the window's the widget's link; after a new snapshot the
tree follows and AT-SPI hears of it.
"""

import json
import os
import re
import signal
import subprocess
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent))

import scenario  # noqa: E402
from widget_checks import (ENTRY_OPTIONS, ScenarioFailure, host_windows, poll, start_host,  # noqa: E402
                           stop_host, widget_command)

PYTHON = os.environ.get("KELPO_TEST_PYTHON", sys.executable)
CLIENT = str(HERE / "atspi_client.py")
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
REGISTRY = "/usr/libexec/at-spi2-registryd"

IDS = ["6F9619FF-8B86-D011-B42D-00C04FC964FF", "A8098C1A-F86E-11DA-BD1A-00112444BE1E",
       "E902893A-9D22-3C7E-A7B8-D6E313B71D9F"]


def item(index, title, score, unread):
    return {"id": IDS[index], "title": title, "score": score, "gallery": "stack",
            "detail": f"Atelier · {10 + index} min", "unread": unread}


def snapshot(items):
    return json.dumps({
        "toSort": items, "toSortCount": len(items), "program": [], "programCount": 0,
        "weekDone": 135, "weekPlanned": 45, "weekBudget": 300, "weekDoneCount": 4,
        "weekLabel": "2 h 15 / 5 h", "weekLeftLabel": "2 h 45", "weekBudgetLabel": "5 h",
        "nextSearch": "2026-12-07T08:00:00Z", "searching": False, "accent": "Lagune",
    }, ensure_ascii=False)


FIRST = snapshot([item(0, "Les nuages en temps réel", 7, False),
                  item(1, "Compilateurs et boucles", 10, False),
                  item(2, "Interfaces en mode texte", 4, True)])
# A reload: one item fewer, the first one renamed.
SECOND = snapshot([item(0, "Les nuages, deuxième lecture", 7, False),
                   item(1, "Compilateurs et boucles", 10, False)])

BADGES = ["Note 7 sur 10", "Note 10 sur 10, pépite", "Pas de note : rien n’a pu être lu"]


# -- the accessibility bus ------------------------------------------------


def start_accessibility_bus(session):
    """The bus launcher (which runs the accessibility bus's daemon) and the
    registry, both started here by PID; returns them and the daemon's PIDs."""
    for program in (BUS_LAUNCHER, REGISTRY):
        if not os.path.exists(program):
            raise ScenarioFailure(f"missing {program} (package at-spi2-core)")
    launcher = session.start("atspi-bus-launcher", [BUS_LAUNCHER, "--launch-immediately"])

    def bus_address():
        result = subprocess.run(["dbus-send", "--session", "--print-reply=literal", "--dest=org.a11y.Bus",
                                 "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
                                env=session.env, capture_output=True, timeout=10)
        return result.stdout.decode().strip() if result.returncode == 0 else None

    address = poll(bus_address, 10, interval=0.05, what="the accessibility bus")
    daemons = (Path(f"/proc/{launcher.pid}/task/{launcher.pid}/children").read_text().split())
    # Started before any client asks for it, so that the bus never has to
    # start a registry of its own.
    registry = session.start("atspi-registry", [REGISTRY])

    def registry_running():
        result = subprocess.run(["dbus-send", f"--bus={address}", "--print-reply=literal", "--dest=org.freedesktop.DBus",
                                 "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner",
                                 "string:org.a11y.atspi.Registry"],
                                env=session.env, capture_output=True, timeout=10)
        return b"true" in result.stdout

    poll(registry_running, 10, interval=0.05, what="the accessibility registry")
    return launcher, registry, [int(pid) for pid in daemons]


def stop_accessibility_bus(session, launcher, registry, daemons):
    """In reverse order; the launcher does not stop its bus daemon, so the
    daemon is stopped here by its PID, and waited for."""
    session.stop(registry)
    for pid in daemons:
        try:
            os.kill(pid, signal.SIGTERM)
        except ProcessLookupError:
            continue
        poll(lambda: not Path(f"/proc/{pid}").exists() or "Z" in Path(f"/proc/{pid}/stat").read_text().split()[2],
             5, what=f"the accessibility bus daemon {pid} to stop")
    session.stop(launcher)


# -- what a screen reader reads -------------------------------------------


def client(session, *arguments):
    result = subprocess.run([PYTHON, "-W", "ignore", CLIENT, *arguments], env=session.env,
                            capture_output=True, timeout=20)
    if result.returncode != 0:
        raise ScenarioFailure(f"atspi_client {' '.join(arguments)}: {result.stderr.decode(errors='replace')}")
    return json.loads(result.stdout)


def spoken(element):
    """One element as `tree --accessibility` prints it."""
    return element["name"] + (" — " + element["description"] if element["description"] else "")


QUOTED = re.compile(r'"((?:[^"\\]|\\.)*)"')


def unquoted(line):
    """A listing line's quoted label and value, as one spoken text."""
    texts = [json.loads('"' + text + '"') for text in QUOTED.findall(line)]
    return " — ".join(text for text in texts if text)


def printed(session, snapshot_text):
    lines = widget_command(session, ["tree", *ENTRY_OPTIONS, "--family", "medium", "--accessibility"],
                           snapshot_text).decode().splitlines()
    return [unquoted(line) for line in lines]


def read_window(session, host, expected):
    """The host's one window as AT-SPI shows it, once its children read as
    `expected`."""
    last = {}

    def check():
        windows = client(session, "tree", str(host.pid))
        if windows and len(windows) == 1:
            last["window"] = windows[0]
            return windows[0] if [spoken(child) for child in windows[0]["children"]] == expected else None
        return None

    try:
        return poll(check, 10, interval=0.2, what="the accessible tree to read as `tree --accessibility`")
    except ScenarioFailure:
        got = [spoken(child) for child in last.get("window", {}).get("children", [])]
        raise ScenarioFailure(f"AT-SPI reads {got}, `tree --accessibility` prints {expected}") from None


def inside(inner, outer):
    x, y, w, h = inner
    ox, oy, ow, oh = outer
    return ox <= x and oy <= y and x + w <= ox + ow and y + h <= oy + oh


def check_first_tree(window, geometry):
    children = window["children"]
    # The ring comes first; the column's caption "Ta semaine" follows it.
    ring = next((child for child in children if child["name"] == "Ta semaine"), None)
    if ring is None or ring["description"] != "2 h 15 / 5 h" or ring["role"] != "image":
        raise ScenarioFailure(f"no ring element with the week label: {ring}")
    if ring["extents"][2:] != [76, 76]:
        raise ScenarioFailure(f"the ring's extents are {ring['extents']}, not 76 × 76")
    # The mascot sits inside the ring; hidden, it has no object of its own.
    within_ring = [child["name"] for child in children if child is not ring and inside(child["extents"], ring["extents"])]
    if within_ring:
        raise ScenarioFailure(f"objects inside the ring: {within_ring}")
    window_box = [geometry.x, geometry.y, geometry.width, geometry.height]
    outside = [child["name"] for child in children if not inside(child["extents"], window_box)]
    if outside:
        raise ScenarioFailure(f"objects outside the window {window_box}: {outside}")
    items = json.loads(FIRST)["toSort"]
    for badge, entry in zip(BADGES, items):
        row = [child["name"] for child in children if child["role"] == "link" and child["actions"] == ["click"]]
        expected = [badge, entry["title"], entry["detail"]]
        start = row.index(badge) if badge in row else -1
        if row[start:start + 3] != expected:
            raise ScenarioFailure(f"the row of {entry['title']!r} reads {row[start:start + 3]}, not {expected}")
    if window["actions"] != ["click"]:
        raise ScenarioFailure(f"the window offers {window['actions']}, not the widget link's click")


def click_and_expect(session, host, path, url, what):
    before = len(session.opened_urls())
    answer = client(session, "click", str(host.pid), path)
    if not answer.get("clicked"):
        raise ScenarioFailure(f"the click action of {what} failed: {answer}")
    opened = poll(lambda: session.opened_urls()[before:], 5, what=f"the handler to get the link of {what}")
    if opened != [url]:
        raise ScenarioFailure(f"the click action of {what} opened {opened}, not {url}")


def body(session):
    session.start_xvfb(1280, 800)
    session.start_session_bus()
    # The product finds the accessibility bus as in a real session.
    del session.env["NO_AT_BRIDGE"]
    launcher, registry, daemons = start_accessibility_bus(session)
    session.register_link_handler()
    session.write_snapshot(FIRST)
    expected_first = printed(session, FIRST)

    host = start_host(session, ["medium"], ["--appearance", "light"])
    (geometry,) = host_windows(session, host, 1)
    window = read_window(session, host, expected_first)
    check_first_tree(window, geometry)

    titles = [child["name"] for child in window["children"]]
    second_title = titles.index(json.loads(FIRST)["toSort"][1]["title"])
    click_and_expect(session, host, f"0/{second_title}", f"kelpo://topic/{IDS[1]}", "the second row's title")
    click_and_expect(session, host, "0", "kelpo://inbox", "the window")

    listener = session.start("atspi-listener", [PYTHON, "-W", "ignore", CLIENT, "listen", str(host.pid)],
                             stdout=subprocess.PIPE, stdin=subprocess.PIPE)
    if json.loads(listener.stdout.readline() or "{}").get("type") != "ready":
        raise ScenarioFailure("the AT-SPI listener did not start: " + session.log_text("atspi-listener"))
    session.write_snapshot(SECOND)
    read_window(session, host, printed(session, SECOND))
    listener.stdin.close()
    events = [json.loads(line) for line in listener.stdout.read().decode().splitlines()]
    session.stop(listener)
    heard = {event["type"] for event in events}
    for wanted in ("object:children-changed:remove", "object:property-change:accessible-name"):
        if wanted not in heard:
            raise ScenarioFailure(f"AT-SPI was not told {wanted} on reload; it heard {sorted(heard)}")

    stop_host(session, host)
    stop_accessibility_bus(session, launcher, registry, daemons)


if __name__ == "__main__":
    scenario.run("x11_accessibility", body)
