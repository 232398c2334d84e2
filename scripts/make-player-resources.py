#!/usr/bin/env python3
"""Draws the volume button's speaker glyphs and makes the snapshot's shutter
sound: src/app/icons/spk{full,half,mute}.png and src/app/sounds/Snap.wav.
Only the standard library: the files are committed, this remakes them."""
import math, os, random, struct, wave, zlib

ROOT = os.path.join(os.path.dirname(__file__), "..", "src", "app")
S = 16

def png(path, pixels):
    raw = b"".join(b"\0" + bytes(v for px in row for v in px) for row in pixels)
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", S, S, 8, 6, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))

def speaker(waves, mute):
    ink = (40, 40, 40, 255)
    red = (200, 30, 30, 255)
    px = [[(0, 0, 0, 0)] * S for _ in range(S)]
    for y in range(S):
        for x in range(S):
            if 2 <= x <= 4 and 6 <= y <= 9:  # the box
                px[y][x] = ink
            if 5 <= x <= 8 and abs(y - 7.5) <= (x - 5) + 2.0:  # the cone
                px[y][x] = ink
            for r in (4.5, 7.0)[:waves]:
                d = math.hypot(x - 7.5, y - 7.5)
                if x > 9 and abs(d - r) < 0.6:
                    px[y][x] = ink
            if mute and x >= 10 and (abs((x - 10) - (y - 5)) < 0.8 or abs((x - 10) - (10 - y)) < 0.8) \
                    and 5 <= y <= 10 and x <= 15:
                px[y][x] = red
    return px

os.makedirs(os.path.join(ROOT, "icons"), exist_ok=True)
png(os.path.join(ROOT, "icons", "spkfull.png"), speaker(2, False))
png(os.path.join(ROOT, "icons", "spkhalf.png"), speaker(1, False))
png(os.path.join(ROOT, "icons", "spkmute.png"), speaker(0, True))

# A shutter: two short bursts of decaying noise, 16-bit mono 22050 Hz.
rate = 22050
random.seed(7)
samples = []
for start, length in ((0, 0.04), (0.07, 0.05)):
    while len(samples) < int(start * rate):
        samples.append(0)
    for i in range(int(length * rate)):
        samples.append(int(random.uniform(-1, 1) * 20000 * math.exp(-i / (0.012 * rate))))
os.makedirs(os.path.join(ROOT, "sounds"), exist_ok=True)
with wave.open(os.path.join(ROOT, "sounds", "Snap.wav"), "wb") as w:
    w.setnchannels(1); w.setsampwidth(2); w.setframerate(rate)
    w.writeframes(b"".join(struct.pack("<h", s) for s in samples))
