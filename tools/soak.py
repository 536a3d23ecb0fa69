#!/usr/bin/env python3
"""Soak: the saver full screen on a private Xvfb for a long run, sampling its
resident memory (VmRSS) and the X server's resource count for its client
(xrestop) at a fixed spacing.

    soak.py SAVER SECONDS SPACING OUT_DIR [RSS_TOLERANCE_KB [STARTUP_S]]

Samples taken in the first STARTUP_S seconds (default 400) are start-up: the
context, the font, the driver's lazily built state, and the population's
climb from 10 to 200 flyers (about 380 s where the machine keeps up), during
which the driver's per-frame memory grows with the number of triangles drawn.
The largest start-up values are the baseline. Any later sample with more X
resources than the baseline, or a resident size more than RSS_TOLERANCE_KB
(default 4096; the driver allocates and frees buffers of about 1 MB now and
then) above it, fails.
Writes OUT_DIR/soak.dat. Every process started here is stopped by its id.
"""
import os
import re
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
TEST_DISPLAY = os.path.join(HERE, "..", "scripts", "test-display")
COUNTED = ("windows", "GCs", "fonts", "pixmaps", "pictures", "glyphsets", "colormaps", "passive grabs",
           "cursors", "unknowns")


def resident_kb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    raise RuntimeError("no VmRSS")


def x_resources(display, pid):
    """(resource count, bytes) of the saver's X client, or None if not found."""
    text = subprocess.run(["xrestop", "-b", "-m", "1"], env=dict(os.environ, DISPLAY=display),
                          capture_output=True, text=True, timeout=30).stdout
    for block in re.split(r"\n(?=\d+ - )", text):
        if re.search(rf"PID:\s*{pid}\s*\)", block):
            fields = dict((k.strip(), v.strip()) for k, v in re.findall(r"^\s*([A-Za-z ]+?)\s*:\s*(\S+)", block, re.M))
            count = sum(int(fields[name]) for name in COUNTED)
            return count, int(fields["total bytes"].lstrip("~"))
    return None


def main():
    saver, seconds, spacing, out = sys.argv[1], float(sys.argv[2]), float(sys.argv[3]), sys.argv[4]
    tolerance_kb = int(sys.argv[5]) if len(sys.argv) > 5 else 4096
    startup_s = float(sys.argv[6]) if len(sys.argv) > 6 else 400.0
    os.makedirs(out, exist_ok=True)
    state = tempfile.mkdtemp()
    subprocess.run([TEST_DISPLAY, "start", state], check=True)
    saver_process = None
    try:
        with open(os.path.join(state, "display")) as f:
            display = f.read().strip()
        log = open(os.path.join(state, "saver.log"), "w")
        saver_process = subprocess.Popen([saver, "--x11", "/s"], env=dict(os.environ, DISPLAY=display), stderr=log)
        start = time.monotonic()
        samples = []
        next_sample = start + spacing
        while True:
            time.sleep(max(0.0, next_sample - time.monotonic()))
            if saver_process.poll() is not None:
                print(f"soak: FAIL: the saver ended early with code {saver_process.returncode}")
                return 1
            elapsed = time.monotonic() - start
            resources = x_resources(display, saver_process.pid)
            if resources is None:
                print("soak: FAIL: the saver's X client is not in xrestop's list")
                return 1
            samples.append((elapsed, resident_kb(saver_process.pid), *resources))
            print("soak: %6.0f s  rss %7d kB  X resources %4d (%d bytes)" % samples[-1], flush=True)
            if elapsed >= seconds:
                break
            next_sample += spacing
    finally:
        if saver_process is not None and saver_process.poll() is None:
            saver_process.kill()
            saver_process.wait()
        subprocess.run([TEST_DISPLAY, "stop", state])

    with open(os.path.join(out, "soak.dat"), "w") as f:
        f.write("# seconds rss_kb x_resources x_bytes\n")
        for sample in samples:
            f.write("%.1f %d %d %d\n" % sample)
    startup = [s for s in samples if s[0] <= startup_s]
    later = [s for s in samples if s[0] > startup_s]
    if not startup or not later:
        print("soak: FAIL: the run is too short to compare with start-up")
        return 1
    base_rss = max(s[1] for s in startup)
    base_resources = max(s[2] for s in startup)
    worst_rss = max(s[1] for s in later)
    worst_resources = max(s[2] for s in later)
    print(f"soak: start-up (first {startup_s:.0f} s): rss <= {base_rss} kB, X resources <= {base_resources}")
    print(f"soak: afterwards ({len(later)} samples to {samples[-1][0]:.0f} s): rss <= {worst_rss} kB "
          f"({worst_rss - base_rss:+d} kB), X resources <= {worst_resources}")
    failed = False
    if worst_resources > base_resources:
        print("soak: FAIL: the X resource count grew beyond start-up")
        failed = True
    if worst_rss > base_rss + tolerance_kb:
        print(f"soak: FAIL: resident memory grew more than {tolerance_kb} kB beyond start-up")
        failed = True
    if not failed:
        print("soak: ok")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
