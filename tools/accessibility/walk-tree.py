#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# Prints what a screen reader sees of the running Printer Settings through the AT-SPI bus: every
# shown object with its role and name. Exits 1 when a button, list, combo box, text field or
# dialog has no name.
import sys

import pyatspi

NEEDS_NAME = {"push button", "list", "combo box", "text", "dialog", "radio button", "check box",
              "spin button", "slider", "page tab", "frame"}


def walk(acc, depth, unnamed):
    try:
        role, name = acc.getRoleName(), acc.name
        showing = acc.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:  # an object that went away while we walked
        return
    if showing:
        print("  " * depth + f"[{role}] {name!r}")
        if role in NEEDS_NAME and not name.strip():
            unnamed.append(role)
    for i in range(acc.childCount):
        walk(acc.getChildAtIndex(i), depth + 1, unnamed)


def main():
    unnamed = []
    desktop = pyatspi.Registry.getDesktop(0)
    found = False
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == "Printer Settings":
            found = True
            walk(app, 0, unnamed)
    if not found:
        print("Printer Settings is not on the accessibility bus", file=sys.stderr)
        return 1
    if unnamed:
        print(f"{len(unnamed)} object(s) without a name: {', '.join(unnamed)}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
