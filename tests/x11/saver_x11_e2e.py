#!/usr/bin/env python3
"""The native saver end to end on the test run's private X display, driven
from outside with xdotool, xwininfo and ImageMagick's import.

    saver_x11_e2e.py AREA STATE_DIR LUMENFALL PREVIEW_HOST

AREA is one of: command_lines, scene, input, preview, startup_race,
large_host, about_box. Every wait is bounded and waits for the very
condition that is checked after it; every process started here is stopped
again by its id.
"""
import os
import signal
import subprocess
import sys
import tempfile
import time

AREA, STATE, SAVER, PREVIEW_HOST = sys.argv[1:5]
with open(os.path.join(STATE, "display")) as f:
    DISPLAY = f.read().strip()
ENV = dict(os.environ, DISPLAY=DISPLAY)
STARTED = []
FAILURES = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        FAILURES.append(what)


def tool(*args):
    return subprocess.run(args, env=ENV, capture_output=True, text=True, timeout=20).stdout


def start(*args, env=None, argv0=None, **kwargs):
    process = subprocess.Popen([argv0 or SAVER, *args], executable=SAVER, env=env or ENV, stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE, text=True, **kwargs)
    STARTED.append(process)
    return process


def exit_code(process, seconds):
    """The signed exit code, or None when the process still runs after `seconds`."""
    try:
        code = process.wait(timeout=seconds)
    except subprocess.TimeoutExpired:
        return None
    return code - 256 if code > 127 else code


def wait_for(predicate, seconds=10.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(0.1)
    return None


def windows(name):
    """Visible windows whose title matches the pattern."""
    return [int(w) for w in tool("xdotool", "search", "--onlyvisible", "--name", name).split()]


def full_screen_windows():
    return [w for w in windows("^Screen Saver$")
            if tool("xprop", "-id", str(w), "WM_CLASS").strip().endswith('"WindowsScreenSaverClass"')]


def geometry(window):
    shell = dict(line.split("=", 1) for line in tool("xdotool", "getwindowgeometry", "--shell", str(window)).split())
    return int(shell["X"]), int(shell["Y"]), int(shell["WIDTH"]), int(shell["HEIGHT"])


def children(window):
    """(id, title, width, height) of the window's direct children, from xwininfo."""
    found = []
    for line in tool("xwininfo", "-children", "-id", str(window)).splitlines():
        line = line.strip()
        if not line.startswith("0x"):
            continue
        ident, rest = line.split(" ", 1)
        title = rest.split('"')[1] if '"' in rest else ""
        size = [part for part in rest.split() if "x" in part and "+" in part][0]
        width, height = size.split("+")[0].split("x")
        found.append((int(ident, 16), title, int(width), int(height)))
    return found


def screenshot():
    """Rows of (r, g, b) of the whole screen."""
    ppm = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], env=ENV, capture_output=True, timeout=20).stdout
    parts = ppm.split(maxsplit=4)  # P6 width height maxval data
    width, height, data = int(parts[1]), int(parts[2]), parts[4]
    return [[tuple(data[(y * width + x) * 3:(y * width + x) * 3 + 3]) for x in range(width)] for y in range(height)]


def model_pixels(image):
    """Positions of pixels in the model's colours: the yellow middle (red and
    green high, blue low) or the brown ends (red over green over blue)."""
    found = set()
    for y, row in enumerate(image):
        for x, (r, g, b) in enumerate(row):
            if r < 40 or b * 2 > g:
                continue
            if (r > 100 and g > 100) or (r > g > b):
                found.add((x, y))
    return found


def full_screen_saver():
    # The server drops an ended saver's window a moment after the process
    # has gone; until then a new start would find it running.
    wait_for(lambda: not full_screen_windows(), 5)
    process = start("/s")
    saver = wait_for(full_screen_windows)
    saver = saver[0] if saver else None
    # Input counts from the moment the saver holds the focus.
    focused = wait_for(lambda: tool("xdotool", "getwindowfocus").strip() == str(saver), 5)
    check(saver is not None and focused, "a full-screen saver window appears and takes the focus")
    return process, saver


# ----------------------------------------------------------------------------
def command_lines():
    # Lines that select no mode end with -1 and say why on standard error.
    for line in ["/x", "/1", "?", ":c", "/\t/s", "/a 1234", "/A", "/p", "/p 0", "/p:1234", "/p\t1234",
                 "/p -1234", "/p 4321", "/p 4294967295", "/p 0x1a", "--window-id 12abc", "--window-id 0",
                 "--max-fps 1001", "--max-fps -1", "--fps=yes"]:
        process = start(*line.split(" "))
        code = exit_code(process, 10)
        check(code == -1 and "lumenfall: " in process.stderr.read(), f"{line!r} ends with -1 and a message")
    # Without any X server a handle can name no window; a run cannot start.
    no_display = {k: v for k, v in ENV.items() if k != "DISPLAY"}
    check(exit_code(start("/p", "1234", env=no_display), 10) == -1, "'/p 1234' without a display ends with -1")
    process = start("--root", env=no_display)
    check(exit_code(process, 10) == 1 and "XOpenDisplay" in process.stderr.read(),
          "'--root' without a display ends with 1, naming XOpenDisplay")
    # An X server without OpenGL: said on standard error at once, never a box.
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-extension", "GLX", "-nolisten", "tcp"],
                              pass_fds=(write_end,), stderr=subprocess.DEVNULL)
    STARTED.append(server)
    os.close(write_end)
    with os.fdopen(read_end) as numbers:
        no_glx = dict(ENV, DISPLAY=":" + numbers.readline().strip())
    process = start("--root", env=no_glx)
    check(exit_code(process, 10) == 1 and "glXQueryExtension failed" in process.stderr.read(),
          "without GLX on the server '--root' ends with 1 at once, naming glXQueryExtension")
    for flag, expected in [("--help", "--window-id"), ("--version", "lumenfall 1.")]:
        process = start(flag)
        check(exit_code(process, 10) == 0 and expected in process.stdout.read(), f"{flag} answers on stdout with 0")
    # The program's own name, with a quote and a blank, is no part of the command.
    check(exit_code(start("/x", argv0='/tmp/a" /s'), 10) == -1, "a program name holding '\" /s' changes nothing")


def scene():
    process, saver = full_screen_saver()
    if saver is None:
        return
    check(geometry(saver) == (0, 0, 1024, 768), "it covers the 1024x768 screen")
    check(tool("xprop", "-id", str(saver), "WM_NAME").strip() == 'WM_NAME(STRING) = "Screen Saver"', "titled Screen Saver")
    check("_NET_WM_STATE(ATOM)" not in tool("xprop", "-id", str(saver), "_NET_WM_STATE"),
          "with no window-manager state on its override-redirect window")
    # Where the flyers happen to be is random: look until the model has shown
    # in two cells of a 4 x 4 grid, one screenshot a second.
    seen = set()

    def spread():
        pixels = model_pixels(screenshot())
        seen.update((x * 4 // 1024, y * 4 // 768) for x, y in pixels)
        return pixels if len(pixels) > 50 and len(seen) >= 2 else None

    first = wait_for(lambda: spread() or time.sleep(1), 20)
    check(first is not None, f"the model shows, lit, in more than one place ({len(seen)} cells)")
    time.sleep(1)
    second = model_pixels(screenshot())
    check(first is not None and len(first ^ second) > len(first) // 2, "a second later the flyers have moved")
    check(exit_code(process, 0.1) is None, "the saver still runs")
    process.terminate()
    check(exit_code(process, 5) == 0, "SIGTERM ends it with 0")
    check(wait_for(lambda: not full_screen_windows(), 5), "and its window is gone")
    stderr = process.stderr.read()
    frames = [int(line.split()[0]) for line in stderr.splitlines() if line.endswith("frames rendered")]
    check(frames and frames[0] > 10, "frames were rendered")


def input_rules():
    process, saver = full_screen_saver()
    second = start("/s")
    check(exit_code(second, 5) == 0, "a second start ends with 0 at once")
    check(len(full_screen_windows()) == 1, "and makes no second window")
    tool("xdotool", "click", "1")
    check(exit_code(process, 5) == 0, "a button press ends the saver with 0")

    tool("xdotool", "mousemove", "300", "300")
    process, saver = full_screen_saver()
    time.sleep(0.5)
    tool("xdotool", "mousemove_relative", "--", "3", "-1")
    check(exit_code(process, 1) is None, "a pointer travel of 4 pixels does not end the saver")
    tool("xdotool", "mousemove_relative", "--", "0", "-1")
    check(exit_code(process, 5) == 0, "a travel of 5 ends it with 0")

    process, saver = full_screen_saver()
    tool("xdotool", "key", "alt+x")
    check(exit_code(process, 5) == 0, "an Alt key combination ends it with 0")


class Host:
    """A preview host window of the given size, driven by lines on its stdin."""

    def __init__(self, width, height):
        self.process = subprocess.Popen([PREVIEW_HOST, str(width), str(height)], env=ENV, stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, text=True)
        STARTED.append(self.process)
        self.id = int(self.process.stdout.readline())

    def tell(self, line):
        self.process.stdin.write(line + "\n")
        self.process.stdin.flush()
        return self.process.stdout.readline().strip()

    def child(self, title, width, height):
        """Waits for the host's one child to have this title and size."""
        return wait_for(lambda: [(t, w, h) for _, t, w, h in children(self.id)] == [(title, width, height)], 5)


def preview():
    host = Host(160, 120)
    process = start("/p", str(host.id))
    check(host.child("Preview", 160, 120), "the host gets one child titled Preview of its size")
    tool("xdotool", "key", "a")
    tool("xdotool", "mousemove", "50", "50", "click", "1")
    check(exit_code(process, 1) is None, "key and button input do not end the preview")
    host.tell("resize 300 200")
    check(host.child("Preview", 300, 200), "the drawing follows the host to 300 x 200")
    full, saver = full_screen_saver()  # a preview is no running saver
    tool("xdotool", "key", "a")
    check(exit_code(full, 5) == 0, "a full-screen start beside it runs and ends on a key")
    check(host.tell("destroy") == "destroyed" and exit_code(process, 5) == 0,
          "destroying the host ends the preview with 0")

    # As X11 daemons and their settings tools start a saver.
    host = Host(200, 100)
    process = start("--window-id", hex(host.id))
    check(host.child("Preview", 200, 100), "--window-id in hexadecimal draws inside that window")
    process.send_signal(signal.SIGHUP)
    check(exit_code(process, 5) == 0 and wait_for(lambda: not children(host.id), 5),
          "SIGHUP ends it with 0 and takes its window away")
    process = start("--root", env=dict(ENV, XSCREENSAVER_WINDOW=hex(host.id)))
    check(host.child("Preview", 200, 100), "--root draws inside the window of $XSCREENSAVER_WINDOW")
    check(host.tell("destroy") == "destroyed" and exit_code(process, 5) == 0, "and ends with 0 when it goes")


def startup_race():
    # The host's window destroyed at moments spread over the saver's start-up.
    run = subprocess.run([PREVIEW_HOST, "race", SAVER, "60"], env=ENV, capture_output=True, text=True, timeout=110)
    check(run.returncode == 0, "every start-up whose host vanished ended by itself with 0: " +
          run.stdout.strip().splitlines()[-1])


def large_host():
    # Larger than the driver's largest viewport: drawn clamped, not crashed.
    host = Host(32767, 32767)
    process = start("--window-id", str(host.id), "--max-fps", "5")
    size = wait_for(lambda: [(w, h) for _, t, w, h in children(host.id) if t == "Preview" and w > 1], 20)
    check(size and size[0][0] < 32767 and size[0][1] < 32767, f"the drawing is clamped ({size})")
    process.terminate()
    check(exit_code(process, 60) == 0, "and ends with 0 on SIGTERM")
    host.tell("destroy")


def about_box():
    folder = tempfile.mkdtemp()
    record = os.path.join(folder, "opened")
    handler = os.path.join(folder, "url-handler")
    with open(handler, "w") as f:
        f.write(f'#!/bin/sh\nprintf "%s|%s\\n" "$#" "$1" >> "{record}"\n')
    os.chmod(handler, 0o755)
    env = dict(ENV, LUMENFALL_URL_HANDLER=handler)

    def opened():
        return open(record).read().splitlines() if os.path.exists(record) else []

    process = start("/c", env=env)
    box = wait_for(lambda: windows("^Lumenfall$"))
    check(box is not None and len(box) == 1, "the about box appears")
    if not box:
        return
    x, y, width, height = geometry(box[0])
    # Dialog base units from the client size; the size must be exactly the
    # template's 181 x 194 units at those units, Windows' rounding included.
    bx, by = round(width * 4 / 181), round(height * 8 / 194)
    check((181 * bx + 2) // 4 == width and (194 * by + 4) // 8 == height and 1.4 < by / bx < 3,
          f"its client area is 181 x 194 dialog units ({width} x {height}, units {bx} x {by})")

    def centre(left, top, w, h):
        return str(x + (left * 2 + w) * bx // 8), str(y + (top * 2 + h) * by // 16)

    tool("xdotool", "mousemove", *centre(55, 104, 71, 11), "click", "1")
    wait_for(opened, 3)
    check(opened() == ["1|http://www.example.org/"], "a click on the web link opens its URL, as one argument")
    tool("xdotool", "mousemove", *centre(51, 68, 78, 14), "click", "--repeat", "2", "--delay", "60", "1")
    wait_for(lambda: len(opened()) > 1, 3)
    time.sleep(0.5)
    check(opened()[1:] == ["1|mailto:lumenfall@example.org"], "a double click on the mail link opens it once")
    tool("xdotool", "mousemove", *centre(25, 15, 131, 20), "click", "1")  # the product name line
    time.sleep(0.5)
    check(len(opened()) == 2, "a click on the about text opens nothing")
    tool("xdotool", "key", "Escape")
    check(exit_code(process, 1) is None, "Escape leaves the box open")
    tool("xdotool", "key", "Return")
    check(exit_code(process, 5) == 1, "Enter closes it with 1")

    process = start("/c", env=env)
    box = wait_for(lambda: windows("^Lumenfall$"))
    check(box is not None, "the about box appears again")
    if box:
        x, y, _, _ = geometry(box[0])
        tool("xdotool", "mousemove", *centre(65, 172, 50, 14), "click", "1")
        check(exit_code(process, 5) == 1, "a click on OK closes it with 1")


try:
    {"command_lines": command_lines, "scene": scene, "input": input_rules, "preview": preview,
     "startup_race": startup_race, "large_host": large_host, "about_box": about_box}[AREA]()
finally:
    for p in STARTED:
        if p.poll() is None:
            p.kill()
            p.wait(timeout=10)
print(f"{len(FAILURES)} failed" if FAILURES else "all passed")
sys.exit(1 if FAILURES else 0)
