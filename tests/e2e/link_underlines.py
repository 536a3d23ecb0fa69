#!/usr/bin/env python3
# Reads a screenshot of the about box (an 8-bit binary PPM). Each LINK must
# hold blue text with a row below its middle where blue runs unbroken across
# nine tenths of the text's width: the underline. The PLAIN text, inside its
# sunken frame and away from the links, must hold three lines or more of dark
# text, none with such a row, and no blue.
# Usage: link_underlines.py SHOT PLAIN LINK... (each left,top,right,bottom in
# screen pixels, right and bottom exclusive); exits 1 on any failure.
import sys

data = open(sys.argv[1], "rb").read()
width, height = map(int, data.split(maxsplit=3)[1:3])
pixels = data[-width * height * 3:]  # the raster ends the file
plain, *links = [tuple(map(int, a.split(","))) for a in sys.argv[2:]]
blue = lambda r, g, b: b >= 160 and b - max(r, g) >= 100
dark = lambda r, g, b: max(r, g, b) <= 100


def rows(rect, wanted, skip=()):
    found = {}
    for y in range(rect[1], rect[3]):
        for x in range(rect[0], rect[2]):
            i = (y * width + x) * 3
            if wanted(*pixels[i:i + 3]) and not any(l <= x < r and t <= y < b for l, t, r, b in skip):
                found.setdefault(y, []).append(x)
    return found


def underlined(found, low=True):
    xs = [x for row in found.values() for x in row]
    extent, lines = max(xs) - min(xs) + 1, []
    for y, row in found.items():
        run = best = 1
        for a, b in zip(row, row[1:]):
            run = run + 1 if b == a + 1 else 1
            best = max(best, run)
        if best >= 0.9 * extent and (y > (min(found) + max(found)) / 2 or not low):
            lines.append(y)
    return lines


failures = []
for link in links:
    found = rows(link, blue)
    if sum(map(len, found.values())) < 30 or not underlined(found):
        failures.append(f"link {link}: no blue underlined text")
inner = (plain[0] + 3, plain[1] + 3, plain[2] - 3, plain[3] - 3)
around = [(l - 2, t - 2, r + 2, b + 2) for l, t, r, b in links]
text, lines = rows(inner, dark, around), []
for y in sorted(text):
    lines[-1:] = [lines[-1] + [y]] if lines and y <= lines[-1][-1] + 3 else lines[-1:] + [[y]]
if len(lines) < 3 or rows(inner, blue, around) or any(underlined({y: text[y] for y in line}, False) for line in lines):
    failures.append(f"about text {plain}: {len(lines)} dark lines, blue or underlined")
print("\n".join(failures) or "ok")
sys.exit(1 if failures else 0)
