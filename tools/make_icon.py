#!/usr/bin/env python3
"""Draws the program's icon: one flyer, a curved yellow body with darker
tapered ends, on a transparent background, as a 32x32 16-colour .ico.

The picture is computed, not painted by hand, so that it can be redrawn or
tweaked here and the .ico regenerated:
    tools/make_icon.py src/resources/lumenfall.ico
"""
import math
import struct
import sys

SIZE = 32

# 16-entry palette (blue, green, red, reserved, as a DIB stores it).
PALETTE = [
    (0, 0, 0),        # 0 background (masked out)
    (20, 20, 20),     # 1 outline
    (70, 45, 30),     # 2 dark brown: the ends
    (110, 75, 50),    # 3 brown
    (120, 120, 0),    # 4 olive: body shadow
    (190, 190, 0),    # 5 dark yellow
    (255, 255, 0),    # 6 yellow
    (255, 255, 160),  # 7 highlight
] + [(0, 0, 0)] * 8


def centre_line(t):
    """Body centre at parameter t in [-1, 1]: sags in the middle and rises to
    the ends, the left end a little higher, like the model seen from its side."""
    x = 16 + 13.5 * t
    y = 20 - 9.0 * t * t + 1.2 * t
    return x, y


def half_width(t):
    """Thickest in the middle, tapering to thin ends."""
    return 0.6 + 4.2 * (1 - t * t) ** 0.8


def colour_at(px, py):
    """Palette index of the pixel centre (px, py), or None outside the body."""
    best = None
    for i in range(401):
        t = -1 + i / 200
        cx, cy = centre_line(t)
        d = math.hypot(px - cx, py - cy)
        w = half_width(t)
        if d <= w and (best is None or d / w < best[1]):
            # Signed side of the centre line: negative above (lit), positive below.
            side = (py - cy) / w
            best = (t, d / w, side)
    if best is None:
        return None
    t, r, side = best
    if r > 0.82:
        return 1
    if abs(t) > 0.78:
        return 2 if abs(t) > 0.9 else 3
    if side < -0.35:
        return 7 if abs(t) < 0.45 else 6
    if side > 0.35:
        return 4
    return 6 if side < 0.05 else 5


def build():
    pixels = [[colour_at(x + 0.5, y + 0.5) for x in range(SIZE)] for y in range(SIZE)]
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0,
                         SIZE * SIZE // 2 + SIZE * SIZE // 8, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    xor_rows = []
    and_rows = []
    for row in reversed(pixels):  # DIBs are stored bottom-up
        nibbles = [0 if p is None else p for p in row]
        xor_rows.append(bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, SIZE, 2)))
        mask = 0
        for p in row:
            mask = (mask << 1) | (1 if p is None else 0)
        and_rows.append(mask.to_bytes(SIZE // 8, "big"))
    image = header + palette + b"".join(xor_rows) + b"".join(and_rows)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_icon.py OUTPUT.ico")
    with open(sys.argv[1], "wb") as out:
        out.write(build())


if __name__ == "__main__":
    main()
