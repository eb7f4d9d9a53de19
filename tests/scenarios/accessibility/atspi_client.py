"""A screen reader's view of one application, from outside it, through
AT-SPI (pyatspi): run in the scenario's private session, it finds the application by
its process id and answers one question on stdout as JSON.

    atspi_client.py tree PID          the windows and their children
    atspi_client.py click PID PATH    runs the "click" action of an object
                                      (PATH: window index, or window/child)
    atspi_client.py focus PID PATH    grabFocus() on an object: its answer and states
    atspi_client.py listen PID        one line per event from PID, until stdin closes
    atspi_client.py menus PID         every menu and menu item, each with the
                                      names leading to it from its menu
"""

import json
import sys
import threading

import pyatspi
from gi.repository import GLib


def application(pid):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def actions(accessible):
    try:
        action = accessible.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def describe(accessible):
    extents = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return {
        "name": accessible.name,
        "description": accessible.description,
        "role": accessible.getRoleName(),
        "extents": [extents.x, extents.y, extents.width, extents.height],
        "actions": actions(accessible),
        "states": states(accessible),
    }


def tree(pid):
    app = application(pid)
    if app is None:
        return None
    return [dict(describe(window), children=[describe(child) for child in window]) for window in app]


def at(pid, path):
    target = application(pid)
    for index in path:
        target = target.getChildAtIndex(index) if target is not None else None
    return target


def states(accessible):
    return sorted(pyatspi.stateToString(state) for state in accessible.getState().getStates())


def focus(pid, path):
    """As a screen reader moves its focus onto an object."""
    target = at(pid, path)
    if target is None:
        return {"granted": False, "reason": "no such object"}
    return {"granted": bool(target.queryComponent().grabFocus()), "name": target.name}


def click(pid, path):
    target = at(pid, path)
    if target is None:
        return {"clicked": False, "reason": "no such object"}
    if actions(target)[:1] != ["click"]:
        return {"clicked": False, "reason": f"no click action: {actions(target)}"}
    return {"clicked": bool(target.queryAction().doAction(0)), "name": target.name}


MENU_ROLES = {"menu", "menu item", "radio menu item", "check menu item"}


def menus(pid):
    """The menus and their items wherever they are in the tree, each with
    its path (for click) and its names from the outermost menu item down,
    e.g. ["Taille", "Petit"]."""
    app = application(pid)
    if app is None:
        return None
    found = []

    def walk(accessible, path, names, depth):
        role = accessible.getRoleName()
        if role in MENU_ROLES:
            # An item with a submenu is a named "menu"; the menu it pops up
            # has no name of its own.
            if accessible.name:
                names = names + [accessible.name]
            found.append(dict(describe(accessible), path="/".join(map(str, path)), names=names))
        if depth == 0:
            return
        for index in range(accessible.childCount):
            child = accessible.getChildAtIndex(index)
            if child is not None:
                walk(child, path + [index], names, depth - 1)

    for index in range(app.childCount):
        window = app.getChildAtIndex(index)
        if window is not None:
            walk(window, [index], [], 6)
    return found


def listen(pid):
    def on_event(event):
        try:
            if event.source.get_process_id() != pid:
                return
            name = event.source.name
        except GLib.Error:
            name = None
        print(json.dumps({"type": str(event.type), "source": name, "detail1": event.detail1}), flush=True)

    pyatspi.Registry.registerEventListener(on_event, "object:children-changed",
                                           "object:property-change:accessible-name",
                                           "object:property-change:accessible-description")
    # The driver closes stdin to end the listening.
    threading.Thread(target=lambda: (sys.stdin.read(), GLib.idle_add(pyatspi.Registry.stop)), daemon=True).start()
    print(json.dumps({"type": "ready"}), flush=True)
    pyatspi.Registry.start()


def main():
    command, pid = sys.argv[1], int(sys.argv[2])
    if command == "tree":
        print(json.dumps(tree(pid)))
    elif command == "click":
        print(json.dumps(click(pid, [int(part) for part in sys.argv[3].split("/")])))
    elif command == "focus":
        print(json.dumps(focus(pid, [int(part) for part in sys.argv[3].split("/")])))
    elif command == "menus":
        print(json.dumps(menus(pid)))
    elif command == "listen":
        listen(pid)
    else:
        sys.exit(f"atspi_client.py: unknown command {command}")


if __name__ == "__main__":
    main()
