#!/usr/bin/python3
"""Reads a running program through AT-SPI, as a screen reader does.

Runs under a session bus (dbus-run-session) with Debian's own python3, which
has the AT-SPI bindings. Speaks JSON lines: each request on standard input,
{"id": N, "op": ..., ...}, gets one answer {"id": N, "result": ...} or
{"id": N, "error": "..."} on standard output. Events that a screen reader
would hear about (a changed name, a state or value change) arrive on standard
output as {"event": type, "pid": ..., "source": {...}} lines in between.

Requests:
  {"op": "tree", "pid": P}         the accessible tree of the application of
                                   process P, or null while it has none
  {"op": "press", "pid": P, "name": N}
                                   runs the "Press" action of P's push button
                                   named N; true when it was found and pressed
"""

import json
import os
import sys
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

# libatspi 2.46 marks Action.get_action_name deprecated, yet its bindings
# offer no other way to read an action's name.
warnings.filterwarnings("ignore", category=DeprecationWarning)

EVENTS = (
    "object:property-change:accessible-name",
    "object:property-change:accessible-value",
    "object:state-changed:showing",
)
MAX_DEPTH = 8


def role_name(node):
    return node.get_role_name()


def states_of(node):
    state_set = node.get_state_set()
    return sorted(
        Atspi.StateType(value).value_nick
        for value in range(Atspi.StateType.LAST_DEFINED)
        if state_set.contains(Atspi.StateType(value))
    )


def actions_of(node):
    if "Action" not in node.get_interfaces():
        return []
    return [Atspi.Action.get_action_name(node, i) for i in range(Atspi.Action.get_n_actions(node))]


def value_of(node):
    if "Value" not in node.get_interfaces():
        return None
    return {
        "current": Atspi.Value.get_current_value(node),
        "minimum": Atspi.Value.get_minimum_value(node),
        "maximum": Atspi.Value.get_maximum_value(node),
    }


def describe(node, depth=0):
    """One node and, up to MAX_DEPTH, its children, as plain data."""
    children = []
    if depth < MAX_DEPTH:
        for index in range(node.get_child_count()):
            child = node.get_child_at_index(index)
            if child is not None:
                children.append(describe(child, depth + 1))
    return {
        "role": role_name(node),
        "name": node.get_name(),
        "description": node.get_description(),
        "states": states_of(node),
        "actions": actions_of(node),
        "value": value_of(node),
        "children": children,
    }


def application_of(pid):
    desktop = Atspi.get_desktop(0)
    for index in range(desktop.get_child_count()):
        application = desktop.get_child_at_index(index)
        if application is not None and application.get_process_id() == pid:
            return application
    return None


def find(node, predicate, depth=0):
    if predicate(node):
        return node
    if depth >= MAX_DEPTH:
        return None
    for index in range(node.get_child_count()):
        child = node.get_child_at_index(index)
        found = child is not None and find(child, predicate, depth + 1)
        if found:
            return found
    return None


def tree(request):
    application = application_of(request["pid"])
    if application is None:
        return None
    # Read the program's present state, never what an earlier read kept.
    application.clear_cache()
    return describe(application)


def press(request):
    application = application_of(request["pid"])
    if application is None:
        return False
    application.clear_cache()
    button = find(
        application,
        lambda node: role_name(node) == "push button" and node.get_name() == request["name"],
    )
    if not button:
        return False
    names = actions_of(button)
    if "Press" not in names:
        return False
    return bool(Atspi.Action.do_action(button, names.index("Press")))


OPERATIONS = {"tree": tree, "press": press}


def write(message):
    sys.stdout.write(json.dumps(message) + "\n")
    sys.stdout.flush()


def answer(line):
    request = json.loads(line)
    try:
        write({"id": request["id"], "result": OPERATIONS[request["op"]](request)})
    except Exception as error:  # reported to the test, which fails with it
        write({"id": request.get("id"), "error": f"{type(error).__name__}: {error}"})


def on_event(event):
    source = event.source
    try:
        write(
            {
                "event": event.type,
                "pid": source.get_process_id(),
                "source": {
                    "role": role_name(source),
                    "name": source.get_name(),
                    "description": source.get_description(),
                },
                "detail": event.detail1,
            }
        )
    except GLib.Error:
        pass  # the source went away before it could be read


def main():
    loop = GLib.MainLoop()
    listener = Atspi.EventListener.new(on_event)
    for event_type in EVENTS:
        listener.register(event_type)

    pending = bytearray()

    def on_input(fd, condition):
        chunk = os.read(fd, 65536)
        if not chunk:
            loop.quit()
            return False
        pending.extend(chunk)
        while b"\n" in pending:
            line, _, rest = bytes(pending).partition(b"\n")
            pending[:] = rest
            if line.strip():
                answer(line.decode("utf-8"))
        return True

    GLib.io_add_watch(sys.stdin.fileno(), GLib.PRIORITY_DEFAULT, GLib.IOCondition.IN | GLib.IOCondition.HUP, on_input)
    write({"ready": True})
    loop.run()


if __name__ == "__main__":
    main()
