#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads the running program's window through AT-SPI, as a screen reader does.

Checks that every push button, check box, combo box, list and text box has
a name, that the Japanese on show and its pronunciation can be read as text,
and that Tab and Shift+Tab go round the controls in the expected order
(the keys are sent with xdotool), and that a new phrase is announced by
both texts. Prints what it found; exits 1 on a fault.
usage: atspi_check.py
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

NAMED_ROLES = {
    pyatspi.ROLE_PUSH_BUTTON: "push button",
    pyatspi.ROLE_CHECK_BOX: "check box",
    pyatspi.ROLE_COMBO_BOX: "combo box",
    pyatspi.ROLE_LIST: "list",
    pyatspi.ROLE_TEXT: "text box",
    pyatspi.ROLE_ENTRY: "text box",
}

# Tab's way from the phrase list round the window at start-up.
TAB_ORDER = [
    "Phrases", "Show kanji", "Show kana", "Japanese", "Pronunciation", "Play", "Play slowly",
    "Basic", "Travel", "Lodging", "Food", "Social", "Business", "Sightseeing", "Shopping",
    "Emergency", "Questions", "About", "Update version", "Technical support",
    "Report a bug or comments", "Minimise", "Exit", "Search", "Show favourites",
    "Related phrases", "Practice", "All", "Add to favourites",
]


def find_app(timeout=20.0):
    end = time.time() + timeout
    while time.time() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name and "lexoria" in app.name.lower():
                return app
        time.sleep(0.2)
    return None


def walk(node, depth=0):
    yield node, depth
    for child in node:
        if child is not None:
            yield from walk(child, depth + 1)


def text_of(node):
    try:
        text = node.queryText()
    except NotImplementedError:
        return None
    return text.getText(0, -1)


def focused(app):
    # A list's current line keeps its focused state while the focus is
    # elsewhere: the list itself says where the focus is.
    for node, _ in walk(app):
        if node.getRole() != pyatspi.ROLE_LIST_ITEM and node.getState().contains(pyatspi.STATE_FOCUSED):
            return node
    return None


def heard_changes(key, names, seconds=3.0):
    """The objects among names that announced a change of their text or name
    after the key was pressed."""
    heard = set()

    def listen(event):
        try:
            name = event.source.name
        except Exception:  # the object may be gone already
            return
        if name in names:
            heard.add(name)

    kinds = ("object:text-changed:insert", "object:property-change:accessible-name")
    for kind in kinds:
        pyatspi.Registry.registerEventListener(listen, kind)
    subprocess.run(["xdotool", "key", key], check=True)
    context = GLib.MainContext.default()
    end = time.time() + seconds
    while time.time() < end and heard != set(names):
        while context.iteration(False):
            pass
        time.sleep(0.05)
    for kind in kinds:
        pyatspi.Registry.deregisterEventListener(listen, kind)
    return heard


def main():
    app = find_app()
    if app is None:
        print("the program is not on the accessibility bus")
        return 1
    # Registered before its window is up: wait for the window's controls.
    end = time.time() + 20
    while time.time() < end and not any(n.getRole() == pyatspi.ROLE_PUSH_BUTTON for n, _ in walk(app)):
        time.sleep(0.2)
    faults = []
    controls = 0
    by_name = {}
    for node, depth in walk(app):
        role = node.getRole()
        name = node.name or ""
        print("%s%s %r%s" % ("  " * depth, node.getRoleName(), name,
                             " text=%r" % text_of(node) if role == pyatspi.ROLE_LABEL else ""))
        by_name.setdefault(name, node)
        if role in NAMED_ROLES:
            state = node.getState()
            if not state.contains(pyatspi.STATE_SHOWING):
                continue
            controls += 1
            if not name:
                faults.append("a %s has no name" % NAMED_ROLES[role])
    print("named controls on show: %d" % controls)

    # The first phrase of Basic: Japanese letters, and its romaji.
    checks = (("Japanese", lambda t: any(ord(c) >= 0x3000 for c in t)),
              ("Pronunciation", lambda t: any(c.isalpha() and ord(c) < 0x80 for c in t)))
    for name, looks_right in checks:
        node = by_name.get(name)
        shown = text_of(node) if node is not None else None
        print("%s reads %r" % (name, shown))
        if not shown or not looks_right(shown):
            faults.append("%s cannot be read (%r)" % (name, shown))

    window = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Lexoria_Japanese$"],
                            capture_output=True, text=True).stdout.split()
    if window:
        subprocess.run(["xdotool", "windowfocus", "--sync", window[0]], capture_output=True)
    for key, order in (("Tab", TAB_ORDER[1:] + TAB_ORDER[:1]),
                       ("shift+Tab", list(reversed(TAB_ORDER[1:])) + TAB_ORDER[:1])):
        heard = []
        for _ in order:
            before = focused(app)
            before = before.name if before is not None else None
            subprocess.run(["xdotool", "key", key], check=True)
            # The program takes the key in its own time on a busy machine.
            end = time.time() + 3
            now = before
            while now == before and time.time() < end:
                time.sleep(0.05)
                node = focused(app)
                now = node.name if node is not None else None
            heard.append(now)
        print("%s: %s" % (key, heard))
        if heard != order:
            faults.append("%s went %s, not %s" % (key, heard, order))

    # The focus is back in the list: the next line shows another phrase, and
    # both texts say so.
    changed = heard_changes("Down", {"Japanese", "Pronunciation"})
    print("changes announced by: %s" % sorted(changed))
    if changed != {"Japanese", "Pronunciation"}:
        faults.append("a new phrase was announced by %s only" % sorted(changed))

    for fault in faults:
        print("FAULT: " + fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
