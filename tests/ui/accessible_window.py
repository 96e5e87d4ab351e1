#!/usr/bin/env python3
"""The window as a screen reader and a keyboard alone see it, with a real assistive-technology
client: on a display of its own (Xvfb) and a session bus of its own (dbus-run-session, which
starts the accessibility bus), the program is walked over AT-SPI, where every control must show
its French name and its role; then Tab goes round in the designed order, Space ticks
Simulation, a file name is typed, Enter presses GO and Space presses STOP; the status line is
read on demand and never announced during the run, and the log holds whole records.
Usage: accessible_window.py OMBRELIS
"""
import os
import re
import signal
import struct
import subprocess
import sys
import tempfile
import time

STEP_SECONDS = 20  # every wait below gives up after this long


def outer(program):
    """Starts a display and a session bus, and runs the checks inside them."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                             "-nolisten", "tcp"], pass_fds=(write_end,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    try:
        with os.fdopen(read_end) as f:
            display = f.readline().strip()
        assert display, "Xvfb did not start"
        env = dict(os.environ, DISPLAY=":" + display)
        env.pop("QT_QPA_PLATFORM", None)
        done = subprocess.run(["dbus-run-session", "--", sys.executable, __file__, "--inner",
                               program], env=env, timeout=150)
        return done.returncode
    finally:
        xvfb.terminate()
        xvfb.wait(timeout=STEP_SECONDS)


def wait_for(what, test):
    end = time.monotonic() + STEP_SECONDS
    while time.monotonic() < end:
        value = test()
        if value:
            return value
        time.sleep(0.05)
    raise AssertionError("gave up waiting for " + what)


def inner(program):
    import pyatspi
    from gi.repository import GLib

    def app_named(name):
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            child = desktop.getChildAtIndex(i)
            if child is not None and child.name == name:
                return child
        return None

    def walk(node, depth=0):
        assert depth < 30, "the accessible tree does not end"
        yield node
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            if child is not None:
                yield from walk(child, depth + 1)

    def labels(node):
        return [t.name for r in node.getRelationSet()
                if r.getRelationType() == pyatspi.RELATION_LABELLED_BY
                for t in (r.getTarget(i) for i in range(r.getNTargets()))]

    def said(node):
        # On Linux Qt names a list by its text, and its caption by the labelled-by relation,
        # which is what a screen reader announces with it.
        if node.getRole() == pyatspi.ROLE_COMBO_BOX:
            return " ".join(labels(node))
        return node.name

    def controls(app):
        return {(said(n), n.getRoleName()): n for n in walk(app)}

    def focused(app):
        for node in walk(app):
            if node.getState().contains(pyatspi.STATE_FOCUSED):
                # The field of a list takes the focus for its list.
                parent = node.parent
                if parent is not None and parent.getRole() == pyatspi.ROLE_COMBO_BOX:
                    return said(parent)
                return said(node)
        return None

    def key(*keys):
        subprocess.run(["xdotool", "key", "--delay", "30", *keys], check=True,
                       timeout=STEP_SECONDS)

    with tempfile.TemporaryDirectory() as d:
        log = os.path.join(d, "clavier.dat")
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
                   XDG_RUNTIME_DIR=d, HOME=d)
        window = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.PIPE)
        try:
            app = wait_for("the program on the accessibility bus", lambda: app_named("ombrelis"))
            wait_for("the window's controls", lambda: ("GO !", "push button") in controls(app))
            found = controls(app)
            for name, role in [("Date (jjmmaa)", "text"), ("Vitesse (ms)", "combo box"),
                               ("Fichier", "text"), ("Choisir le fichier…", "push button"),
                               ("GO !", "push button"), ("STOP", "push button"),
                               ("Simulation", "check box"), ("Axe temps (sec)", "combo box"),
                               ("Courbe", "chart"), ("Ligne d'état", "label")]:
                assert (name, role) in found, (name, role, sorted(found))
            for name in ["Date (jjmmaa)", "Fichier"]:
                assert labels(found[(name, "text")]) == [name], name

            windows = subprocess.run(["xdotool", "search", "--sync", "--name", "^Ombrelis"],
                                     capture_output=True, text=True, check=True,
                                     timeout=STEP_SECONDS).stdout.split()
            subprocess.run(["xdotool", "windowfocus", "--sync", windows[0]], check=True,
                           timeout=STEP_SECONDS)
            wait_for("the focus on GO", lambda: focused(app) == "GO !")
            visited = []
            for _ in range(8):
                before = focused(app)
                key("Tab")
                visited.append(wait_for("the focus to move", lambda: focused(app) != before
                                        and focused(app)))
            assert visited == ["Choisir le fichier…", "Fichier", "Vitesse (ms)", "Date (jjmmaa)",
                               "Courbe", "Axe temps (sec)", "Simulation", "GO !"], visited

            key("shift+Tab")  # back to Simulation
            wait_for("Simulation", lambda: focused(app) == "Simulation")
            key("space")
            simulation = controls(app)[("Simulation", "check box")]
            wait_for("Simulation ticked",
                     lambda: simulation.getState().contains(pyatspi.STATE_CHECKED))
            key("Tab", "Tab", "Tab")
            wait_for("the file name field", lambda: focused(app) == "Fichier")
            subprocess.run(["xdotool", "type", "--delay", "20", log], check=True,
                           timeout=STEP_SECONDS)
            key("shift+Tab", "shift+Tab")
            wait_for("the focus on GO", lambda: focused(app) == "GO !")

            status = controls(app)[("Ligne d'état", "label")]
            announced = []
            listener = lambda event: announced.append(event.type) \
                if event.source is not None and event.source.name == "Ligne d'état" else None
            kinds = ["object:property-change:accessible-name", "object:text-changed",
                     "object:property-change:accessible-description"]
            pyatspi.Registry.registerEventListener(listener, *kinds)
            key("Return")
            stop = controls(app)[("STOP", "push button")]
            wait_for("STOP enabled", lambda: stop.getState().contains(pyatspi.STATE_ENABLED))
            context = GLib.MainContext.default()
            end = time.monotonic() + 1.5
            while time.monotonic() < end:
                context.iteration(False)
                time.sleep(0.01)
            text = status.queryText()
            line = text.getText(0, text.characterCount)
            assert line.startswith("Mesure : "), line
            assert status.name == "Ligne d'état", status.name
            assert announced == [], announced[:5]
            pyatspi.Registry.deregisterEventListener(listener, *kinds)

            key("shift+Tab")  # GO is disabled and skipped: STOP
            wait_for("the focus on STOP", lambda: focused(app) == "STOP")
            key("space")
            wait_for("STOP disabled", lambda: not stop.getState().contains(pyatspi.STATE_ENABLED))
            time.sleep(0.3)
            text = status.queryText()
            last = int(re.match(r"Mesure : (\d+)", text.getText(0, text.characterCount)).group(1))
        finally:
            window.send_signal(signal.SIGTERM)
            window.wait(timeout=STEP_SECONDS)

        with open(log, "rb") as f:
            data = f.read()
        assert data and len(data) % 14 == 0, len(data)
        records = list(struct.iter_unpack("<h8si", data))
        assert len(records) == last, (len(records), last)
        assert records[0][2] == 0
        assert all(a[2] <= b[2] for a, b in zip(records, records[1:]))
        assert all(1024 <= r[0] <= 3071 and re.fullmatch(rb"\d\d:\d\d:\d\d", r[1])
                   for r in records)
    print(f"the window's controls have their French names and roles; a run by keyboard wrote "
          f"{last} whole records")
    return 0


if __name__ == "__main__":
    if sys.argv[1] == "--inner":
        sys.exit(inner(sys.argv[2]))
    sys.exit(outer(sys.argv[1]))
