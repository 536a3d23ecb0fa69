#!/usr/bin/env python3
"""The Wayland host against the same program through Xwayland, under one
headless sway (one 1024x768 output, pixman) in one run: frames per second,
the CPU time of the saver and of the servers that draw it, and the saver's
resident memory, at two fixed populations. Prints a markdown table; asserts
nothing.

    wayland_compare.py LUMENFALL [SECONDS]

LUMENFALL is a native-measure build (`cmake --preset native-measure`), which
holds the population at $LUMENFALL_FLYERS. Each row runs the saver full
screen (default cap of 60 frames a second) for a 5 s warm-up and then
SECONDS (default 20) measured. CPU is user + system time from /proc/PID/stat,
every thread counted; frames per second come from Mesa's heads-up display,
kept invisible and dumped once a second. Every process started here is
stopped by its id.
"""
import os, pwd, sys, tempfile, time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "wayland"))
from sway_session import USER, Sway, stop, wait_for  # noqa: E402

SAVER = os.path.abspath(sys.argv[1])
SECONDS = float(sys.argv[2]) if len(sys.argv) > 2 else 20.0
WARM_UP = 5.0
TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    try:
        with open(f"/proc/{pid}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
    except OSError:
        return None
    return (int(fields[11]) + int(fields[12])) / TICKS


def resident_mib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024


def xwayland_of(display):
    # wlroots starts Xwayland through a second fork, so it is no child of
    # sway's: it is found by the display it serves.
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{pid}/cmdline", "rb") as f:
                command = f.read().split(b"\0")
        except OSError:
            continue
        if os.path.basename(command[0]) == b"Xwayland" and command[1:2] == [display.encode()]:
            return int(pid)
    return None


def measure(sway, scratch, host, flyers, display):
    hud = tempfile.mkdtemp(dir=scratch)
    os.chown(hud, pwd.getpwnam(USER).pw_uid, -1)
    extra = dict(LUMENFALL_FLYERS=str(flyers), GALLIUM_HUD="fps", GALLIUM_HUD_VISIBLE="false",
                 GALLIUM_HUD_PERIOD="1", GALLIUM_HUD_DUMP_DIR=hud)
    if host == "x11":
        extra["DISPLAY"] = display
    program = sway.start(SAVER, "--" + host, "/s", extra=extra)
    pid = program.process.pid
    time.sleep(WARM_UP)
    servers = {"sway": sway.sway.pid}
    if host == "x11":
        servers["Xwayland"] = xwayland_of(display)
    before = {name: cpu_seconds(p) for name, p in [("saver", pid), *servers.items()]}
    dump = os.path.join(hud, "fps")
    frames_before = len(open(dump).readlines()) if os.path.exists(dump) else 0
    began = time.monotonic()
    time.sleep(SECONDS)
    wall = time.monotonic() - began
    after = {name: cpu_seconds(p) for name, p in [("saver", pid), *servers.items()]}
    memory = resident_mib(pid) if after["saver"] is not None else None
    stop(program.process)
    if None in before.values() or None in after.values():
        return f"| {host} | {flyers} | ended early: {''.join(program.lines)[-200:]!r} | | | | |"
    rates = [float(line) for line in open(dump).readlines()[frames_before:]]
    rates = rates[:int(wall)]
    fps = sum(rates) / len(rates) if rates else float("nan")
    used = {name: after[name] - before[name] for name in after}
    xwayland = f"{used['Xwayland'] / wall * 100:.1f}" if "Xwayland" in used else "-"
    name = "Wayland host" if host == "wayland" else "X11 host through Xwayland"
    return (f"| {name} | {flyers} | "
            f"{fps:.1f} | {used['saver'] / wall * 100:.1f} | {used['sway'] / wall * 100:.1f} | "
            f"{xwayland} | {memory:.1f} |")


def main():
    sway = Sway(xwayland=True, size="1024x768")
    scratch = tempfile.mkdtemp(dir=sway.home)
    os.chmod(scratch, 0o777)
    try:
        # Sway tells its own children which X display its Xwayland serves.
        told = os.path.join(scratch, "display")
        sway.message("exec", f'printf %s "$DISPLAY" > {told}')
        display = wait_for(lambda: os.path.exists(told) and open(told).read(), 10)
        rows = [measure(sway, scratch, host, flyers, display)
                for flyers in (10, 200) for host in ("wayland", "x11")]
    finally:
        sway.close()
    print("| Host | Flyers | Frames/s | Saver CPU % | sway CPU % | Xwayland CPU % "
          "| Saver RSS MiB |")
    print("|---|---:|---:|---:|---:|---:|---:|")
    print("\n".join(rows))
    load = open("/proc/loadavg").read().split()[0]
    print(f"\n{WARM_UP:.0f} s warm-up, then {SECONDS:.0f} s measured per row; CPU in % of one "
          f"core; {os.cpu_count()} cores, load average {load} at the end.")


main()
