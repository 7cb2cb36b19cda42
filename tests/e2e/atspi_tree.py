#!/usr/bin/python3
"""What a screen reader reads of Voltaro over AT-SPI, for the end-to-end scripts.

  atspi_tree.py check            exit 0 when AT-SPI can be read here (pyatspi, the registry)
  atspi_tree.py tree             one line per object of the running program, in tree order:
                                 ROLE|NAME|DESCRIPTION|ACTIONS (a name's line breaks become " / ")
  atspi_tree.py events SECONDS   prints "listening", then one line per event of the program:
                                 EVENT|ROLE|NAME, until SECONDS have passed

Only the application named Voltaro is read; the first one found when several run.
"""
import sys

try:
    import pyatspi
    from gi.repository import GLib
except ImportError as error:  # the script says so and skips
    print(f"pyatspi cannot be imported: {error}", file=sys.stderr)
    sys.exit(2)

EVENTS = (
    "object:property-change:accessible-name",
    "object:state-changed:showing",
    "window:activate",
)


def text(value):
    return " / ".join((value or "").splitlines())


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name == "Voltaro":
            return app
    return None


def walk(node, out):
    try:
        actions = node.queryAction()
        names = ",".join(actions.getName(i) for i in range(actions.nActions))
    except NotImplementedError:
        names = ""
    out.append("|".join([node.getRoleName(), text(node.name), text(node.description), names]))
    for child in node:
        if child is not None:
            walk(child, out)


def tree():
    app = application()
    if app is None:
        return 1
    lines = []
    walk(app, lines)
    print("\n".join(lines))
    return 0


def events(seconds):
    def heard(event):
        try:
            if event.host_application is None or event.host_application.name != "Voltaro":
                return
            source = event.source
            print(f"{event.type}|{source.getRoleName()}|{text(source.name)}", flush=True)
        except Exception:  # an object gone before it was read: not what is looked for
            pass

    pyatspi.Registry.registerEventListener(heard, *EVENTS)
    GLib.timeout_add(int(seconds * 1000), pyatspi.Registry.stop)
    print("listening", flush=True)
    pyatspi.Registry.start()
    return 0


def main(argv):
    if len(argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    if argv[1] == "check":
        try:
            pyatspi.Registry.getDesktop(0).childCount
        except Exception as error:
            print(f"the AT-SPI registry does not answer: {error}", file=sys.stderr)
            return 2
        return 0
    if argv[1] == "tree":
        return tree()
    if argv[1] == "events" and len(argv) == 3:
        return events(float(argv[2]))
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
