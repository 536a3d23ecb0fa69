#!/usr/bin/env python3
"""Reads a screenshot of the about box and tells whether its links are
underlined on screen and its plain text is not.

A link's rectangle must hold link-coloured (blue) text with one row, below
the middle of that text, where the blue pixels run unbroken across at least
nine tenths of the text's width: the underline. The plain text's lines, in
its rectangle less the links' (and less its sunken border), must hold no row
where text-coloured (dark) pixels run so far.

Usage: link_underlines.py SCREENSHOT.ppm (link|plain)[:NAME]=LEFT,TOP,RIGHT,BOTTOM...
  Rectangles are in screen pixels, right and bottom exclusive. Prints one
  line per link and per plain text line; exits 1 on any failure.
"""
import sys

UNDERLINE_SHARE = 0.9
BORDER = 3  # the sunken frame of the plain text block
MARGIN = 2  # around a link, where its text may bleed


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields = []
    at = 0
    while len(fields) < 4:  # magic, width, height, maximum
        while data[at:at + 1].isspace():
            at += 1
        if data[at:at + 1] == b"#":
            at = data.index(b"\n", at)
            continue
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    if fields[0] != b"P6" or int(fields[3]) != 255:
        sys.exit(f"{path}: not an 8-bit binary PPM")
    width, height = int(fields[1]), int(fields[2])
    pixels = data[at + 1:]
    return width, height, pixels


def is_link_colour(r, g, b):
    # Pure blue and its blends into a light background.
    return b >= 160 and b - max(r, g) >= 100


def is_text_colour(r, g, b):
    return max(r, g, b) <= 100


def longest_run(xs):
    best = run = 0
    previous = None
    for x in sorted(xs):
        run = run + 1 if previous is not None and x == previous + 1 else 1
        best = max(best, run)
        previous = x
    return best


def rows_of(image, rect, wanted, excluded=()):
    """{y: [x...]} of the wanted pixels in rect, outside the excluded ones."""
    width, _, pixels = image
    left, top, right, bottom = rect
    rows = {}
    for y in range(top, bottom):
        for x in range(left, right):
            if any(l <= x < r and t <= y < b for l, t, r, b in excluded):
                continue
            i = (y * width + x) * 3
            if wanted(pixels[i], pixels[i + 1], pixels[i + 2]):
                rows.setdefault(y, []).append(x)
    return rows


def underline_rows(rows):
    """The rows whose run spans the given pixels' width well enough."""
    xs = [x for row in rows.values() for x in row]
    extent = max(xs) - min(xs) + 1
    return [y for y, row in rows.items() if longest_run(row) >= UNDERLINE_SHARE * extent], extent


def check_link(image, name, rect):
    rows = rows_of(image, rect, is_link_colour)
    if sum(len(r) for r in rows.values()) < 30:
        print(f"FAIL {name}: no link-coloured text in {rect}")
        return False
    lines, extent = underline_rows(rows)
    middle = (min(rows) + max(rows)) / 2
    below = [y for y in lines if y > middle]
    if not below:
        print(f"FAIL {name}: blue text {extent} px wide in rows {min(rows)}..{max(rows)}, no underline beneath it")
        return False
    print(f"ok {name}: blue text {extent} px wide in rows {min(rows)}..{max(rows)}, underlined at row {below[0]}")
    return True


def text_lines(rows):
    """Rows with text, as lists of y; rows a gap of one or two apart (a
    descender's tail below a light row) belong to the same line."""
    lines = []
    for y in sorted(rows):
        if lines and y <= lines[-1][-1] + 3:
            lines[-1].append(y)
        else:
            lines.append([y])
    return lines


def check_plain(image, name, rect, links):
    left, top, right, bottom = rect
    inner = (left + BORDER, top + BORDER, right - BORDER, bottom - BORDER)
    around_links = [(l - MARGIN, t - MARGIN, r + MARGIN, b + MARGIN) for l, t, r, b in links]
    rows = rows_of(image, inner, is_text_colour, around_links)
    lines = text_lines(rows)
    if len(lines) < 3:
        print(f"FAIL {name}: {len(lines)} lines of text found in {rect}")
        return False
    good = True
    for line in lines:
        underlined, extent = underline_rows({y: rows[y] for y in line})
        if underlined:
            print(f"FAIL {name} in rows {line[0]}..{line[-1]}: a run across its {extent} px at row {underlined[0]}")
            good = False
        else:
            print(f"ok {name} in rows {line[0]}..{line[-1]}, {extent} px wide: not underlined")
    return good


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    image = read_ppm(sys.argv[1])
    links, plains = [], []
    for argument in sys.argv[2:]:
        label, _, numbers = argument.partition("=")
        kind, _, name = label.partition(":")
        rect = tuple(int(n) for n in numbers.split(","))
        if kind not in ("link", "plain") or len(rect) != 4:
            sys.exit(f"bad rectangle: {argument}")
        (links if kind == "link" else plains).append((name or kind, rect))
    good = True
    for name, rect in links:
        good &= check_link(image, name, rect)
    for name, rect in plains:
        good &= check_plain(image, name, rect, [rect for _, rect in links])
    return 0 if good else 1


if __name__ == "__main__":
    sys.exit(main())
