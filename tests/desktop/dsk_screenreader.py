#!/usr/bin/python3
"""What a screen reader hears: the program over the AT-SPI bus.

Run by scripts/run-atspi-test.sh inside scripts/run-desktop-test.sh (an X
server, a window manager, a session bus, the accessibility bus and the AT-SPI
registry). Starts a copy of the staged program with Qt's accessibility on,
drives it with keys (xdotool) through every window, walks each window's tree
as a screen reader sees it and listens to the events it would speak.

Fails on: a focusable or actionable object without a name, a drop-down list
named by one of its values, a `frame` inside a window, a window exposed as a
bare `filler`, and a balloon tip that sends no event a screen reader speaks;
and on the windows' own rules checked on the way (names of groups, labels,
descriptions, where Tab lands, which windows are announced).

usage: dsk_screenreader.py <path of prjTARVO2 in its staged program folder>
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

TOP_ROLES = {"frame", "dialog", "alert", "notification", "tool tip"}

faults = []


def fault(message):
    faults.append(message)
    print("FAULT: " + message, flush=True)


def expect(condition, message):
    if not condition:
        fault(message)
    return condition


# --- the bus -----------------------------------------------------------------

events = []


def safe(call, default=""):
    try:
        return call()
    except Exception:  # the object may be gone by the time it is asked
        return default


def on_event(e):
    source = e.source
    events.append({
        "type": e.type,
        "detail1": e.detail1,
        "source": source,
        "role": safe(lambda: source.getRoleName()),
        "name": safe(lambda: source.name),
        "description": safe(lambda: source.description),
    })


for kind in ("object:state-changed:focused", "object:state-changed:showing",
             "object:announcement", "window:activate", "window:create",
             "object:property-change:accessible-description"):
    pyatspi.Registry.registerEventListener(on_event, kind)


def pump(seconds):
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
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
    for k in keys:
        subprocess.run(["xdotool", "key", "--clearmodifiers", k], check=True)
        pump(0.2)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "30", text], check=True)
    pump(0.2)


def focused():
    """The object that last took the focus, as a dict of the event."""
    for e in reversed(events):
        if e["type"] == "object:state-changed:focused" and e["detail1"] == 1:
            return e
    return None


def focused_name():
    f = focused()
    return f["name"] if f else None


def tab_to(name, role=None, limit=60, back=False):
    for _ in range(limit):
        f = focused()
        if f and f["name"] == name and (role is None or f["role"] == role):
            return True
        key("shift+Tab" if back else "Tab")
    fault("Tab never reached %s %r (last focus: %r)" % (role or "", name, focused_name()))
    return False


# --- the tree ----------------------------------------------------------------

def states(o):
    return safe(lambda: o.getState().getStates(), [])


def showing(o):
    return pyatspi.STATE_SHOWING in states(o)


def actions(o):
    try:
        a = o.queryAction()
    except NotImplementedError:
        return []
    return [a.getName(i) for i in range(a.nActions)]


def children(o):
    return [c for c in safe(lambda: list(o), []) if c is not None]


def walk(o):
    """Every object on show under o (o included), depth first, in tree order."""
    if not showing(o):
        return
    yield o
    for c in children(o):
        yield from walk(c)


def find(root, role=None, name=None, shown=True):
    out = []
    stack = [root]
    while stack:
        o = stack.pop(0)
        if shown and not showing(o):
            continue
        if (role is None or o.getRoleName() == role) and (name is None or o.name == name):
            out.append(o)
        stack = children(o) + stack
    return out


def first(root, role=None, name=None, shown=True):
    found = find(root, role, name, shown)
    return found[0] if found else None


def check_tree(root, where):
    """The rules every window keeps for a screen reader."""
    count = 0
    for o in walk(root):
        count += 1
        role = o.getRoleName()
        name = (o.name or "").strip()
        st = states(o)
        acts = [a for a in actions(o) if a != "SetFocus"]
        # A scroll bar belongs to the view it scrolls (controller-for) and is
        # read with it; it takes no focus.
        if (pyatspi.STATE_FOCUSABLE in st or acts) and role != "scroll bar" and not name:
            fault("%s: a %s that can be focused or used has no name" % (where, role))
        if role == "combo box":
            values = [i.name for i in find(o, "list item", shown=False)]
            expect(name and name not in values,
                   "%s: drop-down list named %r, one of its values %r" % (where, name, values))
        if role == "frame" and o is not root:
            fault("%s: %r is a frame inside a window (a frame is a whole window)" % (where, name))
        if role == "filler" and o is root:
            fault("%s: the window is a bare filler" % where)
    return count


# --- the program -------------------------------------------------------------

def start(program):
    folder = tempfile.mkdtemp(prefix="tarvo-screenreader-")
    copy = os.path.join(folder, "AppFolder")
    shutil.copytree(os.path.dirname(os.path.abspath(program)), copy, symlinks=True)
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    proc = subprocess.Popen([os.path.join(copy, os.path.basename(program))], env=env,
                            cwd=folder)
    return folder, proc


def application(proc):
    for a in children(pyatspi.Registry.getDesktop(0)):
        if safe(lambda: a.get_process_id()) == proc.pid:
            return a
    return None


def window(app, name, seconds=10.0):
    return wait_for(lambda: next((w for w in children(app) if w.name == name and showing(w)),
                                 None), seconds)


def window_named(app, ending):
    return wait_for(lambda: next((w for w in children(app) if w.name.endswith(ending)
                                  and showing(w)), None))


def activations_since(mark):
    return [e["name"] for e in events[mark:] if e["type"] == "window:activate"]


def inside(box, area):
    return (box.x >= area.x and box.y >= area.y and box.x + box.width <= area.x + area.width
            and box.y + box.height <= area.y + area.height)


def extents(o):
    return o.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)


def answer_if_asked(answer):
    """Answers a message box if one took the focus."""
    pump(0.5)
    f = focused()
    if f and f["role"] == "push button" and f["name"] in ("Yes", "No", "Cancel", "OK"):
        tab_to(answer, "push button")
        key("Return")


# --- the walk through the windows ---------------------------------------------

def welcome_window(app):
    w = window(app, "Welcome to Quenmark v2", 20)
    if not expect(w, "the welcome window never showed"):
        return None
    expect(w.getRoleName() == "frame", "the welcome window is a %s" % w.getRoleName())
    check_tree(w, "welcome")
    wait_for(lambda: focused_name())
    # The keyboard's focus shows a button's description, as the mouse does.
    key("Tab")
    f = focused()
    shown = [l.name for l in find(w, "label")]
    expect(f and f["description"] in shown,
           "welcome: %r has the focus but its description is not shown (%r)"
           % (f and f["name"], shown))
    return w


def assistant(app):
    tab_to("The Character Planning Assistant", "push button", back=True)
    key("Return")
    w = window(app, "Character Generation Wizard")
    if not expect(w, "the planning assistant never showed"):
        return
    check_tree(w, "assistant")
    sliders = find(w, "slider")
    tops = [extents(s).y for s in sliders]
    expect(len(sliders) == 3 and tops == sorted(tops),
           "assistant: the sliders are met in the order %r, from the top at %r"
           % ([s.name for s in sliders], tops))
    key("Escape")


def main_steps(app):
    main = window(app, "Quenmark v2", 20)
    if not expect(main, "the main window never showed"):
        return None
    progress = window(app, "Your Progress")
    expect(progress, "the progress window never showed")
    for w in (main, progress):
        if w:
            expect(w.getRoleName() == "frame", "%r is a %s" % (w.name, w.getRoleName()))
    check_tree(main, "step one")
    if progress:
        check_tree(progress, "progress: summary")
        expect(first(progress, "panel", "Summary"), "progress: no panel named Summary")

    # Steps two to five by Enter (Next), each walked.
    key("Return")
    check_tree(main, "step two")
    for group in ("Custom Class Name", "Class Specialization"):
        expect(first(main, "panel", group), "step two: no group named %r" % group)
    expect(first(main, "link", "External Link Avaliable"), "step two: the online link is no link")
    key("Return")
    check_tree(main, "step three")
    key("Return")
    check_tree(main, "step four")
    for group in ("Favourite Attribute Number One", "Favourite Attribute Number Two"):
        expect(first(main, "panel", group), "step four: no group named %r" % group)
    key("Return")
    check_tree(main, "step five")
    skills = first(main, "list", "Major skills")
    expect(skills and skills.description == "Five Major Skills (5 remaining)",
           "step five: the major list's description is %r" % (skills and skills.description))

    # The link is reached with Tab.
    tab_to("External Link Avaliable", "link")

    # AutoSelect without a class: the balloon is spoken.
    mark = len(events)
    key("alt+s")
    title = "Class not selected!"
    text = ("If you do not select a class then you will be unable to use the AutoSelect "
            "helper functions.")
    spoken = wait_for(lambda: next(
        (e for e in events[mark:]
         if (e["type"] == "object:announcement"
             or (e["type"] in ("object:state-changed:showing", "window:create")
                 and e["detail1"] == 1 and e["role"] in ("notification", "alert")))
         and e["name"] == title), None), 5)
    if expect(spoken, "the balloon sent no event a screen reader speaks"):
        expect(spoken["description"] == text,
               "the balloon is described as %r" % spoken["description"])
        screen = extents(pyatspi.Registry.getDesktop(0))
        box = extents(spoken["source"])
        expect(inside(box, screen), "the balloon (%d,%d %dx%d) is off the screen (%dx%d)"
               % (box.x, box.y, box.width, box.height, screen.width, screen.height))
    return main, progress


def loader(app, main):
    tab_to("Load", "push button")
    key("Return", "Down", "Return")
    w = window(app, "Load Template")
    if not expect(w, "the loader never showed"):
        return
    check_tree(w, "loader")
    for choice in ("Profile", "Template"):
        expect(first(w, "radio button", choice), "loader: %r is no option button" % choice)
    tab_to("Templates", "list")
    key("Down")
    f = focused()
    strengths = first(w, "label", "Strengths")
    expect(f and f["role"] == "list item" and "Strengths: " in f["description"],
           "loader: the chosen template %r is described as %r"
           % (f and f["name"], f and f["description"]))
    key("Return")
    answer_if_asked("Yes")
    wait_for(lambda: not showing(w), 5)
    del strengths


def review(app, main):
    marks = [b for b in find(main, "push button") if b.name.startswith("Edit ")]
    expect(len(marks) == 11, "review: %d edit arrows" % len(marks))
    # Each arrow is described by its line as shown (a long line is cut with
    # "…" and whole in its tool tip, the label's description).
    lines = [(l.description or l.name).rstrip("…").strip() for l in find(main, "label")]
    for m in marks:
        expect(any(line.endswith(":") and m.description.startswith(line) or
                   line == m.description for line in lines),
               "review: %r is described as %r, not as its line" % (m.name, m.description))
    # Tab reaches an arrow with its line; Space goes to the step, where Tab
    # enters the race group on the race chosen.
    tab_to("Edit Race", "push button")
    f = focused()
    race_line = f["description"] if f else ""
    key("space")
    check_tree(main, "step three, loaded")
    for _ in range(12):
        f = focused()
        if f and f["role"] == "radio button":
            break
        key("Tab")
    race = race_line.split(": ", 1)[-1]
    expect(f and f["name"] == race,
           "step three: Tab enters the race group on %r, the race is %r"
           % (f and f["name"], race))


def skills(main):
    nav = first(main, "radio button", "Five")
    nav.queryAction().doAction(0)
    pump(0.5)
    lst = first(main, "list", "Major skills")
    if not expect(lst, "step five not shown by its step button"):
        return
    expect(lst.description == "Five Major Skills (0 remaining)",
           "step five, loaded: the major list's description is %r" % lst.description)
    tab_to("Major skills", "list")
    # Space unticks the current skill: the count said with the list follows.
    for _ in range(30):
        f = focused()
        if f and f["role"] == "list item" and pyatspi.STATE_CHECKED in states(f["source"]):
            break
        key("Down")
    key("space")
    pump(0.3)
    expect(lst.description == "Five Major Skills (1 remaining)",
           "step five: after unticking a skill the list is described as %r" % lst.description)


def step_nine(app, main):
    nav = first(main, "radio button", "Nine")
    nav.queryAction().doAction(0)
    panel = wait_for(lambda: first(main, "panel", "STEP NINE: Further resources"), 3)
    expect(panel and pyatspi.STATE_CHECKED in states(nav),
           "the screen reader's toggle of step Nine does not show step nine")
    check_tree(main, "step nine")
    tab_to("Websites", "list")
    key("Down")
    pump(0.3)
    f = focused()
    labels = [l.name for l in find(main, "label")]
    expect(f and f["description"] and all(part in labels for part in
                                         f["description"].split(": ", 1)),
           "step nine: the site %r is described as %r; shown are %r"
           % (f and f["name"], f and f["description"], labels))
    tab_to("Check out your paths", "push button")
    key("Return")
    paths = wait_for(lambda: next((w for w in children(app) if showing(w)
                                   and w.name not in ("Quenmark v2", "Your Progress")
                                   and w.getRoleName() != "notification"), None), 5)
    if expect(paths, "the path suggestions never showed"):
        check_tree(paths, "path suggestions")
        key("Escape")
        wait_for(lambda: not showing(paths), 3)


def output_windows(app, main):
    nav = first(main, "radio button", "Eight")
    nav.queryAction().doAction(0)
    pump(0.5)
    check_tree(main, "step eight")
    tab_to("Save as Profile", "push button")

    key("alt+p")
    w = window(app, "Printing Options")
    if expect(w, "the printing options never showed"):
        check_tree(w, "printing options")
        for name in ("Select a printer:", "Select number of copies:"):
            expect(first(w, "combo box", name), "printing options: no list named %r" % name)
        layout = first(w, "panel", "Select the page layout:")
        expect(layout and len(find(layout, "radio button")) == 2,
               "printing options: Portrait and Landscape are not one named group")
        key("Escape")
        wait_for(lambda: not showing(w), 3)

    # Opening a window activates it alone: no window behind it is announced.
    for keys, title in ((("alt+c", "Down", "Down", "Return"), "Forum Formatting Options"),
                        (("alt+f", "Down", "Down", "Return"), "TARVO2 HTML Output Wizard")):
        tab_to("Save as Profile", "push button")
        mark = len(events)
        key(*keys)
        w = window(app, title)
        if not expect(w, "%r never showed" % title):
            continue
        wait_for(lambda: title in activations_since(mark), 3)
        pump(0.5)
        # The main window, whose pop-up menu gives it back the activation as
        # it closes, may be announced on the way; the progress window, which
        # the user did not touch, is not; the new window comes last.
        announced = activations_since(mark)
        expect(announced and announced[-1] == title and "Your Progress" not in announced
               and set(announced) <= {title, "Quenmark v2"},
               "opening %r announced the windows %r" % (title, announced))
        expect(w.getRoleName() in ("frame", "dialog"), "%r is a %s" % (title, w.getRoleName()))
        check_tree(w, title)
        key("Escape")
        wait_for(lambda: window(app, "Quenmark v2", 3), 5)


def sheet(app, main):
    key("ctrl+t")
    w = window_named(app, "Character Sheet")
    if not expect(w, "the character sheet never showed"):
        return
    expect(w.getRoleName() == "frame", "the sheet is a %s" % w.getRoleName())
    check_tree(w, "sheet")
    text = first(w, name="Character sheet")
    expect(text and text.getRoleName() == "text",
           "sheet: the sheet's text box is a %s" % (text and text.getRoleName()))
    key("ctrl+Tab")
    tab_to("Plan up to level", "spin button")
    key("ctrl+a")
    type_text("3")
    key("Tab")
    pump(0.5)
    check_tree(w, "level-up planner")
    key("F2")
    f = focused()
    expect(f and f["role"] == "text" and f["name"] == "Level 2, Strength",
           "level-up planner: the cell editor is a %s named %r"
           % (f and f["role"], f and f["name"]))
    key("Escape", "Escape")
    wait_for(lambda: not showing(w), 3)


def options(app, main):
    tab_to("Options", "push button")
    key("Return")
    w = window(app, "Options")
    if not w:
        w = wait_for(lambda: next((x for x in children(app) if showing(x) and x.name not in
                                   ("Quenmark v2", "Your Progress")), None), 5)
    if expect(w, "the options window never showed"):
        check_tree(w, "options")
        key("Escape")


def main():
    program = sys.argv[1]
    folder, proc = start(program)
    try:
        app = wait_for(lambda: application(proc), 20)
        if not app:
            print("the program never appeared on the accessibility bus", flush=True)
            return 1
        welcome = welcome_window(app)
        if welcome:
            assistant(app)
            welcome = welcome_window(app)
        tab_to("Your Custom Design", "push button")
        key("Return")
        windows = main_steps(app)
        if windows:
            mainw, progress = windows
            loader(app, mainw)
            review(app, mainw)
            skills(mainw)
            step_nine(app, mainw)
            output_windows(app, mainw)
            sheet(app, mainw)
            options(app, mainw)
        # Every window the program showed stood for itself.
        for w in children(app):
            if showing(w):
                expect(w.getRoleName() in TOP_ROLES,
                       "the window %r is a %s" % (w.name, w.getRoleName()))
    finally:
        proc.terminate()
        try:
            proc.wait(10)
        except subprocess.TimeoutExpired:
            proc.kill()
        shutil.rmtree(folder, ignore_errors=True)
    if faults:
        print("%d faults" % len(faults), flush=True)
        return 1
    print("every window reads well", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
