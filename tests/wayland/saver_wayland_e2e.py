#!/usr/bin/env python3
# The native saver as a Wayland client end to end, each area under a headless
# sway of its own, driven from outside with grim, wtype and swaymsg. The
# focus area waits for the debug build's trace of the keyboard's entering.
#
#     saver_wayland_e2e.py AREA LUMENFALL
import signal, sys

from sway_session import Sway, stop, wait_for
from e2e import check, model_pixels, run, shows_and_moves

AREA, SAVER = sys.argv[1:3]
SESSIONS = []
GREY = bytes([63, 63, 63])  # sway's empty desktop


def session(**options):
    SESSIONS.append(Sway(**options))
    return SESSIONS[-1]


def saver(sway, *arguments):
    return sway.start(SAVER, "--wayland", *arguments)


def ours(sway):
    return [view for view in sway.views() if view[0] == "lumenfall"]


def model(sway, output=None):
    return model_pixels(sway.screenshot(output)[2])


def black(sway, output):
    width, height, pixels = sway.screenshot(output)
    return width > 0 and pixels == bytes(width * height * 3)


def drawing(sway, *arguments):
    # A saver whose scene shows; None when it never does.
    program = saver(sway, *arguments)
    return program if wait_for(lambda: model(sway), 20) else None


def ends_by_signal(program, number, sway):
    program.process.send_signal(number)
    check(program.exit_code(5) == -number and wait_for(lambda: not ours(sway), 5),
          f"{signal.Signals(number).name} ends it, every window gone, by the signal")


def scene():
    sway = session()
    program = saver(sway)
    shows_and_moves(lambda: model(sway))
    check(ours(sway) == [("lumenfall", "HEADLESS-1", program.process.pid)],
          "one full-screen window, the saver's own")
    pixels = sway.screenshot()[2]
    check(GREY not in {pixels[i:i + 3] for i in range(0, len(pixels), 3)},
          "no pixel of the desktop shows beside it")
    ends_by_signal(program, signal.SIGTERM, sway)


def keys():
    sway = session()
    program = drawing(sway)
    check(program, "the saver draws")
    # wtype's keyboard comes first and the key a second later.
    typist = sway.start("wtype", "-s", "1000", "a")
    check(program and program.exit_code(0.5) is None, "a keyboard arriving does not end it")
    check(program and program.exit_code(5) == 0, "a key typed ends it with 0")
    check(typist.exit_code(5) == 0, "wtype typed")


def focus():
    sway = session()
    program = drawing(sway)
    sway.message("workspace", "2")
    check(program and program.exit_code(1) is None,
          "without a keyboard it never had the focus: turning to another workspace keeps it")
    sway.message("workspace", "1")
    # wtype's keyboard stays for four seconds before its key, which then goes
    # to the other workspace: only the focus leaving can end the saver.
    typist = sway.start("wtype", "-s", "4000", "a")
    check(program and wait_for(lambda: program.said("Keyboard entered"), 5),
          "wtype's keyboard gives it the focus")
    sway.message("workspace", "2")
    check(program and program.exit_code(3) == 0, "turning to another workspace ends it with 0")
    stop(typist.process)


def outputs():
    sway = session(outputs=2)
    check(wait_for(lambda: sway.screenshot("HEADLESS-2")[2][:3] == GREY, 5),
          "the second output shows the desktop's grey before the saver starts")
    program = drawing(sway)
    check(program and wait_for(lambda: len(ours(sway)) == 2, 5), "a window on each output")
    check(model(sway, "HEADLESS-1"), "the scene draws on the first output")
    check(wait_for(lambda: black(sway, "HEADLESS-2"), 5), "the second output is black")
    sway.message("create_output")
    check(wait_for(lambda: len(ours(sway)) == 3 and black(sway, "HEADLESS-3"), 5),
          "an output that comes while it runs is covered black too")
    ends_by_signal(program, signal.SIGINT, sway)


def outputs_go():
    # A sway inside another: its outputs are windows of the outer one, and
    # closing such a window takes the output away.
    outer = session(size="1280x480")
    inner = session(inside=outer)
    inner.message("create_output")
    inner.message("create_output")
    check(wait_for(lambda: len(inner.message("-t", "get_outputs") or []) == 3, 5),
          "the inner sway has three outputs, WL-1 to WL-3")
    program = saver(inner, "--output", "WL-2")
    on = lambda *names: wait_for(lambda: sorted(view[1] for view in ours(inner)) == [*names], 10)
    check(on("WL-1", "WL-2", "WL-3") and wait_for(lambda: model(inner, "WL-2"), 20)
          and black(inner, "WL-1"), "the scene draws on WL-2, and WL-1 is black")
    outer.message('[title="wlroots - WL-3"]', "kill")
    check(on("WL-1", "WL-2"), "as WL-3 goes, so does its cover")
    outer.message('[title="wlroots - WL-2"]', "kill")
    check(on("WL-1"), "as WL-2 goes, one window is left, on WL-1")
    check(wait_for(lambda: model(inner, "WL-1"), 10), "and it is the scene, moved there")
    ends_by_signal(program, signal.SIGHUP, inner)


def frame_rate():
    sway = session()
    check(drawing(sway, "--fps"), "the saver draws with --fps")

    def text():
        width, height, d = sway.screenshot()
        corner = [3 * (row * width + column) for row in range(height - 40, height)
                  for column in range(0, 120)]
        return sum(1 for i in corner if min(d[i:i + 3]) > 200) > 20

    check(wait_for(text, 10), "white text stands in the lower left corner")


def failures():
    sway = session()
    program = saver(sway)
    check(wait_for(lambda: ours(sway), 10), "the saver's window appears")
    stop(sway.sway)
    check(program.exit_code(5) == 1, "the compositor going away ends it with 1")
    check(wait_for(lambda: program.said("failed: the compositor closed the connection"), 5),
          "and names what failed")
    sway = session()
    for arguments, extra, code, said in [
            (["--output", "NOPE"], {}, 1, "no such output (it has HEADLESS-1)"),
            ([], {"WAYLAND_DISPLAY": "wayland-none"}, 1, "wl_display_connect failed"),
            (["--root"], {}, -1, "--wayland cannot draw in an X window")]:
        program = sway.start(SAVER, "--wayland", *arguments, extra=extra)
        check(program.exit_code(10) == code and wait_for(lambda: program.said(said), 2),
              f"{' '.join(arguments) or extra} ends with {code}: {said}")


run(globals()[AREA], lambda: [sway.close() for sway in reversed(SESSIONS)])
