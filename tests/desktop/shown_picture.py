#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Checks what a window showed: a PPM of the window (or of the whole screen,
with the window's place given) must hold the 1920 x 1080 picture of the main
menu scaled to fit, centred, black bars round it, with the logo from end to
end and the menu's lines down to Exit inside it.

    shown_picture.py SHOT.ppm SCALE WIDTH HEIGHT PICTURE_WIDTH PICTURE_HEIGHT

SHOT was scaled by SCALE (ImageMagick -scale) from the window's WIDTH x
HEIGHT pixels; the picture (the back buffer of the mode the game chose) is
PICTURE_WIDTH x PICTURE_HEIGHT. Prints what is wrong and exits 1, or exits 0."""
import sys

# Parts of the menu in the game's 1920-wide layout (x0, y0, x1, y1), that must
# hold ink: both ends of the logo, the first menu line and the Exit line at
# the foot of the list (the lowest line that stays put).
INKED = {"the logo's left end": (430, 120, 520, 280), "the logo's right end": (1400, 120, 1490, 280),
         "the Play line": (740, 455, 1180, 495), "the Exit line": (720, 815, 1200, 860)}


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields, pos = [], 0
    while len(fields) < 4:  # magic, width, height, maximum
        while data[pos:pos + 1].isspace():
            pos += 1
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    w, h = int(fields[1]), int(fields[2])
    if fields[0] != b"P6" or fields[3] != b"255":
        sys.exit(f"{path}: not an 8-bit PPM")
    return w, h, data[pos + 1:]


def main():
    path, scale = sys.argv[1], float(sys.argv[2])
    ww, wh, bw, bh = (int(a) for a in sys.argv[3:7])
    left, top = 0, 0
    w, h, rgb = read_ppm(path)
    # The layout on the picture: scaled to its width, centred in its height.
    r = bw / 1920
    if bw == 1920:
        offset = 60 if bh == 1200 else 0
    else:
        offset = int((1920 / bw * bh - 1080) * 0.5 + 0.5)

    def bright(x, y):  # brightest channel at shot pixel (x, y)
        i = (y * w + x) * 3
        return max(rgb[i:i + 3])

    # Where the picture must lie in the window: as big as fits, centred.
    if ww * bh <= wh * bw:
        pw, ph = ww, round(bh * ww / bw)
    else:
        pw, ph = round(bw * wh / bh), wh
    px, py = left + (ww - pw) // 2, top + (wh - ph) // 2
    faults = []
    if w < (left + ww) * scale - 1 or h < (top + wh) * scale - 1:
        faults.append(f"the shot is {w}x{h}, too small for the window")
        w, h = 0, 0  # nothing more to read
    # Bars: black all through, a shot pixel clear of the picture's edge.
    margin = int(2 / scale) + 1  # two shot pixels: one may mix picture and bar
    bars = []
    if pw < ww - 2:
        bars += [(left, top, px - margin, top + wh), (px + pw + margin, top, left + ww, top + wh)]
    if ph < wh - 2:
        bars += [(left, top, left + ww, py - margin), (left, py + ph + margin, left + ww, top + wh)]
    for x0, y0, x1, y1 in bars:
        lit = [(x, y) for y in range(int(y0 * scale), min(int(y1 * scale), h))
               for x in range(int(x0 * scale), min(int(x1 * scale), w)) if bright(x, y) > 24]
        if lit:
            faults.append(f"the bar {x0},{y0}-{x1},{y1} is not black (e.g. at {lit[0]} of the shot)")
    # The menu's parts, each where the picture puts it.
    for name, (vx0, vy0, vx1, vy1) in INKED.items():
        k = pw / bw  # window pixels per picture pixel
        x0, x1 = int((px + vx0 * r * k) * scale), int((px + vx1 * r * k) * scale) + 1
        y0 = int((py + (vy0 + offset) * r * k) * scale)
        y1 = int((py + (vy1 + offset) * r * k) * scale) + 1
        ink = sum(bright(x, y) > 50 for y in range(y0, min(y1, h)) for x in range(x0, min(x1, w)))
        if ink < 3:
            faults.append(f"{name} is missing ({x0},{y0}-{x1},{y1} of the shot)")
    if faults:
        print(f"{path}: window {ww}x{wh}, picture expected at {px},{py} {pw}x{ph}:")
        print("\n".join("  " + f for f in faults))
        sys.exit(1)


if __name__ == "__main__":
    main()
