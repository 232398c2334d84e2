#!/usr/bin/env python3
"""Plays a clip in the preview panel of the built trovenix under Xvfb as a user
would: adds a clip through the real open-file dialog, selects its row, presses
Play and photographs the panel (it must show the clip's picture: neither the
still picture nor black), then presses Stop and checks that the still picture
is back.

Usage: desktop_player_test.py PATH-TO-TROVENIX
"""
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop_session import DesktopSession, fail, program_argument, wait_for  # noqa: E402


def panel_shot(session, box, name):
    """The panel's pixels as (r, g, b) tuples, from a screenshot of the screen."""
    path = os.path.join(session.home, name + ".ppm")
    subprocess.run(["import", "-window", "root", "-crop",
                    "%dx%d+%d+%d" % (box.width, box.height, box.x, box.y), "+repage",
                    "-depth", "8", path], env=session.env, check=True)
    with open(path, "rb") as f:
        data = f.read()
    # A binary PPM: "P6\n<w> <h>\n255\n" and the pixels.
    fields = data.split(maxsplit=4)
    width, height = int(fields[1]), int(fields[2])
    pixels = fields[4]
    return [tuple(pixels[i:i + 3]) for i in range(0, width * height * 3, 3)]


def difference(a, b):
    return sum(abs(p - q) for x, y in zip(a, b) for p, q in zip(x, y)) / (3.0 * len(a))


def colourful_share(pixels):
    """Share of pixels that are clearly coloured (the test pattern's bars)."""
    return sum(1 for r, g, b in pixels if max(r, g, b) - min(r, g, b) > 60) / len(pixels)


def main():
    program = program_argument(__doc__, ["Xvfb", "xdotool", "dbus-daemon", "ffmpeg", "import"])
    with DesktopSession(program, "trovenix-player-") as session:
        clips = os.path.join(session.home, "clips")
        os.makedirs(clips)
        # Long enough to be photographed while it plays.
        subprocess.run(["ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i",
                        "smptebars=size=320x240:rate=25", "-f", "lavfi", "-i",
                        "sine=frequency=440", "-t", "20", "-c:v", "mpeg4", "-q:v", "3",
                        "-c:a", "pcm_s16le", os.path.join(clips, "bars.avi")], check=True)
        session.start(extra_env={"SDL_AUDIODRIVER": "disk",
                                 "SDL_DISKAUDIOFILE": os.path.join(session.home, "sound.raw")})
        session.add_through_dialog(clips, ["bars.avi"])
        wait_for("the clip's row", lambda: len(session.rows()) == 1)
        still = session.wait_find("Preview Picture")
        box = still.queryComponent().getExtents(session.pyatspi.DESKTOP_COORDS)
        before = panel_shot(session, box, "before")

        session.click_cell(0, 0)
        session.click(session.wait_find("Play"))
        def playing():
            shot = panel_shot(session, box, "playing")
            return shot if difference(shot, before) > 20 and colourful_share(shot) > 0.3 else None
        shot = wait_for("the clip's picture in the panel", playing, timeout=30)
        print("playing: %.0f%% coloured, %.1f from the still picture"
              % (100 * colourful_share(shot), difference(shot, before)), flush=True)

        session.click(session.wait_find("Stop"))
        wait_for("the still picture back",
                 lambda: difference(panel_shot(session, box, "after"), before) < 3, timeout=20)
        if session.app.poll() is not None:
            fail("the program ended while playing")
        print("desktop player test passed", flush=True)


if __name__ == "__main__":
    main()
