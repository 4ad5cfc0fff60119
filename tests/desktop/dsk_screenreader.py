#!/usr/bin/python3
"""What a screen reader hears: a copy of the staged program over the AT-SPI
bus (scripts/run-atspi-test.sh inside scripts/run-desktop-test.sh), driven by
keys (xdotool) through its windows. Each window's tree must have a name on
every control that takes the focus or an action, no drop-down list named by
one of its values, no `frame` inside a window and no window as a `filler`;
the balloon must be spoken, and the windows keep their own rules on the way.

usage: dsk_screenreader.py <prjTARVO2 in its staged program folder>
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

faults = []
events = []
MAIN, PROGRESS = "Quenmark v2", "Your Progress"


def expect(ok, message):
    if not ok:
        faults.append(message)
        print("FAULT: " + message, flush=True)
    return ok


def safe(call, default=""):
    try:
        return call()
    except Exception:  # the object may be gone by the time it is asked
        return default


def on_event(e):
    s = e.source
    events.append({"type": e.type, "detail1": e.detail1, "source": s,
                   "role": safe(s.getRoleName), "name": safe(lambda: s.name),
                   "description": safe(lambda: s.description)})


for kind in ("object:state-changed:focused", "object:state-changed:showing",
             "object:announcement", "window:activate", "window:create"):
    pyatspi.Registry.registerEventListener(on_event, kind)


def pump(seconds):
    context, end = GLib.MainContext.default(), time.monotonic() + seconds
    while True:
        while context.pending():
            context.iteration(False)
        if time.monotonic() >= end:
            return
        time.sleep(0.01)


def wait_for(predicate, seconds=10.0):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        pump(0.05)
        value = safe(predicate, None)
        if value:
            return value
    return None


def key(*keys):
    """Each key, then a wait until the program has said what it does."""
    for k in keys:
        subprocess.run(["xdotool", "key", "--clearmodifiers", k], check=True)
        seen, quiet_since, end = len(events), time.monotonic(), time.monotonic() + 3
        while time.monotonic() < end and time.monotonic() - quiet_since < 0.2:
            pump(0.05)
            if len(events) != seen:
                seen, quiet_since = len(events), time.monotonic()


def focused():
    return next((e for e in reversed(events)
                 if e["type"] == "object:state-changed:focused" and e["detail1"]), {})


def tab_to(name, role, back=False):
    for _ in range(60):
        if focused().get("name") == name and focused().get("role") == role:
            return True
        key("shift+Tab" if back else "Tab")
    return expect(False, "Tab never reached the %s %r" % (role, name))


def states(o):
    return safe(lambda: o.getState().getStates(), [])


def showing(o):
    return pyatspi.STATE_SHOWING in states(o)


def children(o):
    return [c for c in safe(lambda: list(o), []) if c is not None]


def find(root, role=None, name=None, shown=True):
    """Objects under root (root too) in tree order; only those on show."""
    if shown and not showing(root):
        return []
    here = [root] if ((role is None or root.getRoleName() == role)
                      and (name is None or root.name == name)) else []
    return here + [o for c in children(root) for o in find(c, role, name, shown)]


def actions(o):
    try:
        a = o.queryAction()
    except NotImplementedError:
        return []
    return [a.getName(i) for i in range(a.nActions) if a.getName(i) != "SetFocus"]


def check_tree(root, where):
    for o in find(root):
        role, name = o.getRoleName(), (o.name or "").strip()
        # A scroll bar is read with the view it scrolls and takes no focus.
        if role != "scroll bar" and (pyatspi.STATE_FOCUSABLE in states(o) or actions(o)):
            expect(name, "%s: a %s that takes the focus or an action has no name" % (where, role))
        if role == "combo box":
            values = [i.name for i in find(o, "list item", shown=False)]
            expect(name and name not in values, "%s: list %r among its values" % (where, name))
        expect(role != "frame" or o is root, "%s: %r is a frame inside a window" % (where, name))
    expect(root.getRoleName() in ("frame", "dialog"), "%s is a %s" % (where, root.getRoleName()))


def window(app, title, seconds=10.0):
    """The window on show titled title (or "Someone: title")."""
    return wait_for(lambda: next(w for w in children(app) if showing(w) and (
        w.name == title or w.name.endswith(": " + title))), seconds)


def opened(app, keys, title, where=None):
    """The window that keys open, walked; only it and the window the keys went
    to (its pop-up menu gives that one the activation back) are announced."""
    mark = len(events)
    key(*keys)
    w = window(app, title)
    if expect(w, "%r never showed" % title):
        wait_for(lambda: any(e["type"] == "window:activate" and e["name"] == w.name
                             for e in events[mark:]), 3)
        pump(0.5)
        said = [e["name"] for e in events[mark:] if e["type"] == "window:activate"]
        expect(said and said[-1] == w.name and set(said) <= {w.name, where or MAIN},
               "opening %r announced %r" % (title, said))
        check_tree(w, title)
    return w


def main():
    if not shutil.which("xdotool"):
        print("skipped: xdotool is not installed (Debian package xdotool)")
        return 77
    program = sys.argv[1]
    folder = tempfile.mkdtemp(prefix="tarvo-screenreader-")
    copy = os.path.join(folder, "AppFolder")
    shutil.copytree(os.path.dirname(os.path.abspath(program)), copy, symlinks=True)
    proc = subprocess.Popen([os.path.join(copy, os.path.basename(program))], cwd=folder,
                            env=dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
    try:
        app = wait_for(lambda: next(a for a in children(pyatspi.Registry.getDesktop(0))
                                    if a.get_process_id() == proc.pid), 20)
        if expect(app, "the program never came on the accessibility bus"):
            walk_windows(app)
    finally:
        proc.terminate()
        try:
            proc.wait(10)
        except subprocess.TimeoutExpired:
            proc.kill()
        shutil.rmtree(folder, ignore_errors=True)
    print("%d faults" % len(faults) if faults else "every window reads well", flush=True)
    return 1 if faults else 0


def walk_windows(app):
    welcome = window(app, "Welcome to Quenmark v2", 20)
    if not expect(welcome, "no welcome window"):
        return
    check_tree(welcome, "welcome")
    key("Tab")  # the focus shows a button's description, as the mouse does
    expect(focused().get("description") in [l.name for l in find(welcome, "label")],
           "welcome: the description of %r is not shown" % focused().get("name"))
    tab_to("The Character Planning Assistant", "push button", back=True)
    assistant = opened(app, ["Return"], "Character Generation Wizard", welcome.name)
    if assistant:
        tops = [s.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).y
                for s in find(assistant, "slider")]
        expect(len(tops) == 3 and tops == sorted(tops), "assistant: sliders met at %r" % tops)
        key("Escape")
    welcome = window(app, "Welcome to Quenmark v2")
    tab_to("Your Custom Design", "push button")
    main = opened(app, ["Return"], MAIN, welcome.name)
    if not main:
        return
    progress = window(app, PROGRESS)
    if expect(progress, "no progress window"):
        check_tree(progress, PROGRESS)

    # Steps one to five by Enter (Next).
    groups = {2: ["Custom Class Name", "Class Specialization"],
              4: ["Favourite Attribute Number One", "Favourite Attribute Number Two"]}
    for step in range(1, 6):
        check_tree(main, "step %d" % step)
        for g in groups.get(step, []):
            expect(find(main, "panel", g), "step %d: no group named %r" % (step, g))
        if step < 5:
            key("Return")
    majors = find(main, "list", "Major skills")[0]
    expect(majors.description == "Five Major Skills (5 remaining)",
           "step five: the major skills are described as %r" % majors.description)
    tab_to("External Link Avaliable", "link")

    # AutoSelect without a class: the balloon is spoken, on the screen.
    mark = len(events)
    key("alt+s")
    spoken = wait_for(lambda: next(e for e in events[mark:] if e["name"] == "Class not selected!"
                                   and (e["type"] == "object:announcement" or e["detail1"]
                                        and e["role"] in ("notification", "alert"))), 5)
    if expect(spoken, "the balloon sent nothing a screen reader speaks"):
        expect(spoken["description"].startswith("If you do not select a class"),
               "the balloon says %r" % spoken["description"])
        box = spoken["source"].queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        screen = pyatspi.Registry.getDesktop(0).queryComponent().getExtents(
            pyatspi.DESKTOP_COORDS)
        expect(0 <= box.x and box.x + box.width <= screen.width and 0 <= box.y
               and box.y + box.height <= screen.height, "the balloon is off the screen")

    # A template from the loader: its description is read with it.
    tab_to("Load", "push button")
    loader = opened(app, ["Return", "Down", "Return"], "Load Template")
    if loader:
        expect(len(find(loader, "radio button")) == 2, "loader: Profile and Template")
        tab_to("Templates", "list")
        key("Down")
        expect("Strengths: " in focused().get("description", ""), "loader: template undescribed")
        key("Return")
        wait_for(lambda: not showing(loader), 5)

    # The review: each arrow is described by its line; Space goes to its step,
    # where Tab enters the race group on the race chosen.
    lines = [(l.description or l.name).rstrip("…").strip() for l in find(main, "label")]
    for m in [b for b in find(main, "push button") if b.name.startswith("Edit ")]:
        expect(m.description in lines or any(l.endswith(":") and m.description.startswith(l)
                                             for l in lines),
               "review: %r is described as %r" % (m.name, m.description))
    tab_to("Edit Race", "push button")
    race = focused().get("description", "").split(": ", 1)[-1]
    key("space")
    for _ in range(12):
        if focused().get("role") == "radio button":
            break
        key("Tab")
    expect(focused().get("name") == race, "step three: Tab enters the races on %r, not %r"
           % (focused().get("name"), race))

    # A screen reader's toggle of a step button shows the step.
    for step, panel in (("Five", "STEP FIVE: Major and minor skills"),
                        ("Nine", "STEP NINE: Further resources")):
        find(main, "radio button", step)[0].queryAction().doAction(0)
        expect(wait_for(lambda: find(main, "panel", panel), 3), "%s toggled: not shown" % step)
        if step == "Five":
            tab_to("Major skills", "list")
            for _ in range(27):  # to a skill the template ticked, and untick it
                if pyatspi.STATE_CHECKED in states(focused().get("source")):
                    break
                key("Down")
            key("space")
            expect(wait_for(lambda: majors.description == "Five Major Skills (1 remaining)", 3),
                   "step five: after an untick the list is described as %r" % majors.description)
    check_tree(main, "step nine")
    tab_to("Websites", "list")
    key("Down")
    said = focused().get("description", "").split(": ", 1)
    shown = [l.name for l in find(main, "label")]
    expect(len(said) == 2 and all(s in shown for s in said), "step nine: site read as %r" % said)
    tab_to("Check out your paths", "push button")
    opened(app, ["Return"], "Character Path Suggestions")
    key("Escape")

    find(main, "radio button", "Eight")[0].queryAction().doAction(0)
    tab_to("Save as Profile", "push button")
    printing = opened(app, ["alt+p"], "Printing Options")
    if printing:
        for name in ("Select a printer:", "Select number of copies:"):
            expect(find(printing, "combo box", name), "printing: no list named %r" % name)
        layout = find(printing, "panel", "Select the page layout:")
        expect(layout and len(find(layout[0], "radio button")) == 2, "printing: layout group")
        key("Escape")
    for keys, title in ((["alt+c", "Down", "Down", "Return"], "Forum Formatting Options"),
                        (["alt+f", "Down", "Down", "Return"], "TARVO2 HTML Output Wizard")):
        window(app, MAIN)
        tab_to("Save as Profile", "push button")
        opened(app, keys, title)
        key("Escape")

    window(app, MAIN)
    sheet = opened(app, ["ctrl+t"], "Character Sheet")
    if sheet:
        text = find(sheet, name="Character sheet")
        expect(text and text[0].getRoleName() == "text", "sheet: the sheet is no text box")
        key("ctrl+Tab")
        tab_to("Plan up to level", "spin button")
        key("ctrl+a", "3", "Tab")
        check_tree(sheet, "level-up planner")
        # The first eight columns tick the attributes picked; the skills'
        # increases that follow are typed.
        key(*["Right"] * 8, "F2")
        editor = (focused().get("role"), focused().get("name", ""))
        expect(editor[0] in ("text", "spin button") and editor[1].startswith("Level 2, ") and
               editor[1] != "Level 2, ", "planner: the cell editor is %r" % [*editor])
        key("Escape", "Escape")
    window(app, MAIN)
    tab_to("Options", "push button")
    opened(app, ["Return"], "Options")
    key("Escape")


if __name__ == "__main__":
    sys.exit(main())
