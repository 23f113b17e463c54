"""Reads Kalvora over the accessibility bus (AT-SPI), as a screen reader does.

  a11y.py tree                    one line per object of the program: role, name, description
  a11y.py text NAME               prints the text of the text object NAME
  a11y.py announce NAME SECONDS   waits for the description of the object NAME to change and
                                  prints the new one; prints "listening" once it listens
Exit status 0 when read, 1 when the program or the change is not found in time.
"""
import sys

import pyatspi
from gi.repository import GLib


def lines(node):
    try:
        yield "\t".join([node.getRoleName(), node.name, node.description])
        children = list(node)
    except GLib.Error:  # an object gone while it is read
        return
    for child in filter(None, children):
        yield from lines(child)


def tree():
    desktop = pyatspi.Registry.getDesktop(0)
    apps = [app for app in desktop if app is not None and app.name == "Kalvora"]
    for line in lines(apps[0]) if apps else []:
        print(line.replace("\n", " "))
    return 0 if apps else 1


def text(name):
    desktop = pyatspi.Registry.getDesktop(0)
    found = [node for app in desktop if app is not None and app.name == "Kalvora"
             for node in pyatspi.utils.findAllDescendants(app, lambda n: n.name == name)]
    for node in found:
        try:
            print(node.queryText().getText(0, -1))
            return 0
        except (NotImplementedError, GLib.Error):  # not a text, or gone
            continue
    return 1


def announce(name, seconds):
    heard = []

    def changed(event):
        if event.source is not None and event.source.name == name:
            heard.append(event.source.description)
            pyatspi.Registry.stop()

    pyatspi.Registry.registerEventListener(
        changed, "object:property-change:accessible-description")
    GLib.timeout_add_seconds(seconds, pyatspi.Registry.stop)
    GLib.idle_add(lambda: print("listening", flush=True) and False)
    pyatspi.Registry.start()
    if not heard:
        return 1
    print(heard[0])
    return 0


if __name__ == "__main__":
    if sys.argv[1:] == ["tree"]:
        sys.exit(tree())
    if sys.argv[1:2] == ["text"] and len(sys.argv) == 3:
        sys.exit(text(sys.argv[2]))
    if sys.argv[1:2] == ["announce"] and len(sys.argv) == 4:
        sys.exit(announce(sys.argv[2], int(sys.argv[3])))
    sys.exit(__doc__)
