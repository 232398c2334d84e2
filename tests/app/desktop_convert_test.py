#!/usr/bin/env python3
"""Converts with the built trovenix under Xvfb as a user would: with an output
folder in the settings file, adds two short clips through the real open-file
dialog (typing their names), presses "Convert Now !", answers "All Conversions
Completed" and checks both outputs with ffprobe; then converts a longer clip,
presses "Stop Convert", answers Yes and checks that the row shows "Abort" and
that the output is complete and playable.

Usage: desktop_convert_test.py PATH-TO-TROVENIX
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop_test import fail, start_session_bus, start_xvfb, wait_for  # noqa: E402

# The clips: a video and a sound stream each, as the iPod format converts.
CLIP_ARGS = "-f lavfi -i testsrc=size={size}:rate=25 -f lavfi -i sine=frequency=440 " \
            "-c:v mpeg4 -q:v 4 -c:a pcm_s16le -t {seconds}"


def make_clip(path, seconds, size="160x120"):
    subprocess.run(["ffmpeg", "-v", "error", "-y"] +
                   CLIP_ARGS.format(seconds=seconds, size=size).split() + [path], check=True)


def probe(path):
    out = subprocess.run(["ffprobe", "-v", "error", "-show_entries",
                          "stream=codec_type,codec_name:format=duration", "-of", "json", path],
                         capture_output=True, text=True)
    if out.returncode != 0:
        return None
    return json.loads(out.stdout)


def main():
    if len(sys.argv) != 2:
        fail(__doc__)
    program = sys.argv[1]
    for tool in ["Xvfb", "xdotool", "dbus-daemon", "ffmpeg", "ffprobe"]:
        if not shutil.which(tool):
            fail(tool + " is missing; scripts/install-deps installs it")

    home = tempfile.mkdtemp(prefix="trovenix-convert-")
    clips = os.path.join(home, "clips")
    out_dir = os.path.join(home, "out")
    os.makedirs(clips)
    os.makedirs(out_dir)
    make_clip(os.path.join(clips, "first.avi"), 1)
    make_clip(os.path.join(clips, "second.avi"), 1)
    # Large enough to take a few seconds to convert.
    make_clip(os.path.join(clips, "long.avi"), 20, "1280x720")

    config = os.path.join(home, "config")
    os.makedirs(os.path.join(config, "Qelvar"))
    with open(os.path.join(config, "Qelvar", "Marlune.conf"), "w", encoding="utf-8") as f:
        f.write("[General]\nOutput%%20Folder=%s\nComboOutputFormat=0\nOverwrite=0\n"
                "DropDownItems=24\nLetterBox=0\nSkin=Elegance\n" % out_dir)

    env = dict(os.environ)
    # Qt's own file dialog, not one of a desktop's theme or portal.
    for name in ["QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS",
                 "QT_QPA_PLATFORMTHEME", "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION",
                 "GTK_USE_PORTAL", "KDE_FULL_SESSION"]:
        env.pop(name, None)
    env.update(HOME=home, XDG_CONFIG_HOME=config, XDG_RUNTIME_DIR=os.path.join(home, "run"),
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
        import pyatspi  # after the bus address is known

        def find_app():
            for candidate in pyatspi.Registry.getDesktop(0):
                if candidate is not None and candidate.name in ("Trovenix", "trovenix"):
                    return candidate
            return None

        accessible = wait_for("the program on the accessibility bus", find_app)

        def find(name, role):
            return pyatspi.findDescendant(
                accessible, lambda a: a is not None and a.name == name and a.getRole() == role)

        def click(target):
            box = target.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            subprocess.run(["xdotool", "mousemove", str(box.x + box.width // 2),
                            str(box.y + box.height // 2), "click", "1"], env=env, check=True)

        def type_text(text):
            subprocess.run(["xdotool", "type", "--delay", "15", text], env=env, check=True)

        def key(name):
            subprocess.run(["xdotool", "key", name], env=env, check=True)

        def button(caption):
            return wait_for("the button " + repr(caption),
                            lambda: find(caption, pyatspi.ROLE_PUSH_BUTTON))

        table = wait_for("the file list", lambda: find("Video File List", pyatspi.ROLE_TREE) or
                         find("Video File List", pyatspi.ROLE_TABLE) or
                         find("Video File List", pyatspi.ROLE_TREE_TABLE))

        def rows():
            t = table.queryTable()
            return [[t.getAccessibleAt(r, c).name for c in range(t.nColumns)]
                    for r in range(t.nRows)]

        def answer(title, caption):
            """Clicks a button of the message box with the title."""
            def box_button():
                for dialog in pyatspi.findAllDescendants(
                        accessible, lambda a: a is not None and a.name == title and
                        a.getRole() in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT)):
                    found = pyatspi.findDescendant(
                        dialog, lambda a: a is not None and a.name == caption and
                        a.getRole() == pyatspi.ROLE_PUSH_BUTTON)
                    if found is not None:
                        return found
                return None
            target = wait_for("the %r box" % title, box_button, timeout=40)
            time.sleep(0.2)
            click(target)

        def add_through_dialog(names):
            click(button("Add Video "))
            # The dialog opens with the file name box focused: the folder
            # first, then the names in quotes.
            wait_for("the open-file dialog",
                     lambda: find("Look in:", pyatspi.ROLE_LABEL) or
                     find("File name:", pyatspi.ROLE_LABEL))
            time.sleep(0.5)
            field = find("File name:", pyatspi.ROLE_LABEL)
            if field is not None:
                for relation in field.getRelationSet():
                    if relation.getRelationType() == pyatspi.RELATION_LABEL_FOR:
                        click(relation.getTarget(0))
            # The box may still hold the names typed last time.
            key("ctrl+a")
            type_text(clips + "/")
            key("Return")
            time.sleep(0.5)
            key("ctrl+a")
            type_text(" ".join('"%s"' % n for n in names))
            key("Return")

        # Two short clips, converted with the iPod format's codecs.
        add_through_dialog(["first.avi", "second.avi"])
        wait_for("two rows", lambda: len(rows()) == 2)
        listed = rows()
        if [r[0] for r in listed] != [os.path.join(clips, n) for n in ["first.avi", "second.avi"]]:
            fail("the list shows %r" % listed)
        if listed[0][1:5] != ["160x120", "25", "00:00:01", "MP4"]:
            fail("the first row's cells are %r" % listed[0])
        click(button("Convert Now !"))
        answer("Information", "OK")
        if [r[5] for r in rows()] != ["Done", "Done"]:
            fail("after the batch the rows show %r" % rows())
        for name in ["first.mp4", "second.mp4"]:
            info = probe(os.path.join(out_dir, name))
            if info is None:
                fail("ffprobe cannot read " + name)
            codecs = sorted((s["codec_type"], s["codec_name"]) for s in info["streams"])
            if codecs != [("audio", "aac"), ("video", "mpeg4")]:
                fail("%s holds %r" % (name, codecs))

        # A longer clip, stopped on the way.
        wait_for("the Clear button enabled",
                 lambda: button("Clear All ").getState().contains(pyatspi.STATE_ENABLED))
        click(button("Clear All "))
        wait_for("an empty list", lambda: len(rows()) == 0)
        add_through_dialog(["long.avi"])
        wait_for("the long clip's row", lambda: len(rows()) == 1)
        click(button("Convert Now !"))
        def progressed():
            cell = rows()[0][5]
            if cell in ("Done", "Fail"):
                fail("the long clip ended %r before it could be stopped" % cell)
            return cell.endswith("%") and cell != "0%"
        wait_for("some progress", progressed, timeout=30)
        click(button("Stop Convert"))
        answer("Confirmation", "Yes")
        wait_for("the row to show Abort", lambda: rows()[0][5] == "Abort", timeout=20)
        info = probe(os.path.join(out_dir, "long.mp4"))
        if info is None:
            fail("ffprobe cannot read the stopped output")
        duration = float(info.get("format", {}).get("duration", 0))
        if not 0 < duration < 20:
            fail("the stopped output lasts %s s" % duration)
        # Playable: every packet decodes without an error.
        check = subprocess.run(["ffmpeg", "-v", "error", "-i", os.path.join(out_dir, "long.mp4"),
                                "-f", "null", "-"], capture_output=True, text=True)
        if check.returncode != 0 or check.stderr.strip():
            fail("the stopped output does not decode cleanly: " + check.stderr)
        print("desktop convert test passed (stopped output %.2f s)" % duration, flush=True)
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
