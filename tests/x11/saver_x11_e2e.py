#!/usr/bin/env python3
# The native saver end to end on X servers of the test run's own, driven from
# outside with xdotool, xwininfo and ImageMagick's import.
#
#     saver_x11_e2e.py AREA STATE_DIR LUMENFALL BUILD_DIR
#
# Every wait polls, with a deadline, for the condition checked after it; every
# process started here is stopped again by its id.
import os, signal, subprocess, sys, tempfile, time

from host_window import X11, HostWindow, ask_to_close

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from polling import exit_code, program_of, wait_for  # noqa: E402

AREA, STATE, SAVER, BUILD = sys.argv[1:5]
ENV = dict(os.environ, DISPLAY=open(os.path.join(STATE, "display")).read().strip())
# The X11 host on the test's display, never a Wayland session's compositor.
ENV.pop("WAYLAND_DISPLAY", None)
STARTED, FAILURES, SCRATCH = [], [], tempfile.mkdtemp()


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    condition or FAILURES.append(what)


def tool(*args, env=None):
    return subprocess.run(args, env=env or ENV, capture_output=True, text=True, timeout=20).stdout


def start(*args, env=None, program=None, **kw):
    p = subprocess.Popen(list(args) if program else [SAVER, *args], env=env or ENV, text=True,
                         stdout=subprocess.PIPE, stderr=subprocess.PIPE, **kw)
    STARTED.append(p)
    return p


def private_server(*options):
    # A display of our own: {DISPLAY} environment for it.
    read_end, write_end = os.pipe()
    STARTED.append(subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp", "-screen", "0",
                                     "1024x768x24", *options], pass_fds=(write_end,), stderr=subprocess.DEVNULL))
    os.close(write_end)
    with os.fdopen(read_end) as number:
        return dict(ENV, DISPLAY=":" + number.readline().strip())


def full_screen_windows():
    return [int(w) for w in tool("xdotool", "search", "--onlyvisible", "--class", "^WindowsScreenSaverClass$").split()]


def geometry(window):
    shell = dict(line.split("=", 1) for line in tool("xdotool", "getwindowgeometry", "--shell", str(window)).split())
    return int(shell["X"]), int(shell["Y"]), int(shell["WIDTH"]), int(shell["HEIGHT"])


def children(window):
    # (title, width, height) of the window's direct children.
    rows = [line for line in tool("xwininfo", "-children", "-id", str(window)).splitlines() if line.strip().startswith("0x")]
    return [((r.split('"') + ["", ""])[1], *map(int, r.rsplit(")", 1)[-1].split()[0].split("+")[0].split("x"))) for r in rows]


def screenshot(env=None):
    # (width, pixel bytes r g b ...) of the whole screen.
    ppm = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], env=env or ENV, capture_output=True,
                         timeout=20).stdout.split(maxsplit=4)
    return int(ppm[1]), ppm[4]


def model_pixels():
    # Where the model's colours show, the yellow middle or the brown ends; None while hardly any do.
    width, d = screenshot()
    found = {(i // 3 % width, i // 3 // width) for i in range(0, len(d), 3) if d[i] >= 40 and d[i + 2] * 2 <= d[i + 1]
            and (d[i] > 100 < d[i + 1] or d[i] > d[i + 1] > d[i + 2])}
    return found if len(found) > 50 else None


def full_screen_saver(*extra):
    wait_for(lambda: not full_screen_windows(), 5)  # the server drops an ended saver's window a moment later
    process = start("/s", *extra)
    saver = (wait_for(full_screen_windows) or [None])[0]
    focused = wait_for(lambda: tool("xdotool", "getwindowfocus").strip() == str(saver), 5)
    check(saver and focused, "a full-screen saver window appears and takes the focus")
    return process, saver


class Host(HostWindow):
    def __init__(self, width, height):
        super().__init__(ENV["DISPLAY"], width, height)

    def child(self, width, height):
        return wait_for(lambda: children(self.id) == [("Preview", width, height)], 5)


def command_lines():
    no_display = {k: v for k, v in ENV.items() if k != "DISPLAY"}
    no_glx = private_server("-extension", "GLX")
    for line, env, code, said in [("/x", None, -1, "lumenfall: "), ("/p 1234", no_display, -1, ""),
                                  ("--root", no_display, 1, "XOpenDisplay"),
                                  ("--root", no_glx, 1, "glXQueryExtension failed"), ("--help", None, 0, "--window-id"),
                                  ("--version", None, 0, "lumenfall 1.")]:
        process = start(*line.split(" "), env=env)
        got = exit_code(process, 10)
        check(got == code and said in process.stdout.read() + process.stderr.read(), f"{line!r} ends with {code}: {said}")
    # The program's own name, with a quote and a blank, is no part of the command.
    check(exit_code(start('/tmp/a" /s', "/x", program=True, executable=SAVER), 10) == -1, "argv[0] is not parsed")


def scene():
    process, saver = full_screen_saver()
    check(geometry(saver) == (0, 0, 1024, 768), "it covers the 1024x768 screen")
    check("_NET_WM_STATE(ATOM)" not in tool("xprop", "-id", str(saver), "_NET_WM_STATE") and
          '"Screen Saver"' in tool("xprop", "-id", str(saver), "WM_NAME"),
          "titled Screen Saver, with no window-manager state on its override-redirect window")
    first = wait_for(model_pixels, 20)
    check(first, "the model shows, lit")
    check(first and wait_for(lambda: len(first ^ (model_pixels() or set())) > len(first) // 2, 5), "the flyers move")
    process.terminate()
    check(exit_code(process, 5) == -signal.SIGTERM and wait_for(lambda: not full_screen_windows(), 5),
          "SIGTERM ends it in order, window and all, and it dies by the signal")


def input_rules():
    process, _ = full_screen_saver()
    check(exit_code(start("/s"), 5) == 0 and len(full_screen_windows()) == 1, "a second start ends with 0 at once")
    Host(20, 20)  # another client's window takes the focus: the saver holds the keyboard, so it goes on
    check(exit_code(process, 1) is None, "a focus change does not end the saver")
    tool("xdotool", "click", "1")
    check(exit_code(process, 5) == 0, "a button press ends the saver with 0")
    tool("xdotool", "mousemove", "300", "300")
    process, _ = full_screen_saver()
    time.sleep(0.5)  # the saver reads where the pointer is just after it takes the focus; nothing shows it
    tool("xdotool", "mousemove_relative", "--", "3", "-1")
    check(exit_code(process, 1) is None, "a pointer travel of 4 pixels does not end the saver")
    tool("xdotool", "mousemove_relative", "--", "0", "-1")
    check(exit_code(process, 5) == 0, "a travel of 5 ends it with 0")
    process, _ = full_screen_saver()
    tool("xdotool", "key", "alt+x")
    check(exit_code(process, 5) == 0, "an Alt key combination ends it with 0")


def preview():
    host = Host(160, 120)
    process = start("/p", str(host.id))
    check(host.child(160, 120), "the host gets one child titled Preview of its size")
    tool("xdotool", "key", "a")
    tool("xdotool", "mousemove", "50", "50", "click", "1")
    check(exit_code(process, 1) is None, "key and button input do not end the preview")
    check(host.request(X11.XResizeWindow, 300, 200) and host.child(300, 200), "the drawing follows the host to 300 x 200")
    full, _ = full_screen_saver()  # a preview is no running saver
    tool("xdotool", "key", "a")
    check(exit_code(full, 5) == 0, "a full-screen start beside it runs and ends on a key")
    check(host.request(X11.XDestroyWindow) and exit_code(process, 5) == 0, "destroying the host ends the preview with 0")
    host = Host(200, 100)
    process = start("--window-id", hex(host.id))
    check(host.child(200, 100), "--window-id in hexadecimal draws inside that window")
    process.send_signal(signal.SIGHUP)
    check(exit_code(process, 5) == -signal.SIGHUP and wait_for(lambda: not children(host.id), 5),
          "SIGHUP ends it, window and all, by the signal")
    process = start("--root", env=dict(ENV, XSCREENSAVER_WINDOW=hex(host.id)))
    check(host.child(200, 100), "--root draws inside the window of $XSCREENSAVER_WINDOW")
    check(host.request(X11.XDestroyWindow) and exit_code(process, 5) == 0, "and ends with 0 when it goes")


def startup_race():
    # The host destroyed at moments spread over the saver's start-up.
    codes = []
    for run in range(60):
        host = Host(160, 120)
        process = start("--window-id", str(host.id))
        time.sleep(0.4 * run / 59)
        host.request(X11.XDestroyWindow)
        codes.append(exit_code(process, 5))
        X11.XCloseDisplay(host.display)
    check(codes == [0] * len(codes), f"every start-up whose host vanished ended by itself with 0: {codes}")


def large_host():
    host = Host(32767, 32767)  # beyond the driver's largest viewport: drawn clamped, not crashed
    process = start("--window-id", str(host.id), "--max-fps", "5")
    size = wait_for(lambda: [(w, h) for t, w, h in children(host.id) if w > 1], 20)
    check(size and max(size[0]) < 32767, f"the drawing is clamped ({size})")
    process.terminate()
    check(exit_code(process, 60) == -signal.SIGTERM, "and ends in order on SIGTERM")


def window():
    named = lambda: tool("xdotool", "search", "--onlyvisible", "--name", "^Lumenfall$").split()
    process = start("-window", "-geometry", "300x200+40+30")
    ours = wait_for(named)
    check(ours and len(ours) == 1, "-window opens one window titled Lumenfall")
    window = int(ours[0]) if ours else 0
    check(geometry(window) == (40, 30, 300, 200), "of the geometry asked for")
    check("Override Redirect State: no" in tool("xwininfo", "-id", str(window)) and "WM_DELETE_WINDOW" in
          tool("xprop", "-id", str(window), "WM_PROTOCOLS"), "an ordinary window that a window manager may close")
    tool("xdotool", "windowfocus", "--sync", str(window))
    tool("xdotool", "mousemove", "100", "100", "click", "1", "key", "a")
    tool("xdotool", "windowsize", "--sync", str(window), "400", "300")
    check(exit_code(process, 1) is None and geometry(window)[2:] == (400, 300),
          "a click, a key and a new size leave it drawing")
    tool("xdotool", "windowfocus", "--sync", str(window), "key", "Escape")
    check(exit_code(process, 5) == 0, "Escape ends it with 0")
    process = start("--window")
    ours = wait_for(named)
    check(ours and ask_to_close(ENV["DISPLAY"], int(ours[0])) and exit_code(process, 5) == 0,
          "the window manager's close ends it with 0")


def about_box():
    record, handler = SCRATCH + "/opened", SCRATCH + "/url-handler"
    with open(handler, "w") as f:
        f.write(f'#!/bin/sh\nprintf "%s|%s\\n" "$#" "$1" >> "{record}"\n')
    os.chmod(handler, 0o755)
    env = dict(ENV, LUMENFALL_URL_HANDLER=handler)
    opened = lambda: open(record).read().splitlines() if os.path.exists(record) else []
    process = start("/c", env=env)
    box = wait_for(lambda: tool("xdotool", "search", "--onlyvisible", "--name", "^Lumenfall$").split())
    check(box and len(box) == 1, "the about box appears")
    x, y, width, height = geometry(box[0])
    # The client area is the template's 181 x 194 dialog units, Windows' rounding included.
    bx, by = round(width * 4 / 181), round(height * 8 / 194)
    check((181 * bx + 2) // 4 == width and (194 * by + 4) // 8 == height and 1.4 < by / bx < 3, f"{width} x {height}")
    click = lambda left, top, w, h, *more: tool("xdotool", "mousemove", str(x + (left * 2 + w) * bx // 8),
                                                str(y + (top * 2 + h) * by // 16), "click", *more, "1")
    click(55, 104, 71, 11)
    check(wait_for(opened, 3) == ["1|http://www.example.org/"], "a click on the web link opens its URL, as one argument")
    click(51, 68, 78, 14, "--repeat", "2", "--delay", "60")
    wait_for(lambda: len(opened()) > 1, 3)
    click(25, 15, 131, 20)  # the product name line
    check(not wait_for(lambda: len(opened()) > 2, 1) and opened()[1:] == ["1|mailto:lumenfall@example.org"],
          "a double click on the mail link opens it once; the text opens nothing")
    tool("xdotool", "key", "Escape")
    check(exit_code(process, 1) is None, "Escape leaves the box open")
    click(65, 172, 50, 14)
    check(exit_code(process, 5) == 1, "a click on OK closes it with 1")


def xscreensaver():
    # The installed saver under Debian's XScreenSaver daemon, which runs no saver as root: as nobody.
    root, home = SCRATCH + "/root", SCRATCH + "/home"
    os.makedirs(home)
    tool("cmake", "--install", BUILD, "--prefix", "/usr", "--component", "lumenfall", env=dict(ENV, DESTDIR=root))
    saver = root + "/usr/libexec/xscreensaver/lumenfall"
    xml = open(root + "/usr/share/xscreensaver/config/lumenfall.xml").read()
    arguments = xml.split('<command arg="')[1].split('"')[0]
    with open(home + "/.xscreensaver", "w") as f:
        f.write(f"timeout: 1:00:00\nlock: False\nfade: False\nsplash: False\nmode: one\nselected: 0\n"
                f"dpmsEnabled: False\ngrabDesktopImages: False\nprograms: GL: {saver} {arguments} \\n\n")
    subprocess.run(["chmod", "-R", "a+rX", SCRATCH])
    subprocess.run(["chown", "-R", "nobody:nogroup", home])
    env = private_server("-ac", "-br")
    daemon = start("setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", "env", "-i", "HOME=" + home,
                   "DISPLAY=" + env["DISPLAY"], "PATH=/usr/bin:/bin", "xscreensaver", "-no-splash", program=True)
    command = lambda verb: subprocess.run(["xscreensaver-command", verb], env=env, capture_output=True, timeout=10).returncode == 0
    wait_for(lambda: command("-version"), 20)
    ours = lambda: [p for p in tool("pgrep", "-f", saver).split() if program_of(p) == saver]
    check(command("-activate") and wait_for(ours, 30), "the daemon, activated, runs the installed saver")
    lit = lambda: sum(1 for b in screenshot(env)[1] if b) > 300
    check(wait_for(lit, 30), "which draws on the blanked screen")
    check(command("-deactivate") and wait_for(lambda: not ours(), 20), "deactivated, no process of ours is left")
    command("-exit")
    daemon.terminate()
    FAILURES and print("the daemon said:", daemon.communicate(timeout=10)[1][-3000:])


try:
    globals()[AREA]()
finally:
    for p in reversed(STARTED):
        if p.poll() is None:
            p.terminate()
            try:
                p.wait(timeout=10)
            except subprocess.TimeoutExpired:
                p.kill()
    subprocess.run(["rm", "-rf", SCRATCH])
print(f"{len(FAILURES)} failed" if FAILURES else "all passed")
sys.exit(1 if FAILURES else 0)
