"""The built trovenix under a private Xvfb and session bus, driven through the
accessibility bus and xdotool as a user would: find controls by caption,
click them, type into the real open-file dialog, answer message boxes and read
the file list's cells."""
import os
import shutil
import subprocess
import sys
import tempfile
import time

from desktop_test import fail, start_session_bus, start_xvfb, wait_for

__all__ = ["DesktopSession", "fail", "program_argument", "wait_for"]


def program_argument(doc, tools):
    """The program named on the command line, after checking the tools the
    test drives it with."""
    if len(sys.argv) != 2:
        fail(doc)
    for tool in tools:
        if not shutil.which(tool):
            fail(tool + " is missing; scripts/install-deps installs it")
    return sys.argv[1]


class DesktopSession:
    def __init__(self, program, prefix, settings=None):
        self.program = program
        self.home = tempfile.mkdtemp(prefix=prefix)
        self.out_dir = os.path.join(self.home, "out")
        os.makedirs(self.out_dir)
        config = os.path.join(self.home, "config")
        os.makedirs(os.path.join(config, "Qelvar"))
        values = {"Output%20Folder": self.out_dir, "ComboOutputFormat": "0", "Overwrite": "0",
                  "DropDownItems": "24", "LetterBox": "0", "Skin": "Elegance"}
        values.update(settings or {})
        with open(os.path.join(config, "Qelvar", "Marlune.conf"), "w", encoding="utf-8") as f:
            f.write("[General]\n" + "".join("%s=%s\n" % kv for kv in values.items()))
        env = dict(os.environ)
        # Qt's own file dialog, not one of a desktop's theme or portal.
        for name in ["QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS",
                     "QT_QPA_PLATFORMTHEME", "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION",
                     "GTK_USE_PORTAL", "KDE_FULL_SESSION"]:
            env.pop(name, None)
        env.update(HOME=self.home, XDG_CONFIG_HOME=config,
                   XDG_RUNTIME_DIR=os.path.join(self.home, "run"),
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
        os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
        self.env = env
        self.server = self.bus = self.app = None
        self.accessible = self.table = None

    def __enter__(self):
        self.server, display = start_xvfb()
        self.env["DISPLAY"] = display
        self.bus, address = start_session_bus(self.env)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        os.environ.update(DISPLAY=display, DBUS_SESSION_BUS_ADDRESS=address)
        import pyatspi  # after the bus address is known
        self.pyatspi = pyatspi
        return self

    def __exit__(self, *exc):
        self.stop_program()
        for process in (self.bus, self.server):
            if process:
                process.terminate()
                process.wait()
        shutil.rmtree(self.home, ignore_errors=True)
        return False

    def start(self, extra_env=None):
        """Starts the program and waits for its window and file list."""
        env = dict(self.env)
        env.update(extra_env or {})
        self.app = subprocess.Popen([self.program], env=env)
        pyatspi = self.pyatspi

        def find_app():
            for candidate in pyatspi.Registry.getDesktop(0):
                if candidate is not None and candidate.name in ("Trovenix", "trovenix"):
                    return candidate
            return None

        self.accessible = wait_for("the program on the accessibility bus", find_app)
        self.table = wait_for("the file list", lambda: self.find("Video File List", (
            pyatspi.ROLE_TREE, pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE)))

    def stop_program(self):
        if self.app and self.app.poll() is None:
            self.app.kill()
            self.app.wait()

    def find(self, name, roles=None):
        return self.pyatspi.findDescendant(
            self.accessible, lambda a: a is not None and a.name == name and
            (roles is None or a.getRole() in roles))

    def wait_find(self, name, roles=None, timeout=20.0):
        return wait_for(repr(name), lambda: self.find(name, roles), timeout)

    def button(self, caption):
        return self.wait_find(caption, (self.pyatspi.ROLE_PUSH_BUTTON,))

    def click(self, target):
        box = target.queryComponent().getExtents(self.pyatspi.DESKTOP_COORDS)
        subprocess.run(["xdotool", "mousemove", str(box.x + box.width // 2),
                        str(box.y + box.height // 2), "click", "1"], env=self.env, check=True)

    def type_text(self, text):
        subprocess.run(["xdotool", "type", "--delay", "15", text], env=self.env, check=True)

    def key(self, name):
        subprocess.run(["xdotool", "key", name], env=self.env, check=True)

    def rows(self):
        t = self.table.queryTable()
        return [[t.getAccessibleAt(r, c).name for c in range(t.nColumns)]
                for r in range(t.nRows)]

    def click_cell(self, row, column):
        self.click(self.table.queryTable().getAccessibleAt(row, column))

    def answer(self, title, caption, timeout=40):
        """Clicks a button of the message box with the title."""
        pyatspi = self.pyatspi

        def box_button():
            for dialog in pyatspi.findAllDescendants(
                    self.accessible, lambda a: a is not None and a.name == title and
                    a.getRole() in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT)):
                found = pyatspi.findDescendant(
                    dialog, lambda a: a is not None and a.name == caption and
                    a.getRole() == pyatspi.ROLE_PUSH_BUTTON)
                if found is not None:
                    return found
            return None

        target = wait_for("the %r box" % title, box_button, timeout=timeout)
        time.sleep(0.2)
        self.click(target)

    def add_through_dialog(self, folder, names):
        """Adds files by typing the folder, then their names, into the real
        open-file dialog."""
        pyatspi = self.pyatspi
        self.click(self.button("Add Video "))
        # The dialog opens with the file name box focused.
        wait_for("the open-file dialog",
                 lambda: self.find("Look in:", (pyatspi.ROLE_LABEL,)) or
                 self.find("File name:", (pyatspi.ROLE_LABEL,)))
        time.sleep(0.5)
        field = self.find("File name:", (pyatspi.ROLE_LABEL,))
        if field is not None:
            for relation in field.getRelationSet():
                if relation.getRelationType() == pyatspi.RELATION_LABEL_FOR:
                    self.click(relation.getTarget(0))
        # The box may still hold the names typed last time.
        self.key("ctrl+a")
        self.type_text(folder + "/")
        self.key("Return")
        time.sleep(0.5)
        self.key("ctrl+a")
        self.type_text(" ".join('"%s"' % n for n in names))
        self.key("Return")
