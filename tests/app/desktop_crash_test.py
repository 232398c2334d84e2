#!/usr/bin/env python3
"""The list survives a crash, checked with the built trovenix under Xvfb as a
user would: adds three clips through the real open-file dialog, presses
"Convert Now !", kills the program with SIGKILL while the second row converts
and starts it again: the three rows are back with "Done", "Abort" and an empty
Progress cell, no temporary file is left in the output folder and the first
output is intact. Then the window is closed normally, and the next start
shows an empty list.

Usage: desktop_crash_test.py PATH-TO-TROVENIX
"""
import glob
import hashlib
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop_convert_test import make_clip, probe  # noqa: E402
from desktop_session import DesktopSession, fail, program_argument, wait_for  # noqa: E402
from desktop_test import send_delete_window  # noqa: E402


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def main():
    program = program_argument(__doc__, ["Xvfb", "xdotool", "dbus-daemon", "ffmpeg", "ffprobe"])
    # PS3 Video: H.264 takes a while, so the second row is caught converting.
    with DesktopSession(program, "trovenix-crash-", {"ComboOutputFormat": "16"}) as session:
        state = os.path.join(session.home, "state")
        session.env["XDG_STATE_HOME"] = state
        journal = os.path.join(state, "trovenix", "file-list")
        clips = os.path.join(session.home, "clips")
        out_dir = session.out_dir
        os.makedirs(clips)
        make_clip(os.path.join(clips, "first.avi"), 1)
        # Long enough to be caught converting.
        make_clip(os.path.join(clips, "second.avi"), 20, "640x360")
        make_clip(os.path.join(clips, "third.avi"), 1)
        names = ["first.avi", "second.avi", "third.avi"]
        session.start()
        rows, button, click = session.rows, session.button, session.click

        session.add_through_dialog(clips, names)
        wait_for("three rows", lambda: len(rows()) == 3)
        click(button("Convert Now !"))

        def second_converting():
            cells = [r[5] for r in rows()]
            if cells[1] in ("Done", "Fail", "Abort"):
                fail("the second row ended %r before the kill" % cells[1])
            return cells[0] == "Done" and cells[1].endswith("%") and cells[1] != "0%"
        wait_for("the second row converting", second_converting, timeout=60)
        time.sleep(0.3)  # the journal is written once per turn of the event loop
        if not glob.glob(os.path.join(out_dir, ".second.mp4.*.part")):
            fail("no temporary output while the second row converts: %r" % os.listdir(out_dir))
        first_output = os.path.join(out_dir, "first.mp4")
        first_digest = digest(first_output)
        session.app.kill()
        session.app.wait()
        if not os.path.exists(journal):
            fail("no list was kept at " + journal)

        session.start()
        wait_for("the three rows back", lambda: len(rows()) == 3)
        listed = rows()
        if [r[0] for r in listed] != [os.path.join(clips, n) for n in names]:
            fail("the list came back as %r" % listed)
        if [r[5] for r in listed] != ["Done", "Abort", ""]:
            fail("the Progress cells came back as %r" % [r[5] for r in listed])
        if listed[0][1:4] != ["160x120", "25", "00:00:01"]:
            fail("the first row's cells came back as %r" % listed[0])
        left = [n for n in os.listdir(out_dir) if n.endswith(".part")]
        if left:
            fail("temporary files left in the output folder: %r" % left)
        if os.path.exists(os.path.join(out_dir, "second.mp4")):
            fail("the interrupted row left a file at its final name")
        if digest(first_output) != first_digest or probe(first_output) is None:
            fail("the first output changed or cannot be read")

        # A normal close forgets the list.
        window = wait_for("the main window", lambda: subprocess.run(
            ["xdotool", "search", "--onlyvisible", "--name", "^Trovenix$"],
            capture_output=True, text=True, env=session.env).stdout.split())
        send_delete_window(session.env["DISPLAY"], int(window[0]))
        try:
            code = session.app.wait(timeout=20)
        except subprocess.TimeoutExpired:
            fail("the program did not end after its window was closed")
        if code != 0:
            fail("the program ended with status %d" % code)
        if os.path.exists(journal):
            fail("the list is still kept after a normal close")
        session.start()
        time.sleep(1.0)
        if rows():
            fail("a start after a normal close shows %r" % rows())
        print("desktop crash test passed", flush=True)


if __name__ == "__main__":
    main()
