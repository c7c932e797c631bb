#!/usr/bin/python3
"""Reads and presses the accessible objects of Tovali Explorer over AT-SPI.

Run with Debian's /usr/bin/python3 (python3-pyatspi) on the session bus the
program uses (DBUS_SESSION_BUS_ADDRESS).

  atspi_probe.py tree           one line per accessible object of the program's
                                own widgets: depth, role, name, actions and
                                "showing" or "hidden", separated by tabs (the
                                contents of web pages are left out)
  atspi_probe.py press NAME     runs the first action of the first showing
                                push button called NAME
  atspi_probe.py follow TEXT    follows the first link of a shown page whose
                                name begins with TEXT, as a click on it would
  atspi_probe.py choose NAME    selects the first showing radio button, or
                                ticks the first showing check box, called NAME
  atspi_probe.py set-text NAME TEXT
                                replaces the text of the first showing
                                editable text field called NAME with TEXT

Exit status 0; 1 when the program is not on the bus or NAME or TEXT is not
found.
"""
import sys

import pyatspi

PROGRAM = "tovali-explorer"
BUTTON_ROLES = {"push button", "toggle button", "menu item"}


def program():
    desktop = pyatspi.Registry.getDesktop(0)
    for index in range(desktop.childCount):
        app = desktop.getChildAtIndex(index)
        if app is not None and app.name == PROGRAM:
            return app
    return None


def walk(node, depth=0, into_pages=False):
    try:
        role = node.getRoleName()
        name = node.name or ""
        showing = node.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:  # the object went away meanwhile
        return
    actions = []
    try:
        action = node.queryAction()
        actions = [action.getName(i) for i in range(action.nActions)]
    except NotImplementedError:
        pass
    yield node, depth, role, name, actions, showing
    if role in ("document web", "document frame") and not into_pages:
        return  # a page's own links and buttons are the page's business
    for index in range(node.childCount):
        try:
            child = node.getChildAtIndex(index)
        except Exception:
            continue
        if child is not None:
            yield from walk(child, depth + 1, into_pages)


def escape(text):
    return text.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n").replace("\r", "\\r")


def showing_node(app, roles, wanted, with_action=False):
    """The first showing object of one of `roles` called `wanted`, or None."""
    for node, _, role, name, actions, showing in walk(app):
        if role in roles and name == wanted and showing and (actions or not with_action):
            return node
    return None


def main(args):
    app = program()
    if app is None:
        print(PROGRAM + " is not on the accessibility bus", file=sys.stderr)
        return 1
    if args == ["tree"]:
        for _, depth, role, name, actions, showing in walk(app):
            print("\t".join([str(depth), role, escape(name), ",".join(actions),
                             "showing" if showing else "hidden"]))
        return 0
    if len(args) == 2 and args[0] == "press":
        node = showing_node(app, ("push button",), args[1], with_action=True)
        if node is None:
            print("no showing push button named " + args[1], file=sys.stderr)
            return 1
        node.queryAction().doAction(0)
        return 0
    if len(args) == 2 and args[0] == "choose":
        node = showing_node(app, ("radio button", "check box"), args[1])
        if node is None:
            print("no showing radio button or check box named " + args[1], file=sys.stderr)
            return 1
        if not node.getState().contains(pyatspi.STATE_CHECKED):
            node.queryAction().doAction(0)
        return 0
    if len(args) == 3 and args[0] == "set-text":
        node = showing_node(app, ("text", "password text", "entry"), args[1])
        if node is None:
            print("no showing text field named " + args[1], file=sys.stderr)
            return 1
        node.queryEditableText().setTextContents(args[2])
        return 0
    if len(args) == 2 and args[0] == "follow":
        for node, _, role, name, actions, _ in walk(app, into_pages=True):
            if role == "link" and name.startswith(args[1]) and actions:
                node.queryAction().doAction(0)
                return 0
        print("no link named " + args[1], file=sys.stderr)
        return 1
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
