#!/usr/bin/env python3
# The native saver as a Wayland client end to end, each area under a headless
# sway of its own, driven from outside with grim, wtype and swaymsg.
#
#     saver_wayland_e2e.py AREA LUMENFALL
import signal, sys

from sway_session import Sway, stop, wait_for
from e2e import check, model_pixels, run, shows_and_moves

AREA, SAVER = sys.argv[1:3]
SESSIONS = []
GREY = bytes([63, 63, 63])  # sway's empty desktop
APP_ID = "lumenfall"
NO_RUN_MODE = -1


def session(**options):
    SESSIONS.append(Sway(**options))
    return SESSIONS[-1]


def saver(sway, *arguments):
    return sway.start(SAVER, "--wayland", *arguments)


def ours(sway):
    return [view for view in sway.views() if view[0] == APP_ID]


def model(sway, output=None):
    return model_pixels(sway.screenshot(output)[2])


def black(sway, output):
    width, height, pixels = sway.screenshot(output)
    return width > 0 and pixels == bytes(width * height * 3)


def ends_by_signal(program, number, sway):
    program.process.send_signal(number)
    check(program.exit_code(5) == -number and wait_for(lambda: not ours(sway), 5),
          f"{signal.Signals(number).name} ends it, every window gone, by the signal")


def scene():
    sway = session()
    program = saver(sway)
    shows_and_moves(lambda: model(sway))
    check(ours(sway) == [(APP_ID, "HEADLESS-1", program.process.pid)], "one window, its own")
    pixels = sway.screenshot()[2]
    check(GREY not in {pixels[i:i + 3] for i in range(0, len(pixels), 3)}, "no desktop beside it")
    ends_by_signal(program, signal.SIGTERM, sway)


def keys():
    sway = session()
    program = saver(sway)
    check(wait_for(lambda: model(sway), 20), "the saver draws")
    # wtype's keyboard comes first and the key a second later, once the
    # saver holds that keyboard's focus.
    sway.start("wtype", "-s", "1000", "a")
    check(program.exit_code(5) == 0, "a key typed ends it with 0")


def outputs():
    # A sway inside another: its outputs are windows of the outer one, and
    # closing such a window takes the output away.
    outer = session(size="1280x480")
    inner = session(inside=outer)
    inner.message("create_output")
    inner.message("create_output")
    check(wait_for(lambda: len(inner.message("-t", "get_outputs") or []) == 3, 5), "WL-1 to WL-3")
    check(wait_for(lambda: inner.screenshot("WL-1")[2][:3] == GREY, 5), "WL-1 shows the desktop")
    program = saver(inner, "--output", "WL-2")
    on = lambda *names: wait_for(lambda: sorted(view[1] for view in ours(inner)) == [*names], 10)
    check(on("WL-1", "WL-2", "WL-3"), "a window on each output")
    check(wait_for(lambda: model(inner, "WL-2"), 20), "the scene draws on WL-2")
    check(black(inner, "WL-1"), "and WL-1 is black")
    outer.message('[title="wlroots - WL-3"]', "kill")
    check(on("WL-1", "WL-2"), "as WL-3 goes, so does its cover")
    outer.message('[title="wlroots - WL-2"]', "kill")
    check(on("WL-1"), "as WL-2 goes, one window is left, on WL-1")
    check(wait_for(lambda: model(inner, "WL-1"), 10), "and it is the scene, moved there")
    inner.message("create_output")
    check(on("WL-1", "WL-4"), "an output that comes while it runs is covered")
    check(wait_for(lambda: black(inner, "WL-4"), 5), "black too")
    ends_by_signal(program, signal.SIGINT, inner)


def failures():
    sway = session()
    program = saver(sway)
    check(wait_for(lambda: ours(sway), 10), "the saver's window appears")
    stop(sway.sway)
    check(program.exit_code(5) == 1, "the compositor going away ends it with 1")
    sway = session()
    for arguments, extra, code, said in [
            (["--output", "NOPE"], {}, 1, "no such output (it has HEADLESS-1)"),
            ([], {"WAYLAND_DISPLAY": "wayland-none"}, 1, "wl_display_connect failed"),
            (["--root"], {}, NO_RUN_MODE, "--wayland cannot draw in an X window")]:
        program = sway.start(SAVER, "--wayland", *arguments, extra=extra)
        check(program.exit_code(10) == code and wait_for(lambda: program.said(said), 2),
              f"{' '.join(arguments) or extra} ends with {code}: {said}")


run(globals()[AREA], lambda: [sway.close() for sway in reversed(SESSIONS)])
