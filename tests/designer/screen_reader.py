#!/usr/bin/python3
"""The real designer on a virtual display, used as a screen reader uses it.

    screen_reader.py PROGRAM

Run under its own display and session bus (on_display.sh).
Starts PROGRAM --lang en, finds the field named "Core diameter" through
AT-SPI, sets its text as assistive technology does, and reads the field
named "Frame mass": a number in kg that follows the diameter, and marked out
of date while the diameter is no number.
"""
import os
import re
import subprocess
import sys
import time

import pyatspi

TIMEOUT = 30


def wait_for(what, find, program=None):
    deadline = time.monotonic() + TIMEOUT
    while time.monotonic() < deadline:
        if program is not None and program.poll() is not None:
            sys.exit(f"FAIL: the designer ended with status {program.returncode}")
        found = find()
        if found is not None:
            return found
        time.sleep(0.2)
    sys.exit(f"FAIL: no {what} after {TIMEOUT} s")


def named(root, name):
    """The first accessible below root with that name, breadth first."""
    queue = [root]
    while queue:
        node = queue.pop(0)
        try:
            if node.name == name and node.getRole() != pyatspi.ROLE_LABEL:
                return node
            queue.extend(node[i] for i in range(node.childCount))
        except Exception:  # a node that went away while walking
            continue
    return None


def text_of(node):
    return node.queryText().getText(0, -1)


def main():
    program = sys.argv[1]
    # On the display, whatever platform the test suite chose for the others:
    # only there does Qt speak AT-SPI.
    environment = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                       QT_ACCESSIBILITY="1")
    designer = subprocess.Popen([program, "--lang", "en"], env=environment)
    try:
        desktop = pyatspi.Registry.getDesktop(0)
        app = wait_for("kalvitra-designer on the accessibility bus", lambda: next(
            (a for a in desktop if a is not None and a.name == "kalvitra-designer"), None),
            designer)
        diameter = wait_for('field "Core diameter"', lambda: named(app, "Core diameter"))
        mass = wait_for('field "Frame mass"', lambda: named(app, "Frame mass"))
        first = text_of(mass)
        if not re.fullmatch(r"\d+\.\d\d kg", first):
            sys.exit(f"FAIL: Frame mass reads {first!r}")

        diameter.queryEditableText().setTextContents("250")
        wait_for("a new frame mass", lambda: text_of(mass) if text_of(mass) != first else None)
        grown = text_of(mass)
        if not float(grown.split()[0]) > float(first.split()[0]):
            sys.exit(f"FAIL: a 250 mm core weighs {grown}, a 196 mm one {first}")

        diameter.queryEditableText().setTextContents("250,5")
        wait_for("the frame mass marked out of date",
                 lambda: True if mass.description == "out of date" else None)
        # "250" was on the way to "250,5" in the same box: the mass kept is
        # the last one before that box was touched, not one of its half-typed texts.
        if text_of(mass) != first:
            sys.exit(f"FAIL: the frame mass from before the edit did not stay: {text_of(mass)}")
        print(f"Frame mass {first}, at D = 250 {grown}, {first} kept and marked for 250,5")
    finally:
        designer.terminate()
        designer.wait(10)


main()
