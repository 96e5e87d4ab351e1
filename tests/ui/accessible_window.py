#!/usr/bin/env python3
"""The window through a real assistive-technology client (AT-SPI): each control's French name
and role, Tab in the designed order, then a run by keyboard alone (Space, a typed name, Enter
on GO, Space on STOP) during which the status line is read on demand and never announced; the
log is whole. Usage: accessible_window.py OMBRELIS; it starts a display (Xvfb) and a session
bus (dbus-run-session) of its own.
"""
import os, random, re, signal, subprocess, sys, tempfile, time

try:  # only inside the session bus
    import pyatspi
    from gi.repository import GLib
except ImportError:
    pass

LIMIT = 20  # seconds, for every wait


def wait_for(what, test):
    end = time.monotonic() + LIMIT
    while time.monotonic() < end:
        # The client learns of new applications and changes through bus events: take them in.
        while GLib.MainContext.default().iteration(False):
            pass
        if value := test():
            return value
        time.sleep(0.05)
    raise AssertionError("gave up waiting for " + what)


def outside(program):
    # A display number of its own, far from the :0, :1… that other servers on the machine take
    # and give back at any time; Xvfb writes the number on the pipe once it accepts clients.
    for _ in range(10):
        read_end, write_end = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", f":{random.randrange(200, 30000)}", "-displayfd",
                                 str(write_end), "-nolisten", "tcp"], pass_fds=(write_end,),
                                stderr=subprocess.DEVNULL)
        os.close(write_end)
        if display := os.fdopen(read_end).readline().strip():
            break
        xvfb.wait(timeout=LIMIT)
    try:
        assert display, "Xvfb did not start"
        return subprocess.run(["dbus-run-session", "--", sys.executable, __file__, "--inside",
                               program], env=dict(os.environ, DISPLAY=":" + display),
                              timeout=150).returncode
    finally:
        xvfb.terminate()
        xvfb.wait(timeout=LIMIT)


def inside(program):
    def walk(node, depth=0):
        assert depth < 30
        yield node
        for child in filter(None, (node.getChildAtIndex(i) for i in range(node.childCount))):
            yield from walk(child, depth + 1)

    def labels(node):
        return [r.getTarget(i).name for r in node.getRelationSet()
                if r.getRelationType() == pyatspi.RELATION_LABELLED_BY
                for i in range(r.getNTargets())]

    def said(node):  # Qt on Linux names a list by its text; its caption comes as its label
        return " ".join(labels(node)) if node.getRole() == pyatspi.ROLE_COMBO_BOX else node.name

    def controls():
        return {(said(n), n.getRoleName()): n for n in walk(app)}

    def focused():
        for node in walk(app):
            if node.getState().contains(pyatspi.STATE_FOCUSED):
                parent = node.parent  # a list's field takes the focus for its list
                return said(parent if parent.getRole() == pyatspi.ROLE_COMBO_BOX else node)

    def xdotool(*args):
        return subprocess.run(["xdotool", *args], check=True, timeout=LIMIT,
                              capture_output=True, text=True).stdout

    def key(*keys, until=None):
        xdotool("key", "--delay", "30", *keys)
        if until:
            wait_for(until, lambda: focused() == until)

    with tempfile.TemporaryDirectory() as d:
        log = os.path.join(d, "clavier.dat")
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", XDG_RUNTIME_DIR=d, HOME=d)
        env.pop("QT_QPA_PLATFORM", None)
        # The display and the accessibility bus answer before the program starts, as they do on
        # a desktop where a screen reader runs: it looks for them only once, as it starts.
        wait_for("the display", lambda: subprocess.run(["xdotool", "getmouselocation"],
                                                       capture_output=True).returncode == 0)
        wait_for("the accessibility bus", lambda: pyatspi.Registry.getDesktop(0).childCount >= 0)
        window = subprocess.Popen([program], stderr=subprocess.DEVNULL, env=env)
        try:
            app = wait_for("the program", lambda: next(
                (a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "ombrelis"), None))
            wait_for("its controls", lambda: ("GO !", "push button") in controls())
            found = controls()
            for name, role in [("Date (jjmmaa)", "text"), ("Vitesse (ms)", "combo box"),
                               ("Fichier", "text"), ("Choisir le fichier…", "push button"),
                               ("GO !", "push button"), ("STOP", "push button"),
                               ("Simulation", "check box"), ("Axe temps (sec)", "combo box"),
                               ("Courbe", "chart"), ("Ligne d'état", "label")]:
                assert (name, role) in found, (name, role, sorted(found))
            for name in ["Date (jjmmaa)", "Fichier"]:
                assert labels(found[(name, "text")]) == [name], name

            xdotool("windowfocus", "--sync", xdotool("search", "--sync", "--name", "^Ombrelis")
                    .split()[0])
            wait_for("GO", lambda: focused() == "GO !")
            for name in ["Choisir le fichier…", "Fichier", "Vitesse (ms)", "Date (jjmmaa)",
                         "Courbe", "Axe temps (sec)", "Simulation", "GO !"]:
                key("Tab", until=name)
            key("shift+Tab", until="Simulation")
            key("space")
            wait_for("Simulation ticked", lambda: found[("Simulation", "check box")]
                     .getState().contains(pyatspi.STATE_CHECKED))
            key("Tab", "Tab", "Tab", until="Fichier")
            xdotool("type", "--delay", "20", log)
            key("shift+Tab", "shift+Tab", until="GO !")

            status, stop = found[("Ligne d'état", "label")], found[("STOP", "push button")]
            announced = []
            kinds = ["object:property-change:accessible-name", "object:text-changed",
                     "object:property-change:accessible-description"]
            listener = lambda e: e.source == status and announced.append(e.type)
            pyatspi.Registry.registerEventListener(listener, *kinds)
            key("Return")
            wait_for("STOP enabled", lambda: stop.getState().contains(pyatspi.STATE_ENABLED))
            end = time.monotonic() + 1.5
            while time.monotonic() < end:
                GLib.MainContext.default().iteration(False)
            text = status.queryText()
            assert text.getText(0, -1).startswith("Mesure : "), text.getText(0, -1)
            assert status.name == "Ligne d'état" and announced == [], announced[:3]
            key("shift+Tab", until="STOP")  # GO, disabled, is skipped
            key("space")
            wait_for("STOP disabled", lambda: not stop.getState().contains(pyatspi.STATE_ENABLED))
            time.sleep(0.3)
            last = int(re.match(r"Mesure : (\d+)", status.queryText().getText(0, -1)).group(1))
        finally:
            window.send_signal(signal.SIGTERM)
            window.wait(timeout=LIMIT)

        # Every sample shown is a whole record; the records' content is the engine tests' matter.
        assert os.path.getsize(log) == 14 * last, (os.path.getsize(log), last)
    print(f"names and roles found; a run by keyboard wrote {last} whole records")
    return 0


if __name__ == "__main__":
    sys.exit(inside(sys.argv[2]) if sys.argv[1] == "--inside" else outside(sys.argv[1]))
