#!/usr/bin/env python3
# The native saver end to end on the test run's own X server, driven from
# outside with xdotool, xwininfo and ImageMagick's import.
#
#     saver_x11_e2e.py AREA STATE_DIR LUMENFALL
import os, re, signal, subprocess, sys, tempfile  # noqa: E401

from host_window import X11, HostWindow, ask_to_close

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from e2e import check, exit_code, model_pixels, ppm, run, shows_and_moves, stop, wait_for

AREA, STATE, SAVER = sys.argv[1:4]
ENV = dict(os.environ, DISPLAY=open(os.path.join(STATE, "display")).read().strip())
# The X11 host on the test's display, never a Wayland session's compositor.
ENV.pop("WAYLAND_DISPLAY", None)
STARTED, SCRATCH = [], tempfile.mkdtemp()
SCREEN = (0, 0, 1024, 768)  # the display fixture's
NO_RUN_MODE = -1
# The about box's template in dialog units: its size, and (left, top, width, height).
ABOUT_BOX = (181, 194)
WEB_LINK = (55, 104, 71, 11)
MAIL_LINK = (51, 68, 78, 14)
OK_BUTTON = (65, 172, 50, 14)
# What the URL handler records: its number of arguments and the first.
WEB_URL, MAIL_URL = "1|http://www.example.org/", "1|mailto:lumenfall@example.org"


def tool(*args):
    return subprocess.run(args, env=ENV, capture_output=True, text=True, timeout=20).stdout


def saver(*args, env=None):
    process = subprocess.Popen([SAVER, *args], env=env or ENV, text=True, stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE)
    STARTED.append(process)
    return process


def windows(*match):
    return [int(w) for w in tool("xdotool", "search", "--onlyvisible", *match).split()]


def full_screen_windows():
    return windows("--class", "^WindowsScreenSaverClass$")


def our_window():
    return (wait_for(lambda: windows("--name", "^Lumenfall$")) or [0])[0]


def geometry(window):
    shell = tool("xdotool", "getwindowgeometry", "--shell", str(window))
    fields = dict(line.split("=", 1) for line in shell.split())
    return int(fields["X"]), int(fields["Y"]), int(fields["WIDTH"]), int(fields["HEIGHT"])


def children(window):
    # (title, width, height) of the window's direct children.
    listing = tool("xwininfo", "-children", "-id", str(window))
    found = re.findall(r'^\s+0x[0-9a-f]+ (?:"([^"]*)"|\(has no name\)).*\)\s+(\d+)x(\d+)',
                       listing, re.M)
    return [(title, int(width), int(height)) for title, width, height in found]


def screen_pixels():
    command = ["import", "-window", "root", "-depth", "8", "ppm:-"]
    return ppm(subprocess.run(command, env=ENV, capture_output=True, timeout=20).stdout)[2]


def full_screen_saver():
    # The server drops an ended saver's window a moment later.
    wait_for(lambda: not full_screen_windows(), 5)
    process = saver("/s")
    window = (wait_for(full_screen_windows) or [None])[0]
    focused = wait_for(lambda: tool("xdotool", "getwindowfocus").strip() == str(window), 5)
    check(window and focused, "a full-screen saver window appears and takes the focus")
    return process, window


def ends_by_signal(process, number, window_gone):
    process.send_signal(number)
    name = signal.Signals(number).name
    check(exit_code(process, 5) == -number, f"{name} ends it by the signal")
    check(wait_for(window_gone, 5), f"and its window goes after {name}")


class Host(HostWindow):
    def __init__(self, width, height):
        super().__init__(ENV["DISPLAY"], width, height)

    def child(self, width, height):
        return wait_for(lambda: children(self.id) == [("Preview", width, height)], 5)


def command_lines():
    no_display = {k: v for k, v in ENV.items() if k != "DISPLAY"}
    for line, env, code, said in [
            ("/x", None, NO_RUN_MODE, "lumenfall: "),
            ("/p 1234", no_display, NO_RUN_MODE, "1234 names no window"),
            ("--root", no_display, 1, "XOpenDisplay failed"),
            ("--root", dict(ENV, DISPLAY=""), 1, '"" (DISPLAY is not set)'),
            ("--help", None, 0, "--window-id"),
            ("--version", None, 0, "lumenfall 1.")]:
        process = saver(*line.split(" "), env=env)
        got = exit_code(process, 10)
        output = process.stdout.read() + process.stderr.read()
        check(got == code and said in output, f"{line!r} ends with {code}: {said}")


def scene():
    process, window = full_screen_saver()
    check(geometry(window) == SCREEN, "it covers the screen")
    shows_and_moves(lambda: model_pixels(screen_pixels()))
    ends_by_signal(process, signal.SIGTERM, lambda: not full_screen_windows())


def input_rules():
    tool("xdotool", "mousemove", "300", "300")
    process, _ = full_screen_saver()
    # Its own ending takes the second start long enough for the saver to read
    # where the pointer is, which it does just after it takes the focus.
    check(exit_code(saver("/s"), 5) == 0, "a second start ends with 0 at once")
    # Another client's window takes the focus: the saver holds the keyboard, so it goes on.
    Host(20, 20)
    tool("xdotool", "mousemove_relative", "--", "3", "-1")
    check(exit_code(process, 1) is None, "a focus change and a travel of 4 pixels leave it")
    tool("xdotool", "mousemove_relative", "--", "0", "-1")
    check(exit_code(process, 5) == 0, "a travel of 5 ends it with 0")
    process, _ = full_screen_saver()
    tool("xdotool", "click", "1")
    check(exit_code(process, 5) == 0, "a button press ends the saver with 0")


def preview():
    host = Host(160, 120)
    process = saver("/p", str(host.id))
    check(host.child(160, 120), "the host gets one child titled Preview of its size")
    tool("xdotool", "key", "a")
    tool("xdotool", "mousemove", "50", "50", "click", "1")
    check(exit_code(process, 1) is None, "key and button input do not end the preview")
    host.request(X11.XResizeWindow, 300, 200)
    check(host.child(300, 200), "the drawing follows the host to 300 x 200")
    host.request(X11.XDestroyWindow)
    check(exit_code(process, 5) == 0, "destroying the host ends the preview with 0")
    host = Host(200, 100)
    process = saver("--window-id", hex(host.id))
    check(host.child(200, 100), "--window-id in hexadecimal draws inside that window")
    ends_by_signal(process, signal.SIGHUP, lambda: not children(host.id))


def window():
    process = saver("-window", "-geometry", "300x200+40+30")
    window = our_window()
    check(geometry(window) == (40, 30, 300, 200), "-window opens a window of that geometry")
    tool("xdotool", "windowfocus", "--sync", str(window), "key", "Escape")
    check(exit_code(process, 5) == 0, "Escape ends it with 0")
    process = saver("--window")
    ask_to_close(ENV["DISPLAY"], our_window())
    check(exit_code(process, 5) == 0, "the window manager's close ends it with 0")


def about_box():
    record, handler = SCRATCH + "/opened", SCRATCH + "/url-handler"
    with open(handler, "w") as f:
        f.write(f'#!/bin/sh\nprintf "%s|%s\\n" "$#" "$1" >> "{record}"\n')
    os.chmod(handler, 0o755)
    opened = lambda: open(record).read().splitlines() if os.path.exists(record) else []
    process = saver("/c", env=dict(ENV, LUMENFALL_URL_HANDLER=handler))
    x, y, width, height = geometry(our_window())
    # The client area is the template's size, Windows' rounding included.
    unit_x, unit_y = round(width * 4 / ABOUT_BOX[0]), round(height * 8 / ABOUT_BOX[1])
    check((ABOUT_BOX[0] * unit_x + 2) // 4 == width, f"{width} wide")
    check((ABOUT_BOX[1] * unit_y + 4) // 8 == height, f"{height} high")

    def click(control, *more):
        # The middle of a control placed in dialog units.
        left, top, w, h = control
        at_x, at_y = x + (left * 2 + w) * unit_x // 8, y + (top * 2 + h) * unit_y // 16
        tool("xdotool", "mousemove", str(at_x), str(at_y), "click", *more, "1")

    click(WEB_LINK)
    check(wait_for(opened, 3) == [WEB_URL], "the web link opens its URL, as one argument")
    click(MAIL_LINK, "--repeat", "2", "--delay", "60")
    check(wait_for(lambda: opened()[1:] == [MAIL_URL], 3), "a double click opens the mail link")
    click(OK_BUTTON)
    check(exit_code(process, 5) == 1, "a click on OK closes it with 1")
    check(opened() == [WEB_URL, MAIL_URL], "the double click opened it once")


def clean_up():
    for process in reversed(STARTED):
        stop(process)
    subprocess.run(["rm", "-rf", SCRATCH])


run(globals()[AREA], clean_up)
