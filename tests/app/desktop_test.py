#!/usr/bin/env python3
"""Starts the built trovenix under Xvfb as a user would and checks the real
window: its caption and client size, that choosing the MP3 format through the
combo box (mouse and keyboard) disables the video lists (read back through
the accessibility bus), and that closing the window leaves a settings file
with the six values.

Usage: desktop_test.py PATH-TO-TROVENIX
"""
import ctypes
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

VIDEO_LISTS = ["Video Codec : ", "Video Size : ", "Video Bitrate : ",
               "Video Framerate : ", "Video Zoom : "]
MP3 = "MP3 - Mpeg Layer3 Audio (*.mp3)"
SETTINGS = ["Output%20Folder", "ComboOutputFormat", "Overwrite",
            "DropDownItems", "LetterBox", "Skin"]


def fail(message):
    print("FAIL: " + message, flush=True)
    sys.exit(1)


def wait_for(what, probe, timeout=20.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = probe()
        if value:
            return value
        time.sleep(0.1)
    fail("timed out waiting for " + what)


def start_xvfb():
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
         "-nolisten", "tcp", "-noreset"],
        pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read_end, 16)
        if not chunk:
            fail("Xvfb did not start")
        number += chunk
    os.close(read_end)
    return server, ":" + number.decode().strip()


def start_session_bus(env):
    bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env)
    address = bus.stdout.readline().decode().strip()
    if not address:
        fail("no session bus")
    return bus, address


def send_delete_window(display_name, window):
    """What a window manager sends when the user clicks the close button."""
    x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.c_void_p]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                    ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                    ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("data", ctypes.c_long * 5),
                    ("pad", ctypes.c_long * 12)]

    display = x11.XOpenDisplay(display_name.encode())
    if not display:
        fail("cannot open the display to close the window")
    event = ClientMessage()
    event.type = 33  # ClientMessage
    event.window = window
    event.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
    event.format = 32
    event.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    event.data[1] = 0  # CurrentTime
    x11.XSendEvent(display, window, 0, 0, ctypes.byref(event))
    x11.XFlush(display)
    x11.XCloseDisplay(display)


def main():
    if len(sys.argv) != 2:
        fail(__doc__)
    program = sys.argv[1]
    for tool in ["Xvfb", "xdotool", "xwininfo", "dbus-daemon"]:
        if not shutil.which(tool):
            fail(tool + " is missing; scripts/install-deps installs it")

    home = tempfile.mkdtemp(prefix="trovenix-desktop-")
    env = dict(os.environ)
    for name in ["QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS"]:
        env.pop(name, None)
    env.update(HOME=home, XDG_CONFIG_HOME=os.path.join(home, "config"),
               XDG_RUNTIME_DIR=os.path.join(home, "run"),
               QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
    os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
    server, display = start_xvfb()
    env["DISPLAY"] = display
    bus, address = start_session_bus(env)
    env["DBUS_SESSION_BUS_ADDRESS"] = address
    os.environ.update(DISPLAY=display, DBUS_SESSION_BUS_ADDRESS=address)
    app = None
    try:
        app = subprocess.Popen([program], env=env)

        def find_window():
            out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Trovenix$"],
                                 capture_output=True, text=True, env=env).stdout.split()
            return out[0] if out else None

        window = int(wait_for("the main window", find_window))
        info = subprocess.run(["xwininfo", "-id", str(window)], capture_output=True, text=True,
                              env=env).stdout
        size = (int(re.search(r"Width: (\d+)", info).group(1)),
                int(re.search(r"Height: (\d+)", info).group(1)))
        if size != (763, 564):
            fail("client area is %dx%d, not 763x564" % size)
        name = subprocess.run(["xdotool", "getwindowname", str(window)], capture_output=True,
                              text=True, env=env).stdout.strip()
        if name != "Trovenix":
            fail("caption is %r" % name)

        import pyatspi  # after the bus address is known

        def find_app():
            for candidate in pyatspi.Registry.getDesktop(0):
                if candidate is not None and candidate.name in ("Trovenix", "trovenix"):
                    return candidate
            return None

        accessible = wait_for("the program on the accessibility bus", find_app)

        def dump(a, depth=0):
            print("  " * depth, a.getRoleName(), repr(a.name), flush=True)
            for child in a:
                dump(child, depth + 1)

        def labelled(caption):
            """The control a caption labels: on Linux Qt names a list by its
            text and links its caption to it."""
            label = pyatspi.findDescendant(
                accessible, lambda a: a is not None and a.name == caption and
                a.getRole() == pyatspi.ROLE_LABEL)
            if label is not None:
                for relation in label.getRelationSet():
                    if relation.getRelationType() == pyatspi.RELATION_LABEL_FOR:
                        return relation.getTarget(0)
            if os.environ.get("TROVENIX_DUMP"):
                dump(accessible)
            fail("no control labelled %r" % caption)

        def enabled(a):
            return a.getState().contains(pyatspi.STATE_ENABLED)

        combos = {n: labelled(n) for n in VIDEO_LISTS}
        if not all(enabled(c) for c in combos.values()):
            fail("video lists disabled at start-up")

        # Open the output-format list with the mouse, pick MP3 by typing.
        fmt = labelled("Output Format : ")
        if fmt.getRole() != pyatspi.ROLE_COMBO_BOX or fmt.name != "iPod (*.mp4)":
            fail("the output-format list shows %r" % fmt.name)
        box = fmt.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        subprocess.run(["xdotool", "mousemove", str(box.x + box.width // 2),
                        str(box.y + box.height // 2), "click", "1"], env=env, check=True)
        time.sleep(0.5)
        subprocess.run(["xdotool", "type", "--delay", "50", "MP3"], env=env, check=True)
        subprocess.run(["xdotool", "key", "Return"], env=env, check=True)

        def mp3_chosen():
            return fmt.name == MP3 and all(not enabled(c) for c in combos.values())

        wait_for("the video lists to be disabled after choosing MP3", mp3_chosen, timeout=10)
        audio = labelled("Audio Codec : ")
        if not enabled(audio) or audio.name != "mp3":
            fail("the audio codec list shows %r, enabled %s" % (audio.name, enabled(audio)))

        send_delete_window(display, window)
        try:
            code = app.wait(timeout=20)
        except subprocess.TimeoutExpired:
            fail("the program did not end after its window was closed")
        if code != 0:
            fail("the program ended with status %d" % code)
        conf = os.path.join(env["XDG_CONFIG_HOME"], "Qelvar", "Marlune.conf")
        if not os.path.exists(conf):
            fail("no settings file at " + conf)
        text = open(conf, encoding="utf-8").read()
        values = dict(re.findall(r"^([^=\n]+)=(.*)$", text, re.M))
        missing = [s for s in SETTINGS if s not in values]
        if missing:
            fail("settings file lacks %s:\n%s" % (missing, text))
        if values["ComboOutputFormat"] != "26":
            fail("stored format is %r, not 26 (MP3)" % values["ComboOutputFormat"])
        print("desktop test passed", flush=True)
    finally:
        if app and app.poll() is None:
            app.kill()
            app.wait()
        bus.terminate()
        bus.wait()
        server.terminate()
        server.wait()
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    main()
