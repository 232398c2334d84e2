#!/usr/bin/env python3
"""Converts with the built trovenix under Xvfb as a user would: with an output
folder in the settings file, adds two short clips through the real open-file
dialog (typing their names), presses "Convert Now !", answers "All Conversions
Completed" and checks both outputs with ffprobe; then converts a longer clip
to the PS3 format, presses "Stop Convert", answers Yes and checks that the row shows "Abort" and
that the output is complete and playable.

Usage: desktop_convert_test.py PATH-TO-TROVENIX
"""
import json
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop_session import DesktopSession, fail, program_argument, wait_for  # noqa: E402

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
    program = program_argument(__doc__, ["Xvfb", "xdotool", "dbus-daemon", "ffmpeg", "ffprobe"])
    with DesktopSession(program, "trovenix-convert-") as session:
        clips = os.path.join(session.home, "clips")
        out_dir = session.out_dir
        os.makedirs(clips)
        make_clip(os.path.join(clips, "first.avi"), 1)
        make_clip(os.path.join(clips, "second.avi"), 1)
        # Large enough to take a few seconds to convert.
        make_clip(os.path.join(clips, "long.avi"), 20, "1280x720")
        session.start()
        rows, button, click, answer = session.rows, session.button, session.click, session.answer

        # Two short clips, converted with the iPod format's codecs.
        session.add_through_dialog(clips, ["first.avi", "second.avi"])
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
                 lambda: button("Clear All ").getState().contains(session.pyatspi.STATE_ENABLED))
        click(button("Clear All "))
        wait_for("an empty list", lambda: len(rows()) == 0)
        session.add_through_dialog(clips, ["long.avi"])
        wait_for("the long clip's row", lambda: len(rows()) == 1)
        # H.264 of the PS3 format takes seconds where the iPod's MPEG-4 takes
        # a fraction of one: the Stop comes while the row converts.
        pyatspi = session.pyatspi
        formats = session.wait_find("iPod (*.mp4)", (pyatspi.ROLE_COMBO_BOX,))
        click(formats)
        time.sleep(0.5)
        session.type_text("PS3")
        session.key("Return")
        wait_for("the PS3 format chosen",
                 lambda: session.find("PS3 Video (*.mp4)", (pyatspi.ROLE_COMBO_BOX,)), timeout=10)
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


if __name__ == "__main__":
    main()
