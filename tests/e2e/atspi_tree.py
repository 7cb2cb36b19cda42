#!/usr/bin/python3
"""What a screen reader reads of the running Voltaro over AT-SPI, for the end-to-end scripts.

  atspi_tree.py check           exit 0 once the AT-SPI registry answers
  atspi_tree.py tree            a line per object, in tree order: ROLE|NAME|DESCRIPTION|ACTIONS
  atspi_tree.py events SECONDS  "listening", then a line per event for SECONDS: EVENT|ROLE|NAME

A name's or description's line breaks are written " / ".
"""
import sys

import pyatspi
from gi.repository import GLib


def text(value):
    return " / ".join((value or "").splitlines())


def walk(node, out):
    try:
        action = node.queryAction()
        actions = ",".join(action.getName(i) for i in range(action.nActions))
    except NotImplementedError:
        actions = ""
    out.append("|".join([node.getRoleName(), text(node.name), text(node.description), actions]))
    for child in node:
        if child is not None:
            walk(child, out)


def heard(event):
    try:
        if event.host_application and event.host_application.name == "Voltaro":
            print(f"{event.type}|{event.source.getRoleName()}|{text(event.source.name)}", flush=True)
    except Exception:  # an object gone before it was read
        pass


def main(command, seconds=0):
    desktop = pyatspi.Registry.getDesktop(0)
    if command == "check":
        return 0 if desktop.childCount >= 0 else 1
    if command == "tree":
        lines = []
        for app in (a for a in desktop if a is not None and a.name == "Voltaro"):
            walk(app, lines)
        print("\n".join(lines))
        return 0 if lines else 1
    pyatspi.Registry.registerEventListener(
        heard, "object:property-change:accessible-name", "object:state-changed:showing",
        "window:activate")
    GLib.timeout_add(int(float(seconds) * 1000), pyatspi.Registry.stop)
    print("listening", flush=True)
    pyatspi.Registry.start()
    return 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
