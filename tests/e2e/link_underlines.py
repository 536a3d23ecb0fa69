#!/usr/bin/env python3
# Reads a screenshot of the about box (an 8-bit binary PPM). Each LINK must
# hold blue text with a row below its middle where blue runs unbroken across
# nine tenths of the text's width: the underline. The PLAIN text, inside its
# sunken frame and away from the links, must show three lines or more of
# dark text, none with such a row, and no blue. Prints "ok" or what failed.
# Usage: link_underlines.py SHOT PLAIN LINK... (each left,top,right,bottom in
# screen pixels, right and bottom exclusive)
import re
import sys

data = open(sys.argv[1], "rb").read()
width, height = map(int, data.split(maxsplit=3)[1:3])
pixels = data[-width * height * 3:]  # the raster ends the file
plain, *links = [tuple(map(int, a.split(","))) for a in sys.argv[2:]]


def near(x, y, rects):
    return any(l - 2 <= x < r + 2 and t - 2 <= y < b + 2 for l, t, r, b in rects)


def kind(x, y):
    r, g, b = pixels[(y * width + x) * 3:(y * width + x) * 3 + 3]
    return "b" if b >= 160 and b - max(r, g) >= 100 else "d" if max(r, g, b) <= 100 else "."


# (y, one character per pixel: b blue, d dark, . other or near a rectangle of
# skip) for each row of rect.
def rows(rect, skip=()):
    columns = range(rect[0], rect[2])
    return [(y, "".join("." if near(x, y, skip) else kind(x, y) for x in columns))
            for y in range(rect[1], rect[3])]


def underlined(text, c, low):
    text = [(y, s) for y, s in text if c in s]
    extent = max(s.rindex(c) for _, s in text) - min(s.index(c) for _, s in text) + 1
    middle = (text[0][0] + text[-1][0]) / 2 if low else -1
    return any(y > middle and max(map(len, re.findall(c + "+", s))) >= 0.9 * extent
               for y, s in text)


failures = [f"link {link}: no underlined blue text" for link in links
            if sum(s.count("b") for _, s in rows(link)) < 30
            or not underlined(rows(link), "b", True)]
inner = rows((plain[0] + 3, plain[1] + 3, plain[2] - 3, plain[3] - 3), links)
lines = []
for y, s in inner:  # rows a gap of up to two apart (a descender's tail) make one line
    if "d" not in s:
        continue
    if lines and y <= lines[-1][-1][0] + 3:
        lines[-1].append((y, s))
    else:
        lines.append([(y, s)])
if (len(lines) < 3 or any("b" in s for _, s in inner)
        or any(underlined(line, "d", False) for line in lines)):
    failures.append(f"about text {plain}: {len(lines)} lines of dark text, blue or underlined")
print("\n".join(failures) or "ok")
